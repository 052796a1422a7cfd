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

// The text with each tab expanded to spaces up to the next tab stop (tab
// stops counted from the start of `text`), cut to maxLength characters.
std::string expandTabs(std::string_view text, int tabSize, size_t maxLength);

// Start offsets of the display lines of a paragraph; the first is always 0.
// Without word wrap a paragraph is one display line. With it, a display line
// holds at most wrapColumn columns: when the next character does not fit, the
// line breaks after its last blank or, when it has none, before that
// character.
std::vector<int> displayLineStarts(std::string_view paragraph, const LayoutSettings& layout);
int displayLineCount(std::string_view paragraph, const LayoutSettings& layout);

// With the starts above: the display line (0-based, within the paragraph)
// that holds `offset`, and the start and end offsets of display line `part`
// of a paragraph `length` characters long.
int displayLineOfOffset(const std::vector<int>& starts, int offset);
std::pair<int, int> displayLineSpan(const std::vector<int>& starts, int part, int length);

}  // namespace zantor::editor
