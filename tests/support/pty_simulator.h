#pragma once

// The simulated control lives with the program (zantor-cli simulate); the
// tests name it in their own namespace.
#include "dnc/simulator/pty_simulator.h"
#include "machine_simulator.h"

namespace zantor::testing {
using sim::PtySimulator;
}  // namespace zantor::testing
