#pragma once

#include <map>
#include <memory>
#include <string>

#include "dnc/port/clock.h"
#include "dnc/port/fake_serial_device.h"
#include "dnc/port/serial_device.h"

namespace zantor {

// Gives the port the device behind a path.
class DeviceProvider {
public:
    virtual ~DeviceProvider() = default;
    // nullptr when there is no such device.
    virtual std::shared_ptr<SerialDevice> deviceFor(const std::string& path) = 0;
};

// Real ttys.
class TermiosDeviceProvider : public DeviceProvider {
public:
    explicit TermiosDeviceProvider(Clock& clock) : clock_(clock) {}
    std::shared_ptr<SerialDevice> deviceFor(const std::string& path) override;

private:
    Clock& clock_;
};

// Fake devices by path, kept across opens so that a test's peer sees every
// open of the same port (hub selection closes and reopens it).
class FakeDeviceBank : public DeviceProvider {
public:
    explicit FakeDeviceBank(Clock& clock) : clock_(clock) {}
    FakeSerialDevice& add(const std::string& path);
    std::shared_ptr<SerialDevice> deviceFor(const std::string& path) override;

private:
    Clock& clock_;
    std::map<std::string, std::shared_ptr<FakeSerialDevice>> devices_;
};

}  // namespace zantor
