#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zantor::editor {

// How one paragraph is shown: tabs expanded to the next tab stop, and with
// word wrap the breaking into display lines. Shared by the document and the
// viewers so that every caller counts columns alike.
struct LayoutSettings {
    bool wordWrap = false;
    int wrapColumn = 80;
    int tabSize = 8;
};

// The text with each tab expanded to spaces up to the next tab stop, cut to
// maxLength characters. Tab stops count from the start of the paragraph,
// where `text` begins at column startColumn (0 for a whole paragraph).
std::string expandTabs(std::string_view text, int tabSize, size_t maxLength, int startColumn = 0);
// The column (0-based) where the character at `offset` begins.
int columnOfOffset(std::string_view paragraph, int offset, int tabSize);

// Start offsets of the display lines of a paragraph; the first is always 0.
// Without word wrap a paragraph is one display line. With it, a display line
// holds at most wrapColumn columns, counted from the paragraph's start: when
// a character does not fit, the line breaks before the last word that began
// on it after a blank or, when none did, before that character. This is where
// the editor views break their lines too.
std::vector<int> displayLineStarts(std::string_view paragraph, const LayoutSettings& layout);
int displayLineCount(std::string_view paragraph, const LayoutSettings& layout);

// With the starts above: the display line (0-based, within the paragraph)
// that holds `offset`, and the start and end offsets of display line `part`
// of a paragraph `length` characters long.
int displayLineOfOffset(const std::vector<int>& starts, int offset);
std::pair<int, int> displayLineSpan(const std::vector<int>& starts, int part, int length);

}  // namespace zantor::editor
