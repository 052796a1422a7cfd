#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zantor {

// How the terminal's hex mode shows received bytes: each as its character,
// "[", two hexadecimal digits and "],"; CR as "<cr>", LF as "<lf>" followed
// by a new line so that the lines of a program stay lines. A byte without a
// picture (a control byte) shows as "." before its digits.
std::string hexModeText(uint8_t b);
std::string hexModeText(std::string_view bytes);

}  // namespace zantor
