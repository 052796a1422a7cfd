#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantor {

// One piece of a string with "/" escapes: a character to send as itself, or
// the value of an escape ("/027", "/$1B", "/ 27", "/-50").
struct EscapePiece {
    bool isValue = false;
    char character = 0;
    int value = 0;
    size_t at = 0;  // where the piece starts in the text
};

// Splits a string meant for a machine or hub: "/" followed by at least three
// more characters takes those three as an integer (decimal, or hexadecimal
// after "$"; leading blanks allowed); three characters that are no integer
// are dropped with their "/"; a "/" with fewer than three characters after it
// is dropped and the rest stays text.
std::vector<EscapePiece> parseSlashEscapes(std::string_view text);

// The bytes of such a string, escape values taken modulo 256.
std::string decodeSlashEscapes(std::string_view text);

}  // namespace zantor
