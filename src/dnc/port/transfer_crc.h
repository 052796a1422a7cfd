#pragma once

#include <cstddef>
#include <cstdint>

namespace zantor {

// CRC-16 with polynomial 0x1021, start 0, no reflection: the block check of
// the XMODEM family and of ZMODEM's 16-bit frames. Feed the previous value
// to continue over more bytes.
uint16_t crc16(const uint8_t* bytes, size_t count, uint16_t crc = 0);

// The common reflected CRC-32 (polynomial 0xEDB88320) before its final
// inversion: start with 0xFFFFFFFF and invert the result.
uint32_t crc32Update(const uint8_t* bytes, size_t count, uint32_t crc);

}  // namespace zantor
