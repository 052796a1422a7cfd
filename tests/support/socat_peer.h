#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace zantor::testing {

// A program on the far end of a pseudo-terminal: socat makes the pty (its
// slave reachable at `link`) and runs `command` through the shell with the
// pty's traffic on its standard input and output. The command's exit
// status is written to a file, and the shell then stays a moment so that
// the pty lives on until the last bytes have been read on our side.
class SocatPeer {
public:
    SocatPeer(const std::string& link, const std::string& folder, const std::string& command);
    ~SocatPeer();
    SocatPeer(const SocatPeer&) = delete;
    SocatPeer& operator=(const SocatPeer&) = delete;

    // Whether the pty is there to be opened, waiting up to `timeout`.
    bool ready(std::chrono::milliseconds timeout) const;
    // Starts the command (once our side has opened the pty: opening it
    // discards what is waiting there).
    void go();
    // The command's exit status once it has ended, waiting up to `timeout`.
    std::optional<int> exitStatus(std::chrono::milliseconds timeout) const;

private:
    std::string link_;
    std::string statusFile_;
    std::string goFile_;
    pid_t pid_ = -1;
};

// Whether a program can be found on PATH.
bool programAvailable(const std::string& name);

}  // namespace zantor::testing
