#pragma once

#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"
#include "nctools/nc_words.h"

namespace zantor {

// The column layout (MCREGORDER, MCTABW).
struct ColumnLayout {
    std::string registerOrder = "NGXYZRFSTHM";  // one column per letter, in order
    int width = 10;                             // characters per column
};

// "Columizing ...".
std::string makeColumnsCaption();

// The line's code without spaces and tabs, each register of the order (its
// first occurrence) moved right to its column where it stands left of it,
// then the line's comments. An empty line stays empty.
std::string makeColumnsLine(std::string_view line, const ColumnLayout& layout,
                            const CommentMarks& marks);

// Over the selected lines or the whole program; false when cancelled.
bool MakeColumns(editor::TextDocument& document, LineWalkProgress& progress,
                 const ColumnLayout& layout, const CommentMarks& marks);

}  // namespace zantor
