#pragma once

#include <string>

namespace zantor {

class DeviceProvider;
class Interaction;

// "Test Port": opens the device of a port with the serial defaults and
// closes it again at once, telling the user whether it opened. A device the
// user may not open is told apart, with how to get the permission.
void testPortOpen(const std::string& devicePath, DeviceProvider& devices, Interaction& interaction);

}  // namespace zantor
