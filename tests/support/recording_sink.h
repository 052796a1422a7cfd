#pragma once

// Header only: for test programs that link zantor_dnc.

#include <string>
#include <vector>

#include "dnc/port_status_sink.h"

namespace zantor::testing {

// Keeps everything the DNC logic shows in its window.
class RecordingSink : public PortStatusSink {
public:
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void setPortStatus(const std::string& text) override { portStatus = text; }
    void writeTerminalLine(const std::string& text) override { lines.push_back(text); }
    void writeTerminalText(const std::string& text) override { screenText += text; }
    void setPortInput(bool on) override { portInput = on; }
    void setAnsiEmulation(bool on) override { ansi = on; }
    void focusTerminal() override { ++focused; }

    std::vector<std::string> statusTexts, lines;
    std::string portStatus;
    std::string screenText;  // what writeTerminalText wrote
    bool portInput = false, ansi = false;
    int focused = 0;
};

}  // namespace zantor::testing
