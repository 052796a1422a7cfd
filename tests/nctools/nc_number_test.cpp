#include "nctools/nc_number.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

using F = NcNumberFormat;

struct FormatRow {
    double value;
    const char* decimal;
    const char* leadingZeros;
    const char* trailingZeros;
    const char* leadingTrailing;
};

TEST(FormatNcNumber, TheFourFormatsWithThreeAndFourDigits) {
    const FormatRow rows[] = {
        {1.5, "1.5", "0015", "15000", "0015000"},
        {0.5, ".5", "0005", "5000", "0005000"},
        {0, "0", "000", "0000", "0000000"},
        {12, "12.", "012", "120000", "0120000"},
        {-1.25, "-1.25", "-00125", "-12500", "-0012500"},
        {0.99996, "1.", "001", "10000", "0010000"},
        {-0.00001, "-0", "-000", "-0000", "-0000000"},
        {1234, "1234.", "1234", "12340000", "12340000"},
        {1.00005, "1.0001", "0010001", "10001", "0010001"},
    };
    for (const FormatRow& r : rows) {
        EXPECT_EQ(FormatNcNumber(F::Decimal, 3, 4, r.value), r.decimal) << r.value;
        EXPECT_EQ(FormatNcNumber(F::LeadingZeros, 3, 4, r.value), r.leadingZeros) << r.value;
        EXPECT_EQ(FormatNcNumber(F::TrailingZeros, 3, 4, r.value), r.trailingZeros) << r.value;
        EXPECT_EQ(FormatNcNumber(F::LeadingTrailing, 3, 4, r.value), r.leadingTrailing) << r.value;
    }
    EXPECT_EQ(FormatNcNumber(F::WholeNumber, 4, 0, 1234.5), "1235");
    EXPECT_EQ(FormatNcNumber(F::WholeNumber, 4, 0, 1234.4), "1234");
    EXPECT_EQ(FormatNcNumber(F::Decimal, 3, 2, 20), "20.");  // a feed with two digits
    EXPECT_EQ(numberFormatOf(7), F::Decimal);
}

struct ParseRow {
    const char* text;
    F format;
    double value;
};

TEST(ParseNcNumber, EachFormatReadsBack) {
    const ParseRow rows[] = {
        {"X1.5", F::Decimal, 1.5},        {"x-.5", F::Decimal, -0.5},
        {"F20.", F::Decimal, 20},         {"X0015", F::LeadingZeros, 1.5},
        {"15", F::LeadingZeros, 150},     {"X1.5", F::LeadingZeros, 0},
        {"X15000", F::TrailingZeros, 1.5}, {"-0012500", F::LeadingTrailing, -1.25},
        {"X1.5", F::TrailingZeros, 0.00015}, {"X", F::Decimal, 0},
        {"X-", F::LeadingZeros, 0},       {"", F::TrailingZeros, 0},
        {"XABC", F::Decimal, 0},          {"X1e3", F::Decimal, 0},
    };
    for (const ParseRow& r : rows)
        EXPECT_DOUBLE_EQ(ParseNcNumber(r.text, r.format, 3, 4), r.value) << r.text;
}

TEST(ParseNcNumber, EveryFormattedValueReadsBackInItsFormat) {
    for (const F format : {F::Decimal, F::LeadingZeros, F::TrailingZeros, F::LeadingTrailing})
        for (const double v : {1.5, -1.25, 0.0005, 123.4567, -99.9999})
            EXPECT_NEAR(ParseNcNumber(FormatNcNumber(format, 3, 4, v), format, 3, 4), v, 1e-9)
                << int(format) << " " << v;
}

}  // namespace
}  // namespace zantor
