#include <CLI/CLI.hpp>
#include <ctime>
#include <memory>
#include <ostream>

#include "cli/cli_station.h"
#include "cli/command_set.h"
#include "cli/port_options.h"
#include "dnc/dnc_station.h"
#include "dnc/port/com_port.h"
#include "dnc/remote_station.h"
#include "dnc/shop_terminal.h"
#include "dnc/tape_options.h"
#include "dnc/work_files.h"
#include "users/activity_log.h"

namespace zantor::cli {

namespace {

struct RemoteArguments {
    std::optional<std::string> machine, port;
};

// A line of the station's screen with the time it was written, for a log
// that a service manager keeps.
std::string stamped(const std::string& text) {
    const std::time_t now = std::time(nullptr);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return std::string(when) + " " + text;
}

class ConsoleRemoteView : public RemoteStationView {
public:
    ConsoleRemoteView(CliStation& cli, std::ostream& out) : cli_(cli), out_(out) {}
    void operatorMessage(const std::string& line) override {
        out_ << stamped("Message: " + line) << "\n" << std::flush;
    }
    void reopenPort() override { cli_.reopenPort(); }

private:
    CliStation& cli_;
    std::ostream& out_;
};

// The shop-terminal menu's machines and hub switching on the command line.
class ConsoleShopHost : public ShopTerminalHost {
public:
    ConsoleShopHost(CliStation& cli, std::ostream& out) : cli_(cli), out_(out) {}
    std::vector<std::string> machineNames() override { return cli_.machineNames(); }
    std::optional<MachineSettings> machineSettings(const std::string& name) override {
        return cli_.machineSettings(name);
    }
    bool switchTo(const std::string& name) override { return cli_.switchTo(name); }
    void backToHome() override { cli_.backToHome(); }
    // No one logs in at a headless station: the menu may do what it offers.
    bool hasPrivilege(int) override { return true; }
    void operatorMessage(const std::string& text) override {
        out_ << stamped("Message: " + text) << "\n" << std::flush;
    }
    bool shutDownTicked() override { return shutDown; }
    void tickShutDown() override { shutDown = true; }
    bool shutDown = false;

private:
    CliStation& cli_;
    std::ostream& out_;
};

int runRemote(CliContext& context, const RemoteArguments& a) {
    checkPortOption(a.port);
    CliStation cli(context, a.machine, a.port);
    const MachineSettings& machine = cli.machine();
    const int type = machine.Comm.DeviceType;
    if (type != kDeviceRemoteControl && type != kDeviceHubTerminal && type != kDeviceShopTerminal)
        throw CliError{"the machine's device type is not \"Remote CNC Control\", \"Terminal on "
                       "DNC-8 Hub\" or \"Shop Terminal\""};
    std::ostream& out = context.out;
    cli.showTerminalLines([&out](const std::string& text) {
        if (!text.empty()) out << stamped(text) << "\n" << std::flush;
    });
    DncStation& station = cli.station();
    station.log.WriteLog("DNC Terminal: Machine Name [" + cli.machineName() + "]");
    station.port.setDtr(true);
    if (type == kDeviceRemoteControl) {
        const WorkFiles work(cli.state().TempDir);
        ConsoleRemoteView view(cli, out);
        RemoteStation remote(station, machine, cli.machineName(),
                             tapeOptionsFor(machine, cli.state().Settings), work.WorkFile(),
                             cli.state().Settings.RtsLowForWrite, view);
        cli.onInterrupt([&remote] { remote.stop(); });
        remote.run();
    } else {
        ConsoleShopHost host(cli, out);
        ShopTerminal menu(station, machine, cli.state().Settings, cli.state().TempDir, host);
        cli.onInterrupt([&host] { host.shutDown = true; });
        menu.run();
    }
    // Stopped: whatever ran was cancelled; the machine sees DTR drop before the port closes.
    station.port.setDtr(false);
    station.port.close();
    station.log.WriteLog("DNC Remote Station Stopped [" + cli.machineName() + "]");
    out << stamped("Remote station stopped") << "\n";
    return 0;
}

}  // namespace

void addRemoteCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<RemoteArguments>();
    CLI::App* remote = commands.add(
        app, "remote",
        "Run the remote DNC station of a machine set up as \"Remote CNC Control\" (the control "
        "types requests such as (SND PROG1), (RCV NEW), (DIR *.TAP), (PTH JOBS) and (MSG TEXT) "
        "and the station answers them), or serve the shop-terminal menu to a terminal set up "
        "as \"Shop Terminal\" or \"Terminal on DNC-8 Hub\"; the screen lines go to standard "
        "output with the time, until Ctrl-C or SIGTERM.",
        [a](CliContext& context) { return runRemote(context, *a); });
    remote->add_option("--machine", a->machine, "The machine (default: the current one)");
    remote->add_option("--port", a->port,
                       "Port number or device path (default: the machine's, through its DNC hub "
                       "when it has one)");
}

}  // namespace zantor::cli
