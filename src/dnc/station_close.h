#pragma once

#include "dnc/port/clock.h"

namespace zantor {

class ComPort;

// How long a released machine may go on sending while the port is closing.
inline constexpr auto kReleaseQuiet = std::chrono::seconds(1);
inline constexpr auto kReleaseLimit = std::chrono::seconds(10);

// Closes the DNC window's port. A machine that our XOFF still holds is
// released first, so it is not left waiting for ever: XON goes out, and
// what it still sends is read and dropped until the line has been quiet for
// kReleaseQuiet (for at most kReleaseLimit), so that it does not send into
// a closed port. Then DTR goes low, and the port closes.
void closeStationPort(ComPort& port);

}  // namespace zantor
