#include "core/real_text.h"

#include <charconv>

#include "core/interaction.h"

namespace zantor {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

size_t realTextErrorPosition(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return i + 1;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return i + 1;
    }
    return i == text.size() ? 0 : i + 1;
}

namespace {
void warnConversion(std::string_view text, size_t position, Interaction& interaction) {
    interaction.message(MessageKind::Warning,
                        "Integer/Real String Conversion Error\nS = [" + std::string(text) +
                            "]\nEr = " + std::to_string(position),
                        Buttons::Ok);
}
}  // namespace

double ParseRealOrWarn(std::string_view text, Interaction& interaction) {
    const size_t errorAt = realTextErrorPosition(text);
    if (errorAt != 0) {
        warnConversion(text, errorAt, interaction);
        return 0.0;
    }
    // from_chars ignores the C locale, which Qt sets from the environment.
    size_t begin = 0;
    while (text[begin] == ' ') ++begin;
    if (text[begin] == '+') ++begin;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + begin, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to tell from 0 is 0; too large for any real is an error,
        // shown at the exponent (or the first digit) that cannot be taken.
        const size_t exponent = text.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < text.size() &&
                          text[exponent + 1] == '-';
        if (!tiny)
            warnConversion(text, (exponent != std::string_view::npos ? exponent : begin) + 1,
                           interaction);
        return 0.0;
    }
    return value;
}

std::string FormatReal5(double value, bool stripZeros) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 5);
    std::string out(buffer, result.ptr);
    if (stripZeros) {
        while (!out.empty() && out.back() == '0') out.pop_back();
    }
    return out;
}

}  // namespace zantor
