#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "dnc/port/clock_timer.h"
#include "dnc/port/protocol_driver.h"

namespace zantor {

// Sends FileMask as a plain character stream: blocks of 256 bytes read
// through an 8192-byte buffer, the CR and LF translations, Ctrl-Z handling,
// the character and line delays, and the port's flow control, which it
// waits on for at most TransmitTimeout.
//
// Pacing: after each byte the line delay (after AsciiEOLChar) and the
// character delay. Within one sending pass, pauses that keep the pass's
// total under 250 ms are exact millisecond waits; a pause that would reach
// 250 ms becomes a wait of ceil(ms / 55) ticks, after which a new pass
// begins. Every wait returns to the event loop, so the port keeps writing
// and the window stays live.
class AsciiTransmitter : public ProtocolDriver {
public:
    explicit AsciiTransmitter(TransferHost& host);

    void start() override;
    void outputProgress() override;
    void stop(int code) override;
    // Bytes of the file that have left the port: what was taken from the
    // file less what still waits in the port.
    void refreshProgress() override;

    // The pacing budget of one pass.
    static constexpr int kBusyWaitBudgetMs = 250;

private:
    enum class State { Idle, Sending, WaitingForRoom, Pausing, Draining, Done };

    void pass(bool fresh);
    bool nextBlock();
    void sendRun();
    void sendOne();
    // The bytes that go out for `b`; false when `b` ends the block (Ctrl-Z).
    bool translate(uint8_t b, std::string& out) const;
    void takePause();
    void waitForRoom();
    void drain();
    void checkDrained();
    void timedOut();
    bool send(const std::string& bytes);
    void fail(int code, int status);

    TransferHost& host_;
    ComPort& port_;
    Clock& clock_;
    const TransferSettings& s_;
    std::optional<ReadableFile> file_;
    std::vector<char> readBuffer_;
    size_t readPos_ = 0, readLen_ = 0;
    std::array<uint8_t, 256> block_{};
    size_t blockLen_ = 0, blockPos_ = 0;
    std::deque<int> pauses_;
    int passPausedMs_ = 0;
    bool resumedFromPause_ = false;
    Clock::Duration resumedDue_{0};
    ClockTimer transmitTimer_, pauseTimer_;
    State state_ = State::Idle;
    bool inPass_ = false;
    std::string out_;
    long long consumed_ = 0;  // bytes of the file taken so far
};

}  // namespace zantor
