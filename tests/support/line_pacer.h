#pragma once

// The simulated control lives with the program (zantor-cli simulate); the
// tests name it in their own namespace.
#include "dnc/simulator/line_pacer.h"

namespace zantor::testing {
using sim::LinePacer;
}  // namespace zantor::testing
