#include "core/text_util.h"

#include <charconv>

namespace zantor {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = asciiLower(c);
    return out;
}

std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = asciiUpper(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

bool lessIgnoreCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(asciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(asciiLower(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

std::string_view trimBlanks(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return text.substr(b, e - b);
}

std::string trimRightControl(std::string_view text) {
    size_t e = text.size();
    while (e > 0 && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(0, e));
}

std::optional<int> parseInt(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int parseIntOr(std::string_view text, int fallback) {
    return parseInt(text).value_or(fallback);
}

}  // namespace zantor
