#include "cli/settings_loader.h"

#include "cli/console_interaction.h"
#include "core/folders.h"
#include "core/ini_store.h"
#include "session/settings_file.h"

namespace zantor::cli {

LoadedSettings loadSettings(const CliContext& context) {
    LoadedSettings loaded;
    RunState& state = loaded.state;
    state.ProgramFolder = context.programFolder;
    state.SystemFolder = context.systemFolder;
    state.SettingsFile = context.programFolder + kSettingsFileName;
    state.TempDir = context.programFolder;
    ConsoleInteraction interaction(context.err);
    const auto ini = IniStore::read(state.SettingsFile);
    LoadSettings(*ini, state, interaction);
    state.TempDir = withTrailingSeparator(state.TempDir);
    loaded.logging = readLoggingSetting(*ini);
    return loaded;
}

}  // namespace zantor::cli
