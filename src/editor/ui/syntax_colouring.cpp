#include "editor/ui/syntax_colouring.h"

namespace zantor::editor {

namespace {

bool isNonAlpha(char c) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

// The delimiter's first character, when the whole delimiter occurs in the
// visible part; otherwise the delimiter never switches the state.
bool switchChar(std::string_view visible, std::string_view delimiter, char* first) {
    delimiter = delimiter.substr(0, kCommentStringLimit);
    if (delimiter.empty() || visible.find(delimiter) == std::string_view::npos) return false;
    *first = delimiter.front();
    return true;
}

}  // namespace

std::vector<SyntaxClass> classifyVisibleLine(std::string_view visible,
                                             const CommentStrings& comments) {
    char startChar = 0, endChar = 0;
    const bool startSwitches = switchChar(visible, comments.start, &startChar);
    const bool endSwitches = switchChar(visible, comments.end, &endChar);
    std::vector<SyntaxClass> classes;
    classes.reserve(visible.size());
    bool inComment = false;
    for (const char c : visible) {
        if (startSwitches && c == startChar) inComment = true;
        if (inComment)
            classes.push_back(SyntaxClass::Comment);
        else
            classes.push_back(isNonAlpha(c) ? SyntaxClass::NonAlpha : SyntaxClass::Alpha);
        if (endSwitches && c == endChar) inComment = false;
    }
    return classes;
}

}  // namespace zantor::editor
