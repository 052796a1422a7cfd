#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zantor::xmodem {

inline constexpr uint8_t kSoh = 0x01;  // a 128-byte block follows
inline constexpr uint8_t kStx = 0x02;  // a 1024-byte block follows
inline constexpr uint8_t kEot = 0x04;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kCan = 0x18;
inline constexpr uint8_t kCrcRequest = 'C';
inline constexpr uint8_t kPad = 0x1A;

// A whole block as it goes on the line: header, number and its complement,
// `data` padded to 128 or 1024 bytes with `pad` (Ctrl-Z for file data, NUL
// for a batch header), then the CRC-16 or the arithmetic checksum.
std::string encodeBlock(uint8_t number, std::string_view data, bool large, bool crc,
                        uint8_t pad = kPad);

// The batch header's data: name, NUL, size in decimal and the modification
// time in octal; empty name for the end of a batch.
std::string headerData(std::string_view name, long long size, long long modified);

struct HeaderInfo {
    std::string name;
    long long size = -1;  // -1 when the sender gave none
};
HeaderInfo parseHeader(std::string_view data);

// Whether the block check at the end of `payload` (the data bytes only)
// matches.
bool checkMatches(std::string_view payload, std::string_view check, bool crc);

}  // namespace zantor::xmodem
