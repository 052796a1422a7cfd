#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zantor::cli {

// What every command gets: the folders chosen by the global options and the
// command's own arguments.
struct CliContext {
    std::string programFolder;
    std::string systemFolder;
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

// A command's failure: the message is printed as one line on stderr and the
// program exits with status 1.
struct CliError {
    std::string message;
};

struct CliCommand {
    const char* name;
    const char* usage;    // "machine show NAME"
    const char* summary;  // one line for --help
    int (*run)(CliContext& context);
};

const std::vector<CliCommand>& cliCommands();

// True when args hold "--help" or "-h".
bool wantsHelp(const std::vector<std::string>& args);

}  // namespace zantor::cli
