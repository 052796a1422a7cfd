#include "calc/desk_calculator.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace zantor {
namespace {

// Presses the keys separated by blanks; the display after the last.
std::string keys(DeskCalculator& calc, const std::string& sequence) {
    std::istringstream in(sequence);
    for (std::string key; in >> key;) EXPECT_TRUE(calc.press(key)) << key;
    return calc.display();
}

TEST(DeskCalculator, KeySequencesAsOnADeskCalculator) {
    const struct {
        const char* keys;
        const char* display;
    } cases[] = {
        {"1 2 . 5 + 7 . 5 =", "20.0000"},
        {"2 + 3 * 4 =", "20.0000"},  // chained left to right
        {"9 Sqrt", "3.0000"},
        {"4 1/x", "0.2500"},
        {"2 0 0 + 1 0 %", "20.0000"},
        {"5 +/- * 2 =", "-10.0000"},
        {"1 2 3 Back Back", "1"},
        {"1 / 0 =", "Error"},
        {"1 / 0 = 5", "Error"},
        {"1 / 0 = C 5", "5"},
        {"9 +/- Sqrt", "Error"},
        {"1 . . 5", "1.5"},
        {"7 MS C MR + 1 =", "8.0000"},
        {"2 MS 3 M+ MR", "5.0000"},
        {"2 MS 3 M- MR", "-1.0000"},
    };
    for (const auto& c : cases) {
        DeskCalculator calc;
        EXPECT_EQ(keys(calc, c.keys), c.display) << c.keys;
    }
}

TEST(DeskCalculator, TheTapeListsEntriesAndResultsWithARule) {
    DeskCalculator calc;
    keys(calc, "1 2 + 3 =");
    EXPECT_EQ(std::vector<std::string>(calc.tape().begin(), calc.tape().end()),
              (std::vector<std::string>{"12.0000 +", "3.0000", "15.0000 =", std::string(20, '_')}));
    EXPECT_FALSE(calc.press("X"));
    calc.clearTape();
    EXPECT_TRUE(calc.tape().empty());
}

TEST(DeskCalculator, TheTapeKeepsItsLastLines) {
    DeskCalculator calc;
    for (int i = 0; i < 3400; ++i) keys(calc, "1 =");
    EXPECT_EQ(calc.tape().size(), DeskCalculator::kTapeLines);
}

}  // namespace
}  // namespace zantor
