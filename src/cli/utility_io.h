#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "editor/nc_document.h"
#include "machines/machine_settings.h"

namespace CLI {
class App;
}

namespace zantor::cli {

// The program a utility command changes. A missing or unreadable file, a
// folder or a device throws FileError; a file with lines too long to keep
// whole is refused, as writing it back would shorten them.
void readProgram(editor::NcDocument& program, const std::string& file);

// The changed program to `output`, replaced atomically (it may be the file
// read), or to standard output without one; CR LF line ends as saved.
void writeProgram(const CliContext& context, editor::NcDocument& program,
                  const std::optional<std::string>& output);

// Passes the program in `file` line by line through `change` (a walk over its
// lines in order, each edited within itself) to `output` or standard output,
// as writeProgram writes it; the whole program is never held. A file with
// lines too long to keep whole is refused before anything is written; a
// failure part-way leaves `output` as it was (standard output has what went
// before it).
void passProgram(const CliContext& context, const std::string& file,
                 const std::optional<std::string>& output,
                 const std::function<void(editor::TextDocument& program)>& change);

// What every command that changes a program takes: --machine (whose
// values and defaults count), -o and FILE.
struct UtilityArguments {
    std::optional<std::string> machine;
    std::string file;
    std::optional<std::string> output;
};
void addUtilityArguments(CLI::App* command, UtilityArguments& arguments);

// Loads the machine and passes the program through `change` (passProgram);
// exit status 0.
using ProgramChange =
    std::function<void(editor::TextDocument& program, const MachineSettings& machine)>;
int changeProgram(const CliContext& context, const UtilityArguments& arguments,
                  const ProgramChange& change);

}  // namespace zantor::cli
