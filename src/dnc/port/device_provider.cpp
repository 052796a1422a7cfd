#include "dnc/port/device_provider.h"

#include "dnc/port/termios_device.h"

namespace zantor {

std::shared_ptr<SerialDevice> TermiosDeviceProvider::deviceFor(const std::string&) {
    return std::make_shared<TermiosDevice>(clock_);
}

FakeSerialDevice& FakeDeviceBank::add(const std::string& path) {
    auto& device = devices_[path];
    if (!device) device = std::make_shared<FakeSerialDevice>(clock_);
    return *device;
}

std::shared_ptr<SerialDevice> FakeDeviceBank::deviceFor(const std::string& path) {
    const auto it = devices_.find(path);
    return it == devices_.end() ? nullptr : it->second;
}

}  // namespace zantor
