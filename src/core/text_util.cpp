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

std::optional<std::string> utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        // Two-byte sequences C2 80 .. C3 BF are exactly U+0080 .. U+00FF.
        if ((c != 0xC2 && c != 0xC3) || i + 1 == utf8.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(utf8[i + 1]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        out += char(((c & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return out;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
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
