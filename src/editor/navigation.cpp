#include "editor/navigation.h"

#include <charconv>

#include "editor/text_document.h"

namespace zantor::editor {

bool isJumpLine(std::string_view line, std::string_view marker, std::string_view commentStart) {
    if (marker.empty()) return false;
    const size_t at = line.find(marker);
    if (at == std::string_view::npos) return false;
    if (commentStart.empty()) return true;
    return at < line.find(commentStart);
}

std::vector<JumpEntry> jumpList(const TextDocument& document, std::string_view marker,
                                std::string_view commentStart) {
    std::vector<JumpEntry> entries;
    const int count = document.LineCount();
    for (int n = 1; n <= count; ++n) {
        std::string line = document.GetLine(n, kLineReadLength);
        if (isJumpLine(line, marker, commentStart)) entries.push_back({n, std::move(line)});
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
