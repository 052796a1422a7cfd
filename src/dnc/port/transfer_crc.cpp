#include "dnc/port/transfer_crc.h"

#include <array>

namespace zantor {

namespace {

constexpr std::array<uint16_t, 256> makeCrc16Table() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = uint16_t(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> makeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrc16Table = makeCrc16Table();
constexpr auto kCrc32Table = makeCrc32Table();

}  // namespace

uint16_t crc16(const uint8_t* bytes, size_t count, uint16_t crc) {
    for (size_t i = 0; i < count; ++i)
        crc = uint16_t((crc << 8) ^ kCrc16Table[((crc >> 8) ^ bytes[i]) & 0xFF]);
    return crc;
}

uint32_t crc32Update(const uint8_t* bytes, size_t count, uint32_t crc) {
    for (size_t i = 0; i < count; ++i) crc = kCrc32Table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

}  // namespace zantor
