#pragma once

#include <string>
#include <string_view>

namespace zantor {

// How a machine writes axis and feed values; WholeNumber is for spindle
// speeds only and never stored for a machine.
enum class NcNumberFormat { Decimal = 1, LeadingZeros = 2, TrailingZeros = 3, LeadingTrailing = 4, WholeNumber = 5 };

// A stored format code read as a format: any code outside 1..4 is Decimal.
NcNumberFormat numberFormatOf(int code);

// A value written in a number format with `left` digits before and `right`
// after the point (the register letter is the caller's). Halves round away
// from zero, a fraction that rounds up carries into the integer part, and
// an integer part longer than `left` digits is never cut.
std::string FormatNcNumber(NcNumberFormat format, int left, int right, double value);

// A word's value written in a number format; the text may start with its
// register letter. Text that is no number reads as 0, without a report.
double ParseNcNumber(std::string_view text, NcNumberFormat format, int left, int right);

}  // namespace zantor
