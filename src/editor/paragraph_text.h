#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zantor::editor {

// Small rules on paragraph text that every editor part applies alike.

// Blanks are spaces and tabs: what is trimmed from the end of a paragraph.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view withoutTrailingBlanks(std::string_view text);

// Inserted text split into paragraphs at CR LF, LF or a lone CR; always at
// least one piece.
std::vector<std::string> splitParagraphs(std::string_view text);

// The characters before the first line break.
std::size_t firstLineLength(std::string_view text);

// How many characters two texts share at their start, and then at their end
// (never overlapping): an edit need only replace what lies between.
struct SharedEnds {
    std::size_t head = 0;
    std::size_t tail = 0;
};
SharedEnds sharedEnds(std::string_view before, std::string_view after);

}  // namespace zantor::editor
