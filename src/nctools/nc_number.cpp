#include "nctools/nc_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zantor {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A plain decimal number, all of the text; none otherwise.
bool readDecimal(std::string_view text, double& value) {
    if (text.empty()) return false;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return error == std::errc() && end == text.data() + text.size();
}

double powerOfTen(int exponent) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    return exponent >= 0 && exponent < 16 ? kPowers[exponent] : std::pow(10.0, exponent);
}

// A whole, non-negative value in decimal, written into `buffer`; to_chars
// while it fits a 64-bit integer (printf is several times slower and the
// utilities write millions).
std::string_view wholeNumberText(double whole, char (&buffer)[400]) {
    if (whole < 1e18) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, (long long)whole).ptr;
        return {buffer, size_t(end - buffer)};
    }
    const int length = std::snprintf(buffer, sizeof buffer, "%.0f", whole);
    return {buffer, size_t(std::clamp(length, 0, int(sizeof buffer) - 1))};
}

std::string_view withoutTrailingZeros(std::string_view digits) {
    while (!digits.empty() && digits.back() == '0') digits.remove_suffix(1);
    return digits;
}

}  // namespace

NcNumberFormat numberFormatOf(int code) {
    return code >= 1 && code <= 4 ? NcNumberFormat(code) : NcNumberFormat::Decimal;
}

std::string FormatNcNumber(NcNumberFormat format, int left, int right, double value) {
    const bool negative = value < 0;  // kept when it rounds to zero: -0.00001 is "-0"
    double magnitude = std::fabs(value);
    right = std::max(right, 0);
    if (format == NcNumberFormat::WholeNumber) right = 0;
    double whole = std::floor(magnitude);
    const double scale = powerOfTen(right);
    // Round the fraction to `right` decimals, halves away from zero; the
    // small nudge keeps 0.99996 * 10^4 = 9999.6 from landing a hair below.
    double digits = std::floor((magnitude - whole) * scale + 0.5 + 1e-9);
    if (digits >= scale) {  // 0.99996 -> 1.0000: the carry goes to the integer part
        whole += 1;
        digits = 0;
    }
    // Written straight into the result: the utilities format millions of
    // values, and every temporary string shows.
    char integerBuffer[400];
    char fractionBuffer[400];
    std::string_view integer = wholeNumberText(whole, integerBuffer);
    // The fraction is `fractionZeros` zeros, then `fraction`: the digits
    // rounded to `right` places, padded at the left.
    std::string_view fraction;
    size_t fractionZeros = 0;
    if (right > 0) {
        fraction = wholeNumberText(digits, fractionBuffer);
        fractionZeros = size_t(right) - std::min(fraction.size(), size_t(right));
    }
    // Without its trailing zeros: nothing at all when every digit is one.
    const bool fractionIsZero = digits == 0;
    const std::string_view shortFraction =
        fractionIsZero ? std::string_view() : withoutTrailingZeros(fraction);
    const size_t shortFractionZeros = fractionIsZero ? 0 : fractionZeros;
    const size_t width = size_t(std::max(left, 0));
    const size_t integerZeros = width - std::min(integer.size(), width);

    std::string out;
    if (negative) out += '-';
    switch (format) {
        case NcNumberFormat::Decimal:
            // The point stays; a value with neither part is "0".
            if (integer == "0") integer = {};
            if (integer.empty() && shortFraction.empty()) {
                out += '0';
                break;
            }
            out.append(integer);
            out += '.';
            out.append(shortFractionZeros, '0');
            out.append(shortFraction);
            break;
        case NcNumberFormat::LeadingZeros:
            out.append(integerZeros, '0');
            out.append(integer);
            out.append(shortFractionZeros, '0');
            out.append(shortFraction);
            break;
        case NcNumberFormat::TrailingZeros:
            if (integer != "0") out.append(integer);
            out.append(fractionZeros, '0');
            out.append(fraction);
            break;
        case NcNumberFormat::LeadingTrailing:
            out.append(integerZeros, '0');
            out.append(integer);
            out.append(fractionZeros, '0');
            out.append(fraction);
            break;
        case NcNumberFormat::WholeNumber:
            out.append(integer);
            break;
    }
    return out;
}

double ParseNcNumber(std::string_view text, NcNumberFormat format, int left, int right) {
    if (!text.empty() && isAsciiLetter(text[0])) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return 0;
    std::string number(text);
    double value = 0;
    switch (format) {
        case NcNumberFormat::LeadingZeros: {
            const size_t width = size_t(std::max(left, 0));
            while (number.size() < width + 2) number += '0';
            number.insert(width, ".");
            if (!readDecimal(number, value)) return 0;
            break;
        }
        case NcNumberFormat::TrailingZeros:
        case NcNumberFormat::LeadingTrailing:
            if (!readDecimal(number, value)) return 0;
            if (right > 0) value /= powerOfTen(right);
            break;
        default:
            if (number.back() == '.') number += '0';
            if (!readDecimal(number, value)) return 0;
            break;
    }
    return negative ? -value : value;
}

}  // namespace zantor
