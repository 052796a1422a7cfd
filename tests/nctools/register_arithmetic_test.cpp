#include "nctools/register_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

#include "nctools/feed_speed_override.h"
#include "program_lines.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using testing::RecordingProgress;
using Op = ArithmeticOperation;
using Format = NcNumberFormat;

const NcValueFormat kDecimal{Format::Decimal, 3, 4};
const CommentMarks kParentheses{"(", ")"};

TEST(RegisterArithmetic, ChangesEveryRegisterWordOutsideComments) {
    struct Case {
        const char* registers;
        Op operation;
        double amount;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"X", Op::Add, 0.5, "G01 X1.25 Y2. (TOOL X)", "G01 X1.75 Y2. (TOOL X)"},
        {"XYZIJKR", Op::Subtract, 1, "G02 X1. Y1. I-.5 J0 R.5 F10.",
         "G02 X0 Y0 I-1.5 J-1. R-.5 F10."},
        {"XY", Op::Multiply, 2, "G1X1.5Y-2.25Z1", "G1X3.Y-4.5Z1"},
        {"X", Op::Divide, 4, "X1.", "X.25"},
        // A letter met several times changes every time.
        {"X", Op::Add, 1, "X1 X2 X3", "X2. X3. X4."},
        // The same word inside a comment stays.
        {"X", Op::Add, 1, "X1 (X1) X1", "X2. (X1) X2."},
        // A comment left open runs to the end of the line.
        {"X", Op::Add, 1, "X1 (X2", "X2. (X2"},
        // A word without a number counts as 0.
        {"X", Op::Add, 0, "G1 X", "G1 X0"},
        {"X", Op::Add, 1, "X+.5", "X1.5"},
        // Case counts.
        {"x", Op::Add, 1, "X1 x1", "X1 x2."},
        // The amount's sign and a result that rounds to zero.
        {"Z", Op::Add, -0.00001, "Z0", "Z-0"},
        {"Z", Op::Multiply, 0, "Z5.", "Z0"},
    };
    for (const Case& c : cases) {
        const ArithmeticSettings settings{c.registers, c.operation, c.amount};
        EXPECT_EQ(applyArithmetic(c.before, settings, kDecimal, kParentheses), c.after)
            << c.before;
    }
}

TEST(RegisterArithmetic, ValuesReadAndWrittenInTheMachinesFormat) {
    struct Case {
        NcValueFormat format;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {{Format::LeadingZeros, 3, 4}, "X0015 Y-00125", "X0025 Y-00025"},
        // A point in a leading-zeros word makes it read as 0.
        {{Format::LeadingZeros, 3, 4}, "X1.5", "X001"},
        {{Format::TrailingZeros, 3, 4}, "X15000 Y-5000", "X25000 Y5000"},
        {{Format::LeadingTrailing, 3, 4}, "X0015000", "X0025000"},
        {{Format::Decimal, 3, 2}, "X1.2345", "X2.23"},
    };
    for (const Case& c : cases) {
        const ArithmeticSettings settings{"XY", Op::Add, 1};
        EXPECT_EQ(applyArithmetic(c.before, settings, c.format, kParentheses), c.after)
            << c.before;
    }
}

TEST(RegisterArithmetic, CommentMarksAreTheMachines) {
    const ArithmeticSettings settings{"X", Op::Add, 1};
    EXPECT_EQ(applyArithmetic("X1 ;X1; X1 (X1)", settings, kDecimal, {";", ";"}),
              "X2. ;X1; X2. (X2.)");
    // Without a comment start there are no comments.
    EXPECT_EQ(applyArithmetic("X1 (X1)", settings, kDecimal, {"", ""}), "X2. (X2.)");
}

TEST(RegisterArithmetic, AResultBeyondEveryNumberLeavesItsWord) {
    const std::string huge = "X1" + std::string(301, '0');
    const ArithmeticSettings settings{"XY", Op::Multiply, 1e8};
    EXPECT_EQ(applyArithmetic(huge + " Y1", settings, kDecimal, kParentheses),
              huge + " Y100000000.");
}

TEST(RegisterArithmetic, DivisionByNearlyZeroIsRefused) {
    struct Case {
        Op operation;
        double amount;
        bool refused;
    };
    const Case cases[] = {
        {Op::Divide, 0, true},          {Op::Divide, 0.00004, true},
        {Op::Divide, -0.00004, true},   {Op::Divide, std::nan(""), true},
        {Op::Divide, 0.00005, false},   {Op::Divide, -2, false},
        {Op::Multiply, 0, false},       {Op::Add, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(divisionRefused(c.operation, c.amount), c.refused) << c.amount;

    NcDocument doc;
    testing::fillDocument(doc, {"X1"});
    RecordingProgress progress;
    EXPECT_TRUE(RegisterArithmetic(doc, progress, {"X", Op::Divide, 0}, kDecimal, kParentheses));
    EXPECT_EQ(testing::paragraphsOf(doc), Lines{"X1"});
    EXPECT_FALSE(doc.Modified());
}

TEST(RegisterArithmetic, RunsOverTheSelectionOneUndoStepPerLine) {
    NcDocument doc;
    testing::fillDocument(doc, {"X1", "X2 Y2", "(X3)", "X4"});
    doc.SetSelection({2, 1}, {3, 1});
    RecordingProgress progress;
    ASSERT_TRUE(RegisterArithmetic(doc, progress, {"XY", Op::Add, 10}, kDecimal, kParentheses));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"X1", "X12. Y12.", "(X3)", "X4"}));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Arithmetic ..."});
    doc.UndoEdit();
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"X1", "X2 Y2", "(X3)", "X4"}));
    doc.UndoEdit();  // the next step back is the filling of the document
    EXPECT_EQ(testing::paragraphsOf(doc), Lines{});
}

TEST(FeedSpeedOverride, ScalesFeedsAndSpeeds) {
    struct Case {
        OverridePercentages percentages;
        NcValueFormat feed;
        const char* before;
        const char* after;
    };
    const NcValueFormat decimal2{Format::Decimal, 3, 2};
    const Case cases[] = {
        {{50, 110}, decimal2, "S1000 M03 F20.", "S1100 M03 F10."},
        // At 100 % every word is still written in the machine's format.
        {{100, 100}, decimal2, "G1 F20 S500.4", "G1 F20. S500"},
        {{100, 100}, decimal2, "F12.345", "F12.35"},
        // Speeds round half up to whole numbers.
        {{100, 50}, decimal2, "S1005", "S503"},
        {{100, 5}, decimal2, "S10", "S1"},
        // Comments and lower-case letters are not touched.
        {{50, 50}, decimal2, "F10. S100 (F10. S100)", "F5. S50 (F10. S100)"},
        {{50, 50}, decimal2, "f10 s100", "f10 s100"},
        // Feeds in the machine's format; a point in leading zeros reads as 0.
        {{200, 100}, {Format::LeadingZeros, 3, 2}, "F0105", "F021"},
        {{200, 100}, {Format::LeadingZeros, 3, 2}, "F1.5", "F000"},
        {{200, 100}, {Format::TrailingZeros, 3, 2}, "F1050", "F2100"},
        // Two F words: which one is meant cannot be told, both stay.
        {{50, 50}, decimal2, "F10. G1 F20. S100", "F10. G1 F20. S50"},
        {{50, 50}, decimal2, "G1F10.F20.", "G1F10.F20."},
        {{50, 50}, decimal2, "S10 S20 F8.", "S10 S20 F4."},
        {{50, 50}, decimal2, "G1 X1.", "G1 X1."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(applyOverride(c.before, c.percentages, c.feed, kParentheses), c.after)
            << c.before;
}

TEST(FeedSpeedOverride, RunsOverTheWholeProgram) {
    NcDocument doc;
    testing::fillDocument(doc, {"%", "S1000 M3", "G1 X1. F20.", "M30"});
    RecordingProgress progress;
    ASSERT_TRUE(OverrideFeedsSpeeds(doc, progress, {150, 90}, {Format::Decimal, 3, 2},
                                    kParentheses));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"%", "S900 M3", "G1 X1. F30.", "M30"}));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Overriding Feeds/Speeds ..."});
    EXPECT_EQ(progress.ends, 1);
}

}  // namespace
}  // namespace zantor
