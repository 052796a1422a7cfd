#include "nctools/nc_words.h"

#include <algorithm>

namespace zantor {

namespace {
bool isValueCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}
}  // namespace

size_t ReadNcWordLength(std::string_view line, size_t index) {
    if (index >= line.size()) return 0;
    size_t end = index + 1;
    while (end < line.size() && isValueCharacter(line[end])) ++end;
    return end - index;
}

std::string ReadNcWord(std::string_view line, size_t index) {
    return std::string(line.substr(std::min(index, line.size()), ReadNcWordLength(line, index)));
}

void ReplaceFirst(std::string& text, std::string_view oldPart, std::string_view newPart) {
    if (oldPart.empty()) return;
    const size_t at = text.find(oldPart);
    if (at != std::string::npos) text.replace(at, oldPart.size(), newPart);
}

CommentSpan findComment(std::string_view line, std::string_view commentStart,
                        std::string_view commentEnd, size_t from) {
    CommentSpan span;
    if (commentStart.empty()) return span;
    span.begin = line.find(commentStart[0], from);
    if (span.begin == std::string_view::npos) return span;
    span.end = line.size();
    if (commentEnd.size() == 1) {
        const size_t close = line.find(commentEnd[0], span.begin + 1);
        if (close != std::string_view::npos) span.end = close + 1;
    }
    return span;
}

CommentSplit splitComments(std::string_view line, const CommentMarks& marks) {
    CommentSplit split;
    size_t at = 0;
    while (at < line.size()) {
        const CommentSpan comment = findComment(line, marks.start, marks.end, at);
        if (comment.begin == std::string_view::npos) break;
        split.code.append(line.substr(at, comment.begin - at));
        split.comments.append(line.substr(comment.begin, comment.end - comment.begin));
        split.lastClosed = marks.end.size() == 1 && comment.end > comment.begin + 1 &&
                           line[comment.end - 1] == marks.end[0];
        at = comment.end;
    }
    if (at < line.size()) split.code.append(line.substr(at));
    return split;
}

}  // namespace zantor
