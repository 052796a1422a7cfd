#pragma once

#include "cli/cli_context.h"
#include "session/run_state.h"

namespace zantor::cli {

// The run state as the program starts with it: folders and the GENERAL
// settings of ZTR2013.INI, and the activity log's switch.
struct LoadedSettings {
    RunState state;
    bool logging = false;
};

LoadedSettings loadSettings(const CliContext& context);

}  // namespace zantor::cli
