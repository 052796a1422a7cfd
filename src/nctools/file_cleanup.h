#pragma once

#include <array>
#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"
#include "nctools/nc_words.h"

namespace zantor {

// The File Cleanup operations in the order they run; the machine keeps
// whether each is ticked as FCOPT1..FCOPT6.
enum class CleanupOperation {
    DeleteBeforeFirstPercent,
    RemoveControlCharacters,
    RemoveComments,
    RemoveBlankLines,
    StripAfterProgramEnd,
    AddPercentAtEnd,
};
inline constexpr int kCleanupOperations = 6;
using CleanupChoice = std::array<bool, kCleanupOperations>;

// The check box's caption, and the progress box's (empty: no box).
std::string cleanupCaption(CleanupOperation operation);
std::string cleanupProgressCaption(CleanupOperation operation);

// Characters below 32 and above 127 taken out; tabs stay.
std::string withoutControlCharacters(std::string_view line);
// Every comment taken out; what is around it stays.
std::string withoutComments(std::string_view line, const CommentMarks& marks);
// Whether the line holds M02, M30 or M99 anywhere (inside comments and
// longer words too).
bool holdsProgramEnd(std::string_view line);

// Each returns false when cancelled; the changes so far stay.

// Whole program: every character before the first "%" goes, the lines
// before its line staying as empty lines. A program without any "%" is
// left as it is (emptying it all would lose the program).
bool DeleteBeforeFirstPercent(editor::TextDocument& document, LineWalkProgress& progress);
// Selected lines or the whole program.
bool RemoveControlCharacters(editor::TextDocument& document, LineWalkProgress& progress);
bool RemoveComments(editor::TextDocument& document, LineWalkProgress& progress,
                    const CommentMarks& marks);
// Selected lines or the whole program: lines without any character go
// (a line of blanks stays); the range's last line is never examined.
bool RemoveBlankLines(editor::TextDocument& document, LineWalkProgress& progress);
// Whole program: every line after the last line holding an end code goes;
// the document's last line stays as an empty line. Without an end code
// nothing changes.
bool StripAfterProgramEnd(editor::TextDocument& document, LineWalkProgress& progress);
// A last line "%" appended, whether or not there is one already.
void AddPercentAtEnd(editor::TextDocument& document);

// Runs the chosen operations in their order, each over the document; stops
// at a Cancel and returns false.
bool RunFileCleanup(editor::TextDocument& document, LineWalkProgress& progress,
                    const CleanupChoice& choice, const CommentMarks& marks);

}  // namespace zantor
