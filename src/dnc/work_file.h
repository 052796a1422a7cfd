#pragma once

#include <string>

#include "dnc/tape_options.h"

namespace zantor {

// Converts the text file `source` into `workFile`: the lines the machine is
// to get, in its tape code, each ended by the code's end of block (EIA 0x80,
// ASCII 0x8D 0x0A, ISO CR LF). Lines end where the editor's loader ends them
// (CR LF, LF or a lone CR) and a Ctrl-Z ends the text. Lines starting with
// the comment character are dropped, and empty lines when StripBlankLines is
// on; FilterLineFeeds drops the line feeds that follow a line end, so runs
// of them give no empty lines. `workFile` is replaced only when all went
// well. Throws FileError, and TapeCodeError under EIA for a character
// without an EIA code (naming `shownName`, its line and column).
void buildWorkFile(const std::string& source, const std::string& workFile,
                   const TapeOptions& options, const std::string& shownName);

}  // namespace zantor
