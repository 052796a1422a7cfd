#pragma once

#include <string>

#include "dnc/port/serial_device.h"

namespace zantor {

// The sentence for a failed open of a serial device: what went wrong and,
// where the user can fix it, how (a device the user may not use names the
// group that owns it).
OpenFailure describeOpenFailure(const std::string& path, int errorNumber);

}  // namespace zantor
