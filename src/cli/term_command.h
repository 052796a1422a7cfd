#pragma once

#include "cli/cli_context.h"

namespace zantor::cli {

// A plain terminal on a serial port: standard input to the port under its
// flow control, the port to standard output unchanged.
int runTerm(CliContext& context);

}  // namespace zantor::cli
