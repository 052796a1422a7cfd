#pragma once

#include <memory>
#include <string>

#include "dnc/port/device_provider.h"
#include "dnc/port/termios_device.h"

namespace zantor::sim {

// The master of a pty as the serial device of a port on the simulated
// control's side. Whatever path the port opens, it gets a copy of the
// master; the line settings are the program's on the slave, so the master
// takes them as they are (the port still paces its output to them).
class PtyMasterDevice : public TermiosDevice {
public:
    PtyMasterDevice(Clock& clock, int masterFd) : TermiosDevice(clock), masterFd_(masterFd) {}

    std::optional<OpenFailure> open(const std::string& path, const LineSettings& settings) override;
    bool applySettings(const LineSettings&) override { return isOpen(); }

private:
    int masterFd_;
};

// Gives every path the pty master `masterFd` (owned by the caller).
class PtyMasterProvider : public DeviceProvider {
public:
    PtyMasterProvider(Clock& clock, int masterFd) : clock_(clock), masterFd_(masterFd) {}
    std::shared_ptr<SerialDevice> deviceFor(const std::string&) override {
        return std::make_shared<PtyMasterDevice>(clock_, masterFd_);
    }

private:
    Clock& clock_;
    int masterFd_;
};

}  // namespace zantor::sim
