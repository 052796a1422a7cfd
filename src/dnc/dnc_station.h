#pragma once

#include <string>

namespace zantor {

class ActivityLog;
class ComPort;
class FileTransfer;
class PortStatusSink;

// The small non-modal window shown while the station waits for the machine
// (title "ZANTOR DNC", the text and a "Stop Waiting" check box). The DNC
// window shows it; the command line says it on stderr and stops on Ctrl-C.
class WaitingWindow {
public:
    virtual ~WaitingWindow() = default;
    virtual void showWaiting(const std::string& text) = 0;
    virtual void hideWaiting() = 0;
    // "Stop Waiting" is ticked.
    virtual bool stopWaiting() const = 0;
};

// What the send and receive of the DNC station work with: the window's port
// and transfer engine, the activity log, and the window itself (the terminal
// screen, and the waiting window).
struct DncStation {
    ComPort& port;
    FileTransfer& transfer;
    ActivityLog& log;
    PortStatusSink& sink;
    WaitingWindow& waiting;
    bool VerboseMode = false;
};

}  // namespace zantor
