#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/command_set.h"
#include "machines/machine_database.h"
#include "machines/machine_section.h"

namespace zantor::cli {

namespace {

MachineDatabase database(const CliContext& context) {
    return MachineDatabase(context.systemFolder + kMachineDatabaseFileName);
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
        "machine show NAME | machine add NAME | machine delete NAME: show a machine's settings "
        "as they would be saved, add a machine with the default settings, or delete a machine.");
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
    named(commands.add(*machine, "add", "Add a machine with the default settings.",
                       [name](CliContext& context) {
                           if (const std::string problem = machineNameProblem(*name);
                               !problem.empty())
                               throw CliError{problem};
                           database(context).AddMachine(*name, defaultMachineSettings());
                           return 0;
                       }));
    named(commands.add(*machine, "delete", "Delete a machine.", [name](CliContext& context) {
        database(context).DeleteMachine(*name);
        return 0;
    }));
}

}  // namespace zantor::cli
