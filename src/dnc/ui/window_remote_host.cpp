#include "dnc/ui/window_remote_host.h"

#include "core/file_io.h"
#include "core/interaction.h"
#include "core/text_util.h"
#include "dnc/dnc_commands.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/com_port.h"
#include "machines/machine_database.h"
#include "session/run_state.h"

namespace zantor {

WindowRemoteHost::WindowRemoteHost(RunState& state, const MachineDatabase& machines,
                                   ComPort& port, MachinePortControl& portControl,
                                   DncCommands& commands, Interaction& interaction)
    : state_(state),
      machines_(machines),
      port_(port),
      portControl_(portControl),
      commands_(commands),
      interaction_(interaction) {}

void WindowRemoteHost::operatorMessage(const std::string& line) {
    if (showMessage) showMessage(line);
    interaction_.beep();
}

void WindowRemoteHost::reopenPort() {
    port_.close();
    if (const auto failure = port_.open()) interaction_.showError(failure->message);
}

void WindowRemoteHost::remoteActivity(const std::string& text) {
    if (showActivity) showActivity(text);
}

std::vector<std::string> WindowRemoteHost::machineNames() {
    try {
        return machines_.ListMachines();
    } catch (const FileError& error) {
        interaction_.showError(error.what());
        return {};
    }
}

std::optional<MachineSettings> WindowRemoteHost::machineSettings(const std::string& name) {
    for (const std::string& listed : machineNames()) {
        if (!equalsIgnoreCase(listed, name)) continue;
        MachineSettings settings;
        FolderFlags flags;
        try {
            machines_.LoadMachine(listed, settings, flags);
        } catch (const FileError& error) {
            interaction_.showError(error.what());
            return std::nullopt;
        }
        return settings;
    }
    return std::nullopt;
}

bool WindowRemoteHost::switchTo(const std::string& name) {
    const std::optional<MachineSettings> settings = machineSettings(name);
    if (!settings) return false;
    state_.CurrentMachine = name;
    state_.CurrentSettings = *settings;
    state_.CurrentMachComRec = settings->Comm;
    if (!portControl_.openMachinePort(state_.CurrentMachComRec)) return false;
    portControl_.showPortStatus();
    return true;
}

void WindowRemoteHost::backToHome() {
    commands_.restoreHomeMachine();
}

bool WindowRemoteHost::hasPrivilege(int privilege) {
    return !privilegeCheck || privilegeCheck(privilege);
}

bool WindowRemoteHost::shutDownTicked() {
    return shutDownBox && shutDownBox();
}

void WindowRemoteHost::tickShutDown() {
    if (tickShutDownBox) tickShutDownBox();
}

}  // namespace zantor
