#include "dnc/slash_escapes.h"

#include <optional>

namespace zantor {

namespace {

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The three characters after a "/" as an integer, when they are one.
std::optional<int> escapeValue(std::string_view three) {
    size_t at = three.find_first_not_of(' ');
    if (at == std::string_view::npos) return std::nullopt;
    bool negative = false;
    if (three[at] == '-' || three[at] == '+') negative = three[at++] == '-';
    int base = 10;
    if (at < three.size() && three[at] == '$') {
        base = 16;
        ++at;
    }
    if (at == three.size()) return std::nullopt;
    int value = 0;
    for (; at < three.size(); ++at) {
        const int d = digitValue(three[at], base);
        if (d < 0) return std::nullopt;
        value = value * base + d;
    }
    return negative ? -value : value;
}

}  // namespace

std::vector<EscapePiece> parseSlashEscapes(std::string_view text) {
    std::vector<EscapePiece> pieces;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '/') {
            pieces.push_back({false, text[i], 0, i});
            continue;
        }
        if (text.size() - i - 1 < 3) continue;  // the lone "/" goes; the rest is text
        if (const auto value = escapeValue(text.substr(i + 1, 3)))
            pieces.push_back({true, 0, *value, i});
        i += 3;
    }
    return pieces;
}

std::string decodeSlashEscapes(std::string_view text) {
    std::string bytes;
    for (const EscapePiece& p : parseSlashEscapes(text))
        bytes.push_back(p.isValue ? char(((p.value % 256) + 256) % 256) : p.character);
    return bytes;
}

}  // namespace zantor
