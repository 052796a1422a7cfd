// zantor-cli: the command-line face of the workstation's logic.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "core/file_io.h"
#include "core/folders.h"

namespace {

void printUsage(std::ostream& out) {
    out << "Usage: zantor-cli [--home DIR] [--system DIR] COMMAND [options]\n\n"
           "  --home DIR     program folder (ZTR2013.INI, ZTRDNC.LOG); default $ZANTOR_HOME\n"
           "                 or ~/.config/zantor\n"
           "  --system DIR   folder of WPOSTS.INI and VXNPWL.INI; default $ZANTOR_SYSTEM_DIR\n"
           "                 or the program folder\n\nCommands:\n";
    for (const auto& command : zantor::cli::cliCommands())
        out << "  " << command.usage << "\n      " << command.summary << "\n";
    out << "\n'zantor-cli COMMAND --help' describes one command.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string home, system;
    size_t at = 0;
    while (at < args.size() && args[at].rfind("--", 0) == 0) {
        const std::string& option = args[at];
        if ((option == "--home" || option == "--system") && at + 1 < args.size()) {
            (option == "--home" ? home : system) = args[at + 1];
            at += 2;
        } else if (option == "--help") {
            printUsage(std::cout);
            return 0;
        } else {
            std::cerr << "zantor-cli: unknown option '" << option << "'\n";
            return 1;
        }
    }
    if (at == args.size()) {
        printUsage(std::cerr);
        return 1;
    }
    const std::string name = args[at];
    for (const auto& command : zantor::cli::cliCommands()) {
        if (name != command.name) continue;
        zantor::cli::CliContext context{
            home.empty() ? zantor::defaultProgramFolder() : zantor::withTrailingSeparator(home), "",
            std::vector<std::string>(args.begin() + long(at) + 1, args.end()), std::cout,
            std::cerr};
        context.systemFolder = system.empty() ? zantor::defaultSystemFolder(context.programFolder)
                                              : zantor::withTrailingSeparator(system);
        if (zantor::cli::wantsHelp(context.args)) {
            std::cout << "Usage: zantor-cli " << command.usage << "\n" << command.summary << "\n";
            return 0;
        }
        try {
            return command.run(context);
        } catch (const zantor::cli::CliError& error) {
            std::cerr << "zantor-cli " << name << ": " << error.message << "\n";
        } catch (const zantor::FileError& error) {
            std::cerr << "zantor-cli " << name << ": " << error.path() << ": " << error.what()
                      << "\n";
        } catch (const std::exception& error) {
            std::cerr << "zantor-cli " << name << ": " << error.what() << "\n";
        }
        return 1;
    }
    std::cerr << "zantor-cli: unknown command '" << name << "' (see zantor-cli --help)\n";
    return 1;
}
