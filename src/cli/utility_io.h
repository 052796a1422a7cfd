#pragma once

#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "editor/nc_document.h"

namespace zantor::cli {

// The program a utility command changes. A missing or unreadable file, a
// folder or a device throws FileError; a file with lines too long to keep
// whole is refused, as writing it back would shorten them.
void readProgram(editor::NcDocument& program, const std::string& file);

// The changed program to `output`, replaced atomically (it may be the file
// read), or to standard output without one; CR LF line ends as saved.
void writeProgram(const CliContext& context, editor::NcDocument& program,
                  const std::optional<std::string>& output);

}  // namespace zantor::cli
