#include <algorithm>

#include "cli/app_commands.h"
#include "cli/cli_context.h"
#include "cli/machine_commands.h"
#include "cli/term_command.h"
#include "cli/user_commands.h"
#include "cli/view_command.h"

namespace zantor::cli {

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

const std::vector<CliCommand>& cliCommands() {
    static const std::vector<CliCommand> commands = {
        {"machines", "machines", "List the machines of the machine database in slot order.",
         runMachines},
        {"machine", "machine show NAME | machine add NAME | machine delete NAME",
         "Show a machine's settings as they would be saved, add a machine with the default "
         "settings, or delete a machine.",
         runMachine},
        {"settings", "settings",
         "Print the GENERAL settings of ZTR2013.INI as they would be saved, in their order.",
         runSettings},
        {"users", "users", "List the users of the user file.", runUsers},
        {"user",
         "user add NAME [--level N | --privileges LIST] | user delete NAME | user password NAME",
         "Add a user (by default with every privilege; LIST is a comma-separated list of "
         "settings, overwrite, folders, passwords, edit, dnc, jobs-read, jobs), delete one, or "
         "set one's password. The password is read from standard input (asked twice, not "
         "shown, at a terminal); an empty line sets an empty password, which accepts any.",
         runUser},
        {"term",
         "term [--machine NAME] [--port N|DEVICE] [--baud B] [--bits 4-8] [--parity N|O|E|M|S] "
         "[--stop 1|1.5|2] [--flow none|xonxoff|rtscts|both] [--wait SECONDS]",
         "A plain terminal on a serial port with the machine's line settings (the options "
         "override them): standard input goes to the port under its flow control, what arrives "
         "goes to standard output unchanged. At the end of the input it waits for the output to "
         "drain and, with --wait, for the line to be quiet that long.",
         runTerm},
        {"view", "view [--hex] FILE",
         "Print a file as the file viewer shows it: text lines, or with --hex offset, hex bytes "
         "and characters.",
         runView},
    };
    return commands;
}

}  // namespace zantor::cli
