#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantor {

// The three tape codes a control can read (the machine record's TapeCode).
enum class TapeCode { Eia = 0, Ascii = 1, Iso = 2 };

// The tape code of a machine record's TapeCode index; ISO for an index
// outside the list, the code that changes nothing.
TapeCode tapeCodeOf(int index);

// EIA (RS-244): odd parity in channel 5, 0x80 end of block. Lower-case
// letters are sent as capitals; a character the code has no hole pattern for
// gives 0x20, so callers check hasEiaCode first (0x20 is the digit zero).
uint8_t encodeEia(uint8_t byte);
bool hasEiaCode(uint8_t byte);
// A code read back from the tape; 0x3F ("?") for a pattern that means nothing.
uint8_t decodeEia(uint8_t code);

// Sets or clears bit 7 so that the byte holds an even number of one bits.
uint8_t addEvenParity(uint8_t byte);

// A place in a text file as the editor numbers it: lines end at CR LF, LF
// or a lone CR; both count from 1.
struct TextPosition {
    long long line = 1;
    long long column = 1;
    bool afterCr = false;

    void advance(uint8_t byte) {
        if (byte == '\n' && afterCr) {
            afterCr = false;
            return;
        }
        afterCr = byte == '\r';
        if (byte == '\r' || byte == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
};

// The first character of `text` (from `start` on) that has no EIA code and
// is no line end, with its place.
struct EiaProblem {
    TextPosition at;
    uint8_t character = 0;
};
std::optional<EiaProblem> findEiaProblem(std::string_view text, TextPosition start = {});

// "line 3, column 7: "{" (0x7B) has no EIA code".
std::string describeEiaProblem(const EiaProblem& problem);
// ""{" (0x7B)", or "(0x01)" for a character that does not print.
std::string describeCharacter(uint8_t character);

}  // namespace zantor
