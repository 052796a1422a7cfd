#include "cli/machine_commands.h"

#include <ostream>

#include "machines/machine_database.h"
#include "machines/machine_section.h"

namespace zantor::cli {

namespace {
MachineDatabase database(const CliContext& context) {
    return MachineDatabase(context.systemFolder + kMachineDatabaseFileName);
}
}  // namespace

int runMachines(CliContext& context) {
    if (!context.args.empty()) throw CliError{"takes no arguments"};
    for (const std::string& name : database(context).ListMachines()) context.out << name << "\n";
    return 0;
}

int runMachine(CliContext& context) {
    if (context.args.size() != 2) throw CliError{"expected: machine show|add|delete NAME"};
    const std::string& action = context.args[0];
    const std::string& name = context.args[1];
    const MachineDatabase machines = database(context);
    if (action == "show") {
        MachineSettings settings;
        FolderFlags flags;
        machines.LoadMachine(name, settings, flags);
        for (const auto& [key, value] : machineSectionEntries(settings))
            context.out << key << "=" << value << "\n";
        return 0;
    }
    if (action == "add") {
        if (const std::string problem = machineNameProblem(name); !problem.empty())
            throw CliError{problem};
        machines.AddMachine(name, defaultMachineSettings());
        return 0;
    }
    if (action == "delete") {
        machines.DeleteMachine(name);
        return 0;
    }
    throw CliError{"unknown action '" + action + "' (show, add or delete)"};
}

}  // namespace zantor::cli
