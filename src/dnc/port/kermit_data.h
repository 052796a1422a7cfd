#pragma once

#include <string>
#include <string_view>

namespace zantor::kermit {

// The prefixes the two ends agreed on for data fields.
struct Quoting {
    char control = '#';  // before a control character made printable
    char eighthBit = 0;  // before a byte with bit 8 set; 0: none (an 8-bit line)
    char repeat = 0;     // before a repeat count; 0: none
};

// Runs shorter than this go out byte by byte: they would not be shorter
// with a count.
inline constexpr size_t kShortestRepeat = 3;
inline constexpr size_t kLongestRepeat = 94;

// Encodes bytes from the front of `bytes` onto `out` while they fit in
// `room` more characters, never splitting one byte's prefixes; returns how
// many bytes were taken.
size_t encodeData(std::string_view bytes, const Quoting& quoting, size_t room, std::string& out);

// Appends the bytes a data field stands for to `out`; false when the field
// ends inside a prefix.
bool decodeData(std::string_view field, const Quoting& quoting, std::string& out);

}  // namespace zantor::kermit
