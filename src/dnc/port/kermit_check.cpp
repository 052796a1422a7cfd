#include "dnc/port/kermit_check.h"

#include <array>

namespace zantor::kermit {

namespace {

constexpr std::array<uint16_t, 256> makeTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = uint16_t(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0x8408) : uint16_t(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kTable = makeTable();

unsigned sum(std::string_view bytes) {
    unsigned s = 0;
    for (const char c : bytes) s += uint8_t(c);
    return s;
}

}  // namespace

uint16_t crc16Reflected(std::string_view bytes, uint16_t crc) {
    for (const char c : bytes) crc = uint16_t((crc >> 8) ^ kTable[(crc ^ uint8_t(c)) & 0xFF]);
    return crc;
}

std::string blockCheck(std::string_view bytes, int type) {
    if (type == 2) {
        const unsigned s = sum(bytes) & 0xFFF;
        return {toChar(int(s >> 6)), toChar(int(s & 0x3F))};
    }
    if (type == 3) {
        const unsigned crc = crc16Reflected(bytes);
        return {toChar(int(crc >> 12) & 0x0F), toChar(int(crc >> 6) & 0x3F),
                toChar(int(crc & 0x3F))};
    }
    // The two top bits of the low byte folded into the six that are sent.
    const unsigned s = sum(bytes);
    return {toChar(int((s + ((s & 0xC0) >> 6)) & 0x3F))};
}

}  // namespace zantor::kermit
