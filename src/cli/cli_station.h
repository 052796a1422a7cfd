#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/settings_loader.h"
#include "dnc/dnc_station.h"
#include "machines/machine_settings.h"

namespace zantor {
class Clock;
class ComPort;
class FileTransfer;
}  // namespace zantor

namespace zantor::cli {

// The DNC station of `send` and `receive`: the settings and the machine, its
// port opened (switching its DNC hub first when it has one and no --port was
// given), the transfer engine with the history in the program folder, the
// activity log, progress on stderr when it is a terminal, and Ctrl-C (or
// SIGTERM), which cancels a transfer or stops a wait.
class CliStation {
public:
    CliStation(CliContext& context, const std::optional<std::string>& machine,
               const std::optional<std::string>& port);
    ~CliStation();
    CliStation(const CliStation&) = delete;
    CliStation& operator=(const CliStation&) = delete;

    const std::string& machineName() const;
    const MachineSettings& machine() const;
    const RunState& state() const;
    DncStation& station();
    // Runs events until the transfer has ended; its completion code.
    int waitForEnd();
    // Lets what is queued leave the port before it closes (the end string).
    void drain();
    // Ctrl-C and SIGTERM also run `action` (after cancelling a transfer).
    void onInterrupt(std::function<void()> action);
    // The terminal screen's lines go to `write` instead of stderr.
    void showTerminalLines(std::function<void(const std::string&)> write);
    // Closes and opens the port again with its settings.
    void reopenPort();

    // For a station that serves other machines (the shop-terminal menu):
    std::vector<std::string> machineNames() const;
    std::optional<MachineSettings> machineSettings(const std::string& name) const;
    // The machine's port opened (through its hub); false with the reason on stderr.
    bool switchTo(const std::string& name);
    // This station's own machine and port again.
    bool backToHome();

private:
    class Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace zantor::cli
