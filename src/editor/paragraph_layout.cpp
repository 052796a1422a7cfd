#include "editor/paragraph_layout.h"

#include <algorithm>

#include "editor/paragraph_text.h"

namespace zantor::editor {

namespace {

int tabWidth(int column, int tabSize) {
    return tabSize - column % tabSize;
}

int charWidth(char c, int column, int tabSize) {
    return c == '\t' ? tabWidth(column, tabSize) : 1;
}

// Calls onBreak(offset) for every display line after the first. This is the
// editor control's own wrapping at blanks, counted in columns, so that the
// views break exactly where the document does: columns count from the start
// of the paragraph (a tab reaches the paragraph's next tab stop); when a
// character would end past the wrap column, the line breaks before the last
// word that began on it after a blank, or, when none did, before that
// character. A word that begins on the character that does not fit does not
// count: the control decides before it looks at that character. Each line
// keeps at least one character.
template <typename OnBreak>
void walkBreaks(std::string_view paragraph, const LayoutSettings& layout, OnBreak onBreak) {
    if (!layout.wordWrap) return;
    const int wrap = std::max(1, layout.wrapColumn);
    const int tabSize = std::max(1, layout.tabSize);
    const int n = int(paragraph.size());
    int total = 0;
    for (const char c : paragraph) total += charWidth(c, total, tabSize);
    if (total <= wrap) return;
    // ends[i]: the column where character i ends.
    std::vector<int> ends(static_cast<size_t>(n));
    int column = 0;
    for (int i = 0; i < n; ++i)
        ends[size_t(i)] = column += charWidth(paragraph[size_t(i)], column, tabSize);
    int lineStart = 0;
    int lastGoodBreak = 0;
    int startColumn = 0;
    int p = 0;
    while (p < n) {
        if (ends[size_t(p)] - startColumn > wrap) {
            if (lastGoodBreak == lineStart) {
                if (p > 0) lastGoodBreak = p;
                if (lastGoodBreak == lineStart) lastGoodBreak = lineStart + 1;
            }
            lineStart = lastGoodBreak;
            if (lineStart >= n) return;
            onBreak(lineStart);
            startColumn = ends[size_t(lineStart) - 1];
            p = lineStart + 1;
            continue;
        }
        if (p > 0 && isBlank(paragraph[size_t(p) - 1]) && !isBlank(paragraph[size_t(p)]))
            lastGoodBreak = p;
        ++p;
    }
}

}  // namespace

std::string expandTabs(std::string_view text, int tabSize, size_t maxLength, int startColumn) {
    tabSize = std::max(1, tabSize);
    std::string out;
    out.reserve(std::min(text.size(), maxLength));
    for (const char c : text) {
        if (out.size() >= maxLength) break;
        if (c == '\t')
            out.append(size_t(tabWidth(startColumn + int(out.size()), tabSize)), ' ');
        else
            out.push_back(c);
    }
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}

std::vector<int> displayLineStarts(std::string_view paragraph, const LayoutSettings& layout) {
    std::vector<int> starts{0};
    walkBreaks(paragraph, layout, [&](int offset) { starts.push_back(offset); });
    return starts;
}

int displayLineCount(std::string_view paragraph, const LayoutSettings& layout) {
    int count = 1;
    walkBreaks(paragraph, layout, [&](int) { ++count; });
    return count;
}

int columnOfOffset(std::string_view paragraph, int offset, int tabSize) {
    tabSize = std::max(1, tabSize);
    int column = 0;
    for (int i = 0; i < offset && i < int(paragraph.size()); ++i)
        column += charWidth(paragraph[size_t(i)], column, tabSize);
    return column;
}

int displayLineOfOffset(const std::vector<int>& starts, int offset) {
    return int(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
}

std::pair<int, int> displayLineSpan(const std::vector<int>& starts, int part, int length) {
    const size_t k = size_t(part);
    return {starts[k], k + 1 < starts.size() ? starts[k + 1] : length};
}

}  // namespace zantor::editor
