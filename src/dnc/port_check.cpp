#include "dnc/port_check.h"

#include <cerrno>

#include "core/interaction.h"
#include "dnc/port/device_provider.h"

namespace zantor {

void testPortOpen(const std::string& devicePath, DeviceProvider& devices,
                  Interaction& interaction) {
    const std::shared_ptr<SerialDevice> device = devices.deviceFor(devicePath);
    if (!device) {
        interaction.showError("Port Does Not Appear to Exist");
        return;
    }
    const std::optional<OpenFailure> failure = device->open(devicePath, LineSettings{});
    if (!failure) {
        device->close();
        interaction.showInformation("Port Sucessfully Opened");
        return;
    }
    if (failure->errorNumber == EACCES || failure->errorNumber == EPERM)
        interaction.showError(failure->message);
    else
        interaction.showError("Port Does Not Appear to Exist");
}

}  // namespace zantor
