#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zantor::kermit {

// A number 0..94 as a printable character, and back.
constexpr char toChar(int n) {
    return char(n + 32);
}
constexpr int unChar(char c) {
    return int(uint8_t(c)) - 32;
}
// A control character made printable (and back): bit 6 flipped.
constexpr uint8_t ctl(uint8_t c) {
    return uint8_t(c ^ 64);
}

// CRC-16 with the reflected polynomial 0x8408, start 0: the 3-character
// block check.
uint16_t crc16Reflected(std::string_view bytes, uint16_t crc = 0);

// The block check of `bytes` (LEN through the end of the data) of `type`
// 1 (6-bit sum), 2 (12-bit sum) or 3 (CRC): as many printable characters.
std::string blockCheck(std::string_view bytes, int type);

}  // namespace zantor::kermit
