#pragma once

#include <string>

namespace zantor {

// What the port and hub selection shows in the DNC terminal window. The window
// implements it; tests record it.
class PortStatusSink {
public:
    virtual ~PortStatusSink() = default;
    // The window's status field ("Loading HUB Info ...", "Ready, On Line ...").
    virtual void setStatusText(const std::string& text) = 0;
    // The status line with the port's settings (" COM1 7E1 4800").
    virtual void setPortStatus(const std::string& text) = 0;
    // A progress line for the terminal screen, shown in verbose mode; the
    // window adds CR LF.
    virtual void writeTerminalLine(const std::string& text) = 0;
    // Text for the terminal screen as it is, without a line end (the dots
    // of a block-wise send); where there is no screen it goes nowhere.
    virtual void writeTerminalText(const std::string& text) { (void)text; }
    // Whether the terminal display takes bytes from the port.
    virtual void setPortInput(bool on) = 0;
    // Plain text or ANSI escape sequences on the terminal screen.
    virtual void setAnsiEmulation(bool on) = 0;
    virtual void focusTerminal() = 0;
};

}  // namespace zantor
