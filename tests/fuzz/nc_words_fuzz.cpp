// The NC word reader, the comment finder and the number formats on any text:
// never a crash, a word is always the text at its index, a comment lies
// within its line, and a value written in a format reads back as itself
// (to the format's last decimal) whenever the format can hold it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "nctools/nc_number.h"
#include "nctools/nc_words.h"

namespace {

using zantor::NcNumberFormat;

void checkWords(std::string_view line, size_t index) {
    const std::string word = zantor::ReadNcWord(line, index);
    if (index >= line.size()) return;
    FUZZ_CHECK(line.substr(index).substr(0, word.size()) == word);
}

void checkComment(std::string_view line, std::string_view start, std::string_view end) {
    const zantor::CommentSpan span = zantor::findComment(line, start, end);
    if (span.begin == std::string_view::npos) return;
    FUZZ_CHECK(span.begin < line.size());
    FUZZ_CHECK(span.end > span.begin && span.end <= line.size());
}

void checkRoundTrip(NcNumberFormat format, int left, int right, double value) {
    // A format with digits before the point cannot say more of them.
    const bool fixedWidth =
        format == NcNumberFormat::LeadingZeros || format == NcNumberFormat::LeadingTrailing;
    if (!std::isfinite(value) || std::fabs(value) >= 1e9) return;
    if (fixedWidth && std::fabs(value) >= std::pow(10.0, left) - 1) return;
    const std::string text = zantor::FormatNcNumber(format, left, right, value);
    const double back = zantor::ParseNcNumber(text, format, left, right);
    const int decimals = format == NcNumberFormat::WholeNumber ? 0 : right;
    const double tolerance = 0.5 * std::pow(10.0, -decimals) + 1e-9 * std::max(1.0, std::fabs(value));
    FUZZ_CHECK(std::fabs(back - value) <= tolerance);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const auto format = NcNumberFormat(1 + data[0] % 5);
    const int left = data[1] % 8;
    const int right = data[2] % 8;
    const std::string_view line(reinterpret_cast<const char*>(data + 3), size - 3);

    for (size_t index = 0; index <= line.size(); index += 1 + index / 8) checkWords(line, index);
    checkComment(line, "(", ")");
    checkComment(line, line.substr(0, 1), line.substr(std::min<size_t>(1, line.size()), 1));
    checkComment(line, ";", "");

    checkRoundTrip(format, left, right, zantor::ParseNcNumber(line, NcNumberFormat::Decimal, 0, 0));
    zantor::ParseNcNumber(line, format, left, right);
    return 0;
}
