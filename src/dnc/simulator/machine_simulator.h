#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dnc/tape_code.h"

namespace zantor::sim {

// How the simulated control is built.
struct MachineProfile {
    TapeCode code = TapeCode::Iso;
    // The control's receive buffer in bytes; 0 takes everything at once
    // (no buffer, no XOFF).
    size_t bufferSize = 0;
    // XOFF when the buffer holds this many bytes, XON once it has drained to
    // this many; 0 gives 3/4 and 1/4 of the buffer.
    size_t xoffLevel = 0;
    size_t xonLevel = 0;
    // Blocks the control executes a second, each one taking its block out of
    // the buffer; 0 empties the buffer as it arrives.
    double blocksPerSecond = 0;
    // A punch stops at the PC's XOFF and goes on at its XON.
    bool obeysXoff = true;
};

// A byte from the PC that this control cannot read.
struct LineFault {
    size_t index = 0;  // in received()
    uint8_t byte = 0;
    std::string what;  // "parity", "no EIA code", "8th bit set", "buffer overflow"
    bool operator==(const LineFault&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const LineFault& f) {
        return out << "{" << f.index << ", " << int(f.byte) << ", " << f.what << "}";
    }
};

struct PunchOptions {
    int leaderInches = 0;  // ten 0x00 a inch of blank tape, before and after
    // After this many bytes of the tape (leader included) the punch stops for
    // this long.
    std::vector<std::pair<size_t, std::chrono::milliseconds>> pauses;
};

// A machine control at the far end of a serial line: the DNC station's
// tests and benchmarks, and `zantor-cli simulate` for trying the station
// without a machine. It receives a program into a buffer of a
// set size that it drains at a set block rate, sending XOFF and XON at its
// levels; checks every byte against its tape code and parity; records every
// byte; punches a program out in its tape code (leader, pauses) on command;
// types any string; and reacts to what it receives.
//
// The line itself is a subclass's: FakeLineSimulator on a FakeSerialDevice
// in simulated time, PtySimulator on the master of a pty in real time. All
// public methods may be called from any thread.
class MachineSimulator {
public:
    using Duration = std::chrono::nanoseconds;
    using Action = std::function<void(MachineSimulator&)>;

    explicit MachineSimulator(MachineProfile profile);
    virtual ~MachineSimulator();
    MachineSimulator(const MachineSimulator&) = delete;
    MachineSimulator& operator=(const MachineSimulator&) = delete;

    const MachineProfile& profile() const { return profile_; }

    // Punches `text` (lines ending with CR LF, LF or CR) in the control's tape
    // code: EIA codes with the end-of-block code, ASCII with even parity and
    // 0x8D 0x0A, ISO with CR LF. Output goes after what is already queued.
    void punch(std::string_view text, const PunchOptions& options = {});
    // Sends `bytes` as they are, as an operator typing at the control.
    void type(std::string_view bytes);
    // When what has arrived ends with `trigger`, `action` runs once (on the
    // simulator's own line thread).
    void onReceived(std::string trigger, Action action);
    // When `count` bytes have arrived in all, `action` runs once.
    void onReceivedCount(size_t count, Action action);
    // `action` runs once, `delay` from now, on the simulator's line thread.
    void after(Duration delay, Action action);
    // A burst of line noise: the next `count` bytes from the PC arrive with
    // their top bit flipped, and the check reports each as a fault.
    void garbleNextReceived(size_t count);

    // Every byte that came from the PC, XON and XOFF included.
    std::string received() const;
    size_t receivedCount() const;
    std::vector<LineFault> faults() const;
    int xoffsSent() const;
    int xonsSent() const;
    // The most the buffer held.
    size_t peakFill() const;
    size_t fill() const;
    // Bytes put on the line so far, and whether nothing is left to send.
    size_t sentCount() const;
    bool outputDone() const;
    // Blocks the control has executed.
    size_t blocksExecuted() const;

    // The bytes a punch of `text` puts on the line.
    static std::string tapeOf(std::string_view text, TapeCode code, int leaderInches);

protected:
    // The line's side, called with the simulator locked. A scheduled
    // callback runs with the simulator locked, followed by changed().
    virtual void lineWrite(std::string_view bytes) = 0;
    virtual void schedule(Duration delay, std::function<void()> callback) = 0;
    virtual Duration characterTime() const = 0;
    // Wakes whatever waits on the simulator (the pty's waiters).
    virtual void changed() {}

    // What arrived from the PC; called by the line with nothing locked.
    void lineReceived(std::string_view bytes);

    mutable std::recursive_mutex mutex_;

private:
    struct Output {
        std::string bytes;
        PunchOptions options;
        size_t done = 0;
    };
    void take(uint8_t b);
    void check(uint8_t b, size_t index);
    void drainTick();
    void sendControl(uint8_t c);
    void pump();
    void startOutput(std::string bytes, const PunchOptions& options);

    MachineProfile profile_;
    std::string received_;
    std::vector<LineFault> faults_;
    std::deque<size_t> blocks_;  // lengths of the complete blocks in the buffer
    size_t partial_ = 0;         // bytes of the block still arriving
    size_t fill_ = 0, peakFill_ = 0;
    bool xoffSent_ = false;
    int xoffs_ = 0, xons_ = 0;
    bool draining_ = false;
    size_t executed_ = 0;
    bool heldByPc_ = false;
    size_t garbled_ = 0;  // bytes of a noise burst still to come
    std::deque<Output> output_;
    bool pumping_ = false;
    size_t sent_ = 0;
    std::vector<std::pair<std::string, Action>> triggers_;
    std::vector<std::pair<size_t, Action>> countTriggers_;
};

}  // namespace zantor::sim
