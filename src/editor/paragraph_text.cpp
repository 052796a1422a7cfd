#include "editor/paragraph_text.h"

#include <algorithm>

namespace zantor::editor {

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string> splitParagraphs(std::string_view text) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            pieces.emplace_back();
        } else {
            pieces.back().push_back(c);
        }
    }
    return pieces;
}

std::size_t firstLineLength(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text.size() : end;
}

SharedEnds sharedEnds(std::string_view before, std::string_view after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    SharedEnds ends;
    while (ends.head < shorter && before[ends.head] == after[ends.head]) ++ends.head;
    while (ends.tail < shorter - ends.head &&
           before[before.size() - 1 - ends.tail] == after[after.size() - 1 - ends.tail])
        ++ends.tail;
    return ends;
}

}  // namespace zantor::editor
