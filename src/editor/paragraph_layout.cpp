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

// Calls onBreak(offset) for every display line after the first.
template <typename OnBreak>
void walkBreaks(std::string_view paragraph, const LayoutSettings& layout, OnBreak onBreak) {
    if (!layout.wordWrap) return;
    const int wrap = std::max(1, layout.wrapColumn);
    const int tabSize = std::max(1, layout.tabSize);
    int lineStart = 0;
    int column = 0;
    int afterLastBlank = -1;  // offset just past the last blank of the current line
    for (int i = 0; i < int(paragraph.size()); ++i) {
        const char c = paragraph[size_t(i)];
        int width = charWidth(c, column, tabSize);
        if (column + width > wrap && i > lineStart) {
            const int breakAt = afterLastBlank > lineStart ? afterLastBlank : i;
            onBreak(breakAt);
            lineStart = breakAt;
            afterLastBlank = -1;
            column = 0;
            for (int k = lineStart; k < i; ++k)
                column += charWidth(paragraph[size_t(k)], column, tabSize);
            width = charWidth(c, column, tabSize);
            // The carried-over word may itself be too long for a line.
            if (column + width > wrap && i > lineStart) {
                onBreak(i);
                lineStart = i;
                column = 0;
                width = charWidth(c, column, tabSize);
            }
        }
        column += width;
        if (isBlank(c)) afterLastBlank = i + 1;
    }
}

}  // namespace

std::string expandTabs(std::string_view text, int tabSize, size_t maxLength) {
    tabSize = std::max(1, tabSize);
    std::string out;
    out.reserve(std::min(text.size(), maxLength));
    for (const char c : text) {
        if (out.size() >= maxLength) break;
        if (c == '\t')
            out.append(size_t(tabWidth(int(out.size()), tabSize)), ' ');
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

int displayLineOfOffset(const std::vector<int>& starts, int offset) {
    return int(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
}

std::pair<int, int> displayLineSpan(const std::vector<int>& starts, int part, int length) {
    const size_t k = size_t(part);
    return {starts[k], k + 1 < starts.size() ? starts[k + 1] : length};
}

}  // namespace zantor::editor
