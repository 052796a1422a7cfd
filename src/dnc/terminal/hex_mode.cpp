#include "dnc/terminal/hex_mode.h"

namespace zantor {

std::string hexModeText(uint8_t b) {
    if (b == '\r') return "<cr>";
    if (b == '\n') return "<lf>\r\n";
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const bool picture = (b >= 0x20 && b < 0x7F) || b >= 0xA0;
    std::string text(1, picture ? char(b) : '.');
    text += '[';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
    text += "],";
    return text;
}

std::string hexModeText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 6);
    for (const char c : bytes) text += hexModeText(uint8_t(c));
    return text;
}

}  // namespace zantor
