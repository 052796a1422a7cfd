#include "cli/port_options.h"

#include <algorithm>

#include "core/ini_store.h"
#include "dnc/port/com_port.h"
#include "dnc/record_line_settings.h"
#include "machines/machine_database.h"
#include "session/run_state.h"

namespace zantor::cli {

MachineSettings loadMachine(const CliContext& context, const std::optional<std::string>& machine,
                            std::string& name) {
    const MachineDatabase machines(context.systemFolder + kMachineDatabaseFileName);
    name = machine.value_or("");
    if (name.empty())
        name = IniStore::read(context.programFolder + kSettingsFileName)
                   ->readString("GENERAL", "CMACHINE", "");
    MachineSettings settings;
    if (name.empty()) {
        settings.Comm = DefaultMachComRec();
        return settings;
    }
    if (machine) {
        const auto listed = machines.ListMachines();
        if (std::find(listed.begin(), listed.end(), name) == listed.end())
            throw CliError{"no machine named '" + name + "'"};
    }
    settings.Comm = machines.ReadMachComRec(name, settings);
    return settings;
}

void checkPortOption(const std::optional<std::string>& port) {
    if (port && !parsePortChoice(*port)) throw CliError{"--port takes a number or a device path"};
}

void choosePort(ComPort& port, const CliContext& context, const MachComRec& record,
                const std::optional<std::string>& portOption) {
    port.setPortMap(
        PortMap::fromSettings(*IniStore::read(context.programFolder + kSettingsFileName)));
    if (portOption) {
        const PortChoice choice = *parsePortChoice(*portOption);
        if (choice.number)
            port.setComNumber(uint16_t(choice.number));
        else
            port.setDevicePath(choice.path);
    } else if (record.HubNum != 0) {
        throw CliError{"the machine is on DNC hub " + std::to_string(record.HubNum) +
                       ": give the PC port with --port"};
    } else {
        port.setComNumber(uint16_t(record.PortNum + 1));
    }
    applyRecordLineSettings(port, record);
}

}  // namespace zantor::cli
