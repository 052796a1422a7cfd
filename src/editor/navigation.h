#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantor::editor {

class TextDocument;

// A line offered by the jump dialogs: its number and its text.
struct JumpEntry {
    int line = 0;
    std::string text;
    friend bool operator==(const JumpEntry&, const JumpEntry&) = default;
};

// Whether a line holds `marker` (exact case) before any `commentStart`: a
// tool or program number in a comment is no landmark.
bool isJumpLine(std::string_view line, std::string_view marker, std::string_view commentStart);

// The display lines of `document` (each read up to 1024 characters) that
// isJumpLine accepts, in order.
std::vector<JumpEntry> jumpList(const TextDocument& document, std::string_view marker,
                                std::string_view commentStart);

// The line number typed into Go to Line: a whole number in 1..lineCount
// (blanks around it allowed), else nothing.
std::optional<int> parseLineNumber(std::string_view text, int lineCount);

}  // namespace zantor::editor
