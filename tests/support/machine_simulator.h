#pragma once

// The simulated control lives with the program (zantor-cli simulate); the
// tests name it in their own namespace.
#include "dnc/simulator/machine_simulator.h"

namespace zantor::testing {
using sim::MachineProfile;
using sim::LineFault;
using sim::PunchOptions;
using sim::MachineSimulator;
}  // namespace zantor::testing
