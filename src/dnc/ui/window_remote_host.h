#pragma once

#include <functional>
#include <string>

#include "dnc/remote_station.h"
#include "dnc/shop_terminal.h"

namespace zantor {

class ComPort;
class DncCommands;
class Interaction;
class MachineDatabase;
class MachinePortControl;
struct RunState;

// What the remote station and the shop-terminal menu need of the DNC
// terminal window: its message list, its port, the machine database and the
// window's "Start Shut Down" box.
class WindowRemoteHost : public RemoteStationView, public ShopTerminalHost {
public:
    WindowRemoteHost(RunState& state, const MachineDatabase& machines, ComPort& port,
                     MachinePortControl& portControl, DncCommands& commands,
                     Interaction& interaction);

    std::function<void(const std::string&)> showMessage;      // the message list
    std::function<void(const std::string&)> showActivity;     // the status field
    std::function<bool()> shutDownBox;                       // "Start Shut Down"
    std::function<void()> tickShutDownBox;
    // The privilege check of the logged-in user; everything when unset.
    std::function<bool(int)> privilegeCheck;

    // RemoteStationView
    void operatorMessage(const std::string& line) override;
    void reopenPort() override;
    void remoteActivity(const std::string& text) override;

    // ShopTerminalHost
    std::vector<std::string> machineNames() override;
    std::optional<MachineSettings> machineSettings(const std::string& name) override;
    bool switchTo(const std::string& name) override;
    void backToHome() override;
    bool hasPrivilege(int privilege) override;
    bool shutDownTicked() override;
    void tickShutDown() override;

private:
    RunState& state_;
    const MachineDatabase& machines_;
    ComPort& port_;
    MachinePortControl& portControl_;
    DncCommands& commands_;
    Interaction& interaction_;
};

}  // namespace zantor
