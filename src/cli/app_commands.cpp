#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/command_set.h"
#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "session/settings_file.h"
#include "session/settings_keys.h"
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

int setSettings(CliContext& context, const std::vector<std::string>& pairs) {
    IniStore::update(context.programFolder + kSettingsFileName, [&](IniFile& ini) {
        for (const std::string& pair : pairs) {
            const size_t eq = pair.find('=');
            if (eq == std::string::npos || eq == 0)
                throw CliError{"\"" + pair + "\" is not KEY=VALUE."};
            if (std::string problem = setGeneralKey(ini, pair.substr(0, eq), pair.substr(eq + 1));
                !problem.empty())
                throw CliError{problem};
        }
    });
    return 0;
}

int runUsers(CliContext& context) {
    for (const std::string& name : UserDatabase(context.systemFolder + kUserFileName).ListUsers())
        context.out << name << "\n";
    return 0;
}

}  // namespace

void addAppCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* settings = commands.add(
        app, "settings",
        "Print the GENERAL settings of ZTR2013.INI as they would be saved, in their order; "
        "settings set KEY=VALUE... changes them.",
        runSettings);
    auto pairs = std::make_shared<std::vector<std::string>>();
    commands
        .add(*settings, "set",
             "Change GENERAL settings (TABSIZE=4 COMINSIZE=8192 ...); an unknown key or a bad "
             "value changes nothing.",
             [pairs](CliContext& context) { return setSettings(context, *pairs); })
        ->add_option("KEY=VALUE", *pairs, "Settings to change")
        ->required();
    commands.add(app, "users", "List the users of the user file.", runUsers);
}

}  // namespace zantor::cli
