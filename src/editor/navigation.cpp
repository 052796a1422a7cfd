#include "editor/navigation.h"

#include <algorithm>
#include <charconv>

#include "editor/text_document.h"
#include "editor/text_search.h"

namespace zantor::editor {

bool isJumpLine(std::string_view line, std::string_view marker, std::string_view commentStart) {
    if (marker.empty()) return false;
    const size_t at = line.find(marker);
    if (at == std::string_view::npos) return false;
    if (commentStart.empty()) return true;
    return at < line.find(commentStart);
}

namespace {

// The lines from `first` to `last` that isJumpLine accepts, added to `entries`.
void addJumpLines(const TextDocument& document, std::string_view marker,
                  std::string_view commentStart, int first, int last,
                  std::vector<JumpEntry>& entries) {
    for (int n = first; n <= last; ++n) {
        std::string line = document.GetLine(n, kLineReadLength);
        if (isJumpLine(line, marker, commentStart)) entries.push_back({n, std::move(line)});
    }
}

}  // namespace

std::vector<JumpEntry> jumpList(const TextDocument& document, std::string_view marker,
                                std::string_view commentStart) {
    std::vector<JumpEntry> entries;
    addJumpLines(document, marker, commentStart, 1, document.LineCount(), entries);
    return entries;
}

std::optional<std::vector<JumpEntry>> jumpList(const TextDocument& document,
                                               std::string_view marker,
                                               std::string_view commentStart, SearchWatch& watch,
                                               const JumpListReached& reached) {
    std::vector<JumpEntry> entries;
    const int count = document.LineCount();
    for (int first = 1; first <= count; first += kParagraphsPerWatch) {
        const int last = std::min(count, first + kParagraphsPerWatch - 1);
        addJumpLines(document, marker, commentStart, first, last, entries);
        if (last == count) break;
        if (reached) reached(last, count);
        if (!watch.keepGoing()) return std::nullopt;
    }
    return entries;
}

std::optional<int> parseLineNumber(std::string_view text, int lineCount) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 1 || value > lineCount) return std::nullopt;
    return value;
}

}  // namespace zantor::editor
