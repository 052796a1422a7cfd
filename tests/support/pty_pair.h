#pragma once

// The simulated control lives with the program (zantor-cli simulate); the
// tests name it in their own namespace.
#include "dnc/simulator/pty_pair.h"

namespace zantor::testing {
using sim::PtyPair;
}  // namespace zantor::testing
