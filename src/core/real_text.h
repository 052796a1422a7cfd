#pragma once

#include <string>
#include <string_view>

namespace zantor {

class Interaction;

// A plain decimal number typed by the user ("12.5", "-.25", "1E3"). When the
// text is not a number, the user is warned with the text and the position of
// the first offending character, and the value is 0.
double ParseRealOrWarn(std::string_view text, Interaction& interaction);
// 1-based position of the first character that stops `text` from being a
// number, 0 when it is one.
size_t realTextErrorPosition(std::string_view text);

// The value with exactly five decimals; with stripZeros the trailing zeros go
// and the point stays ("12.5", "12.", "0.").
std::string FormatReal5(double value, bool stripZeros = false);

}  // namespace zantor
