#pragma once

#include "cli/cli_context.h"

namespace zantor::cli {

// view [--hex] FILE: the file viewer's lines, one per output line.
int runView(CliContext& context);

}  // namespace zantor::cli
