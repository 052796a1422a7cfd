#include "compare/compare_text_lines.h"

#include <algorithm>

namespace zantor::compare {

namespace {

bool isBlank(char c) { return (unsigned char)(c) <= 32; }

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

char upperAz(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

bool TCompareTextLines::SetPair(std::string_view file1Line, std::string_view file2Line) {
    a_ = file1Line;
    b_ = file2Line;
    return a_ == b_;
}

bool TCompareTextLines::LinesEqual(std::string_view a, std::string_view b) const {
    a = trimRight(a);
    b = trimRight(b);
    if (excludeLeading_) {
        a = trimLeft(a);
        b = trimLeft(b);
    }
    if (a.size() != b.size()) return false;
    if (caseSensitive_) return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upperAz(a[i]) != upperAz(b[i])) return false;
    return true;
}

bool TCompareTextLines::LinesSimilar() {
    const std::string_view a = trimLeft(a_);
    const std::string_view b = trimLeft(b_);
    const std::string_view longer = a.size() > b.size() ? a : b;
    std::string shorter(a.size() > b.size() ? b : a);

    const size_t chunk = std::clamp<size_t>(longer.size() / 5, 1, 5);
    size_t pieces = 0;
    size_t hits = 0;
    for (size_t at = 0; at < longer.size(); at += chunk) {
        const std::string_view piece = longer.substr(at, chunk);
        ++pieces;
        const size_t found = shorter.find(piece);
        if (found != std::string::npos) {
            ++hits;
            shorter.erase(found, chunk);
        }
    }
    allChunksFound_ = false;
    if (pieces == 0) return false;
    allChunksFound_ = hits == pieces;
    return allChunksFound_ || hits * 100 / pieces >= 60;
}

}  // namespace zantor::compare
