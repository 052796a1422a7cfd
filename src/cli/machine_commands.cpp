#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/command_set.h"
#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "machines/machine_database.h"
#include "machines/machine_files.h"
#include "machines/machine_keys.h"
#include "machines/machine_report.h"
#include "machines/machine_section.h"

namespace zantor::cli {

namespace {

MachineDatabase database(const CliContext& context) {
    return MachineDatabase(context.systemFolder + kMachineDatabaseFileName);
}

// Answers the replace question of a backup as --force says; tells every
// message on the console.
class BackupInteraction : public ConsoleInteraction {
public:
    BackupInteraction(std::ostream& err, bool replace)
        : ConsoleInteraction(err), replace_(replace) {}
    Answer message(MessageKind kind, const std::string& text, Buttons buttons) override {
        if (kind == MessageKind::Confirmation) {
            if (replace_) return Answer::Yes;
            ConsoleInteraction::message(MessageKind::Error, text + " (--force replaces it)",
                                        Buttons::Ok);
            return Answer::No;
        }
        return ConsoleInteraction::message(kind, text, buttons);
    }

private:
    bool replace_;
};

bool listed(const MachineDatabase& db, const std::string& name) {
    for (const std::string& machine : db.ListMachines())
        if (machine == name) return true;
    return false;
}

int setKeys(CliContext& context, const std::string& name, const std::vector<std::string>& pairs) {
    const MachineDatabase db = database(context);
    if (!listed(db, name)) throw CliError{"No machine named \"" + name + "\" is listed."};
    MachineSettings settings;
    FolderFlags flags;
    db.LoadMachine(name, settings, flags);
    for (const std::string& pair : pairs) {
        const size_t eq = pair.find('=');
        if (eq == std::string::npos || eq == 0)
            throw CliError{"\"" + pair + "\" is not KEY=VALUE."};
        if (std::string problem = setMachineKey(settings, pair.substr(0, eq), pair.substr(eq + 1));
            !problem.empty())
            throw CliError{problem};
    }
    db.SaveMachine(name, settings);
    return 0;
}

int report(CliContext& context, const std::string& name) {
    const MachineDatabase db = database(context);
    const auto ini = IniStore::read(db.path());
    std::string machine = name;
    if (machine.empty()) {
        // The current machine of the settings file, else the first listed.
        machine = IniStore::read(context.programFolder + "ZTR2013.INI")
                      ->readString("GENERAL", "CMACHINE", "");
        const auto names = listMachines(*ini);
        if (machine.empty() && !names.empty()) machine = names.front();
    }
    MachineSettings settings;
    readMachineSection(*ini, machine, settings);
    context.out << settingsReport(machine, settings) << dncSummary(*ini);
    return 0;
}

}  // namespace

void addMachineCommands(CLI::App& app, CommandSet& commands) {
    commands.add(app, "machines", "List the machines of the machine database in slot order.",
                 [](CliContext& context) {
                     for (const std::string& name : database(context).ListMachines())
                         context.out << name << "\n";
                     return 0;
                 });

    CLI::App* machine = commands.add(
        app, "machine",
        "machine show NAME | add NAME | delete NAME | set NAME KEY=VALUE... | rename OLD NEW | "
        "report [NAME]: show a machine's settings as they would be saved, add a machine with "
        "the default settings, delete a machine, change settings by their WPOSTS.INI keys, "
        "give a machine another name, or print the settings report and the DNC summary.");
    machine->require_subcommand(1);
    auto name = std::make_shared<std::string>();
    const auto named = [&](CLI::App* command) {
        command->add_option("NAME", *name, "The machine's name")->required();
    };
    named(commands.add(*machine, "show", "Show a machine's settings as they would be saved.",
                       [name](CliContext& context) {
                           MachineSettings settings;
                           FolderFlags flags;
                           database(context).LoadMachine(*name, settings, flags);
                           for (const auto& [key, value] : machineSectionEntries(settings))
                               context.out << key << "=" << value << "\n";
                           return 0;
                       }));
    named(commands.add(
        *machine, "add", "Add a machine with the default settings.", [name](CliContext& context) {
            if (const std::string problem = machineNameProblem(*name); !problem.empty())
                throw CliError{problem};
            database(context).AddMachine(*name, defaultMachineSettings());
            return 0;
        }));
    named(commands.add(*machine, "delete", "Delete a machine.", [name](CliContext& context) {
        database(context).DeleteMachine(*name);
        return 0;
    }));

    auto pairs = std::make_shared<std::vector<std::string>>();
    CLI::App* set = commands.add(
        *machine, "set",
        "Change settings of a machine by their WPOSTS.INI keys (MTYPE=2 BAUD=9600 ...); an "
        "unknown key or a bad value changes nothing.",
        [name, pairs](CliContext& context) { return setKeys(context, *name, *pairs); });
    named(set);
    set->add_option("KEY=VALUE", *pairs, "Settings to change")->required();

    auto newName = std::make_shared<std::string>();
    CLI::App* rename = commands.add(
        *machine, "rename",
        "Give a machine another name; its NC-code macros go with it. A name listed already is "
        "refused.",
        [name, newName](CliContext& context) {
            const MachineDatabase db = database(context);
            if (!listed(db, *name)) throw CliError{"No machine named \"" + *name + "\" is listed."};
            MachineSettings settings;
            FolderFlags flags;
            db.LoadMachine(*name, settings, flags);
            if (std::string problem = db.RenameMachine(*name, *newName, settings); !problem.empty())
                throw CliError{problem};
            return 0;
        });
    rename->add_option("OLD", *name, "The machine's name")->required();
    rename->add_option("NEW", *newName, "Its new name")->required();

    auto reportName = std::make_shared<std::string>();
    commands
        .add(*machine, "report",
             "Print the settings report of a machine (the current machine when none is named) "
             "followed by the DNC summary of all machines.",
             [reportName](CliContext& context) { return report(context, *reportName); })
        ->add_option("NAME", *reportName, "The machine's name");

    auto folder = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    CLI::App* backup = commands.add(
        app, "backup",
        "Copy the machine database WPOSTS.INI into FOLDER; an existing copy there is replaced "
        "only with --force.",
        [folder, force](CliContext& context) {
            BackupInteraction interaction(context.err, *force);
            return backupMachineDatabase(context.systemFolder, *folder, interaction) ? 0 : 1;
        });
    backup->add_option("FOLDER", *folder, "Where the copy goes")->required();
    backup->add_flag("--force", *force, "Replace a WPOSTS.INI in FOLDER");
    commands
        .add(app, "restore",
             "Replace the machine database with the WPOSTS.INI of FOLDER, after checking that it "
             "is one.",
             [folder](CliContext& context) {
                 ConsoleInteraction interaction(context.err);
                 return restoreMachineDatabase(context.systemFolder, *folder, interaction) ? 0 : 1;
             })
        ->add_option("FOLDER", *folder, "Where the copy is")
        ->required();
}

}  // namespace zantor::cli
