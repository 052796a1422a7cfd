#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/text_document.h"
#include "nctools/line_walk.h"

namespace zantor {

// Where and how the programs of a file are written, one file each.
struct SplitSettings {
    std::string folder;           // the machine's load/save folder (DIRLS)
    std::string extension = "TAP";  // without its point (DEFEXT)
    std::string prefix = "%";     // first line of every file; lines starting with it are not copied
    std::string suffix = "%";     // last line of every file
    std::string programId = "O";  // a line starting with it starts a program (PROGID)
    bool alwaysOverwrite = false;
};

// Asked, unless the files are always overwritten, when an output file
// exists: the path to write instead, or nothing to end the whole split.
using OverwriteQuestion = std::function<std::optional<std::string>(const std::string& path)>;

// "Splitting File ...".
std::string splitCaption();

// The file a program line names: the program character with the digits
// after it, ":" written as "O" (":1234 (A)" gives "O1234").
std::string splitFileName(std::string_view programLine);

struct SplitResult {
    std::vector<std::string> files;  // in the order written
    bool complete = true;            // false when cancelled or the question said stop
};

// Writes every program of the document to its own file (CR LF lines, the
// prefix first and the suffix last); lines before the first program, empty
// lines and prefix lines are not copied. The document is not changed. A
// file that cannot be written throws FileError; the files before it stay.
SplitResult SplitPrograms(editor::TextDocument& document, LineWalkProgress& progress,
                          const SplitSettings& settings, const OverwriteQuestion& askOverwrite);

}  // namespace zantor
