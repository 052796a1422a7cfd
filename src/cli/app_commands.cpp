#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command_set.h"
#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "session/settings_file.h"
#include "users/user_database.h"

namespace zantor::cli {

namespace {

int runSettings(CliContext& context) {
    RunState state;
    state.ProgramFolder = context.programFolder;
    state.TempDir = context.programFolder;
    state.EditorFont = FontSpec{"Monospace", 9};
    ConsoleInteraction interaction(context.err);
    LoadSettings(*IniStore::read(context.programFolder + kSettingsFileName), state, interaction);
    // The selector would select CMACHINE when it is listed; show it as stored.
    for (const auto& [key, value] : generalEntries(state, state.CurrentMachine))
        context.out << key << "=" << value << "\n";
    return 0;
}

int runUsers(CliContext& context) {
    for (const std::string& name : UserDatabase(context.systemFolder + kUserFileName).ListUsers())
        context.out << name << "\n";
    return 0;
}

}  // namespace

void addAppCommands(CLI::App& app, CommandSet& commands) {
    commands.add(app, "settings",
                 "Print the GENERAL settings of ZTR2013.INI as they would be saved, in their "
                 "order.",
                 runSettings);
    commands.add(app, "users", "List the users of the user file.", runUsers);
}

}  // namespace zantor::cli
