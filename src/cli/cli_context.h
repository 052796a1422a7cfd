#pragma once

#include <iosfwd>
#include <string>

namespace zantor::cli {

// What every command gets: the folders chosen by the global options and the
// output streams. A command's own options and arguments are read by CLI11
// into the closure that runs it.
struct CliContext {
    std::string programFolder;
    std::string systemFolder;
    std::ostream& out;
    std::ostream& err;
};

// A command's failure: the message is printed as one line on stderr and the
// program exits with status 1.
struct CliError {
    std::string message;
};

}  // namespace zantor::cli
