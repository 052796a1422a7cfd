#pragma once

#include "cli/cli_context.h"

namespace zantor::cli {

int runSettings(CliContext& context);
int runUsers(CliContext& context);

}  // namespace zantor::cli
