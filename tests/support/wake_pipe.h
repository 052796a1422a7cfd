#pragma once

// The simulated control lives with the program (zantor-cli simulate); the
// tests name it in their own namespace.
#include "dnc/simulator/wake_pipe.h"

namespace zantor::testing {
using sim::WakePipe;
}  // namespace zantor::testing
