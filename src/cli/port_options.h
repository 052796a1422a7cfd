#pragma once

#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "machines/machine_settings.h"

namespace zantor {
class ComPort;
}

namespace zantor::cli {

// The machine a command works for: the one named with --machine (which must
// be in the machine database), else the current machine of ZTR2013.INI,
// else the default record. `name` gets the name used, empty for the default.
MachineSettings loadMachine(const CliContext& context, const std::optional<std::string>& machine,
                            std::string& name);

// --port must be a port number or a device path.
void checkPortOption(const std::optional<std::string>& port);

// Points the port at the device of --port, or of the machine's record (the
// PORTS section of ZTR2013.INI maps numbers to devices) and sets the
// machine's line settings and handshaking. A machine on a DNC hub needs
// --port: the hub is not switched from here.
void choosePort(ComPort& port, const CliContext& context, const MachComRec& record,
                const std::optional<std::string>& portOption);

}  // namespace zantor::cli
