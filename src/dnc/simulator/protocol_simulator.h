#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/simulator/pty_master_device.h"
#include "machines/mach_com_rec.h"

namespace zantor::sim {

// The simulated control of a machine set for XMODEM, YMODEM, ZMODEM or
// Kermit, on the master of a pty: the station's own protocol drivers work
// the control's side. While it has nothing to punch it waits for a sender
// and files what arrives as the next free "SIMnnnn.TAP" of its folder (the
// further files of a batch beside it under their sent names); a program to
// punch is offered by the protocol until a receiver has taken it. It runs
// in the calling thread's event loop, while run() is called.
class ProtocolSimulator {
public:
    // `charactersPerSecond` paces what the control sends (0: 115200 baud).
    ProtocolSimulator(int masterFd, const MachComRec& machine, int charactersPerSecond,
                      std::string folder);
    ~ProtocolSimulator();
    ProtocolSimulator(const ProtocolSimulator&) = delete;
    ProtocolSimulator& operator=(const ProtocolSimulator&) = delete;

    // Offers `file` from the next start on, until a receiver has taken it.
    void punch(std::string file);
    // Offers `file` at once: a receive still waiting for its sender is
    // given up without a word to the far side, which is about to receive
    // itself (the protocol's cancel would end that receive).
    void punchNow(std::string file);
    // Receives nothing until a punch has been taken: a punch due later
    // must not find a receive under way (only a cancel, which would reach
    // the far side, could end it).
    void awaitPunch() { listening_ = false; }
    bool punchPending() const { return punch_.has_value(); }
    // Handles the line for `slice`; returns what it has to tell, a line each:
    // "Received PATH", "Punched FILE", or why a transfer that had begun failed.
    std::vector<std::string> run(std::chrono::milliseconds slice);
    // Ends what is under way, telling the far side (the protocol's cancel).
    void stop();

    long long bytesReceived() const { return bytesReceived_; }
    long long bytesSent() const { return bytesSent_; }

private:
    void startNext();
    void finished(int code);

    SystemClock clock_;
    PtyMasterProvider devices_;
    ComPort port_;
    FileTransfer transfer_;
    MachComRec machine_;
    std::string folder_;
    std::optional<std::string> punch_;
    bool sending_ = false;
    bool idle_ = true;
    bool listening_ = true;
    long long bytesReceived_ = 0, bytesSent_ = 0;
    std::vector<std::string> news_;
};

}  // namespace zantor::sim
