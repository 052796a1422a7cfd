#pragma once

#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"

namespace zantor {

// What goes at the start and the end of every line (CLBFROM, CLBTO,
// CLEFROM, CLETO).
struct LineEnds {
    std::string beginFrom;  // replaced by beginTo where a line starts with it
    std::string beginTo;    // put at the start of every line
    std::string endFrom;    // taken away where a line ends with it
    std::string endTo;      // added at the end of every line
};

// "Chainging Line Begin/End ...".
std::string lineEndsCaption();

// The line with its end and its start changed; an empty line stays empty.
std::string changeLineEnds(std::string_view line, const LineEnds& ends);

// Over the selected lines or the whole program; false when cancelled.
bool ChangeLineEnds(editor::TextDocument& document, LineWalkProgress& progress,
                    const LineEnds& ends);

}  // namespace zantor
