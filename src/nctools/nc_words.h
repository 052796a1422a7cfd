#pragma once

#include <string>
#include <string_view>

namespace zantor {

// The word starting at `index` of the line: the register letter and every
// "+", "-", "." or digit after it (G01X-1.25Y.5: the X word is ).
std::string ReadNcWord(std::string_view line, size_t index);
// The length of that word (0 when `index` is past the line).
size_t ReadNcWordLength(std::string_view line, size_t index);

// The first occurrence of `oldPart` in `text` replaced by `newPart`; an
// empty or missing `oldPart` changes nothing.
void ReplaceFirst(std::string& text, std::string_view oldPart, std::string_view newPart);

// Where a line's comment lies: from the first character of the comment
// start string, up to and including the next character equal to the whole
// comment end string (an end of more than one character never matches),
// else to the end of the line.
// A machine's comment marks (CMTSTART, CMTEND) as the utilities use them.
struct CommentMarks {
    std::string start = "(";
    std::string end = ")";
};

struct CommentSpan {
    size_t begin = std::string_view::npos;  // npos: no comment
    size_t end = std::string_view::npos;    // one past its last character
};
CommentSpan findComment(std::string_view line, std::string_view commentStart,
                        std::string_view commentEnd, size_t from = 0);

// A line cut into what the machine reads and its comments (each from its
// start mark up to and including its end mark), joined in order.
struct CommentSplit {
    std::string code;
    std::string comments;
    bool lastClosed = true;  // the last comment ends with its end mark
};
CommentSplit splitComments(std::string_view line, const CommentMarks& marks);

}  // namespace zantor
