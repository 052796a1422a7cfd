#include "cli/app_commands.h"

#include <ostream>
#include <stdexcept>

#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "session/settings_file.h"
#include "users/user_database.h"

namespace zantor::cli {

int runSettings(CliContext& context) {
    if (!context.args.empty()) throw CliError{"takes no arguments"};
    RunState state;
    state.ProgramFolder = context.programFolder;
    state.TempDir = context.programFolder;
    state.EditorFont = FontSpec{"Monospace", 9};
    ConsoleInteraction interaction(context.err, "zantor-cli settings: ");
    LoadSettings(*IniStore::read(context.programFolder + kSettingsFileName), state, interaction);
    // The selector would select CMACHINE when it is listed; show it as stored.
    for (const auto& [key, value] : generalEntries(state, state.CurrentMachine))
        context.out << key << "=" << value << "\n";
    return 0;
}

int runUsers(CliContext& context) {
    if (!context.args.empty()) throw CliError{"takes no arguments"};
    for (const std::string& name : UserDatabase(context.systemFolder + kUserFileName).ListUsers())
        context.out << name << "\n";
    return 0;
}

}  // namespace zantor::cli
