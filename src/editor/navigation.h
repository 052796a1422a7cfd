#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantor::editor {

class SearchWatch;
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

// How far a long listing has got: the line just read and the line count.
using JumpListReached = std::function<void(int line, int lineCount)>;

// The same list read under a watch: every kParagraphsPerWatch lines `reached`
// (when given) hears how far the reading got, then the watch is asked
// whether to go on. Nothing when the watch stopped it.
std::optional<std::vector<JumpEntry>> jumpList(const TextDocument& document,
                                               std::string_view marker,
                                               std::string_view commentStart, SearchWatch& watch,
                                               const JumpListReached& reached = {});

// The line number typed into Go to Line: a whole number in 1..lineCount
// (blanks around it allowed), else nothing.
std::optional<int> parseLineNumber(std::string_view text, int lineCount);

}  // namespace zantor::editor
