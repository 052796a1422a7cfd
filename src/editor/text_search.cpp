#include "editor/text_search.h"

#include <algorithm>
#include <cstring>

#include "core/text_util.h"

namespace zantor::editor {

namespace {

bool matchesAt(std::string_view line, std::string_view text, size_t at, const MatchRules& rules) {
    if (at + text.size() > line.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char a = line[at + i];
        const char b = text[i];
        if (rules.matchCase ? a != b : asciiUpper(a) != asciiUpper(b)) return false;
    }
    if (!rules.wholeWord) return true;
    const size_t end = at + text.size();
    return (at == 0 || isWordDelimiter(line[at - 1])) &&
           (end == line.size() || isWordDelimiter(line[end]));
}

}  // namespace

bool isWordDelimiter(char c) {
    static constexpr char kDelimiters[] = "\t'`\"\r\n @,./?;:<>[]{}-=\\+|()%&^$#!~*";
    return c != '\0' && std::strchr(kDelimiters, c) != nullptr;
}

size_t findForward(std::string_view line, std::string_view text, size_t from,
                   const MatchRules& rules) {
    if (text.empty() || text.size() > line.size()) return std::string_view::npos;
    const char first = text[0];
    const char firstUpper = asciiUpper(first);
    for (size_t at = from; at + text.size() <= line.size(); ++at) {
        const char c = line[at];
        if (rules.matchCase ? c != first : asciiUpper(c) != firstUpper) continue;
        if (matchesAt(line, text, at, rules)) return at;
    }
    return std::string_view::npos;
}

size_t findBackward(std::string_view line, std::string_view text, size_t before,
                    const MatchRules& rules) {
    if (text.empty() || text.size() > line.size() || before == 0) return std::string_view::npos;
    size_t at = std::min(before - 1, line.size() - text.size());
    for (;; --at) {
        if (matchesAt(line, text, at, rules)) return at;
        if (at == 0) return std::string_view::npos;
    }
}

}  // namespace zantor::editor
