#pragma once

#include "cli/cli_context.h"

namespace zantor::cli {

int runMachines(CliContext& context);
int runMachine(CliContext& context);

}  // namespace zantor::cli
