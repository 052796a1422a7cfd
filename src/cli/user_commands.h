#pragma once

#include "cli/cli_context.h"

namespace zantor::cli {

// user add NAME [--level N] [--privileges LIST] | user delete NAME | user password NAME
int runUser(CliContext& context);

}  // namespace zantor::cli
