#include "nctools/reformat.h"

#include <gtest/gtest.h>

#include "program_lines.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using testing::RecordingProgress;

// The worked example's machines: a decimal one with round comments and a
// trailing-zeros one with square comments.
ReformatMachine decimalMachine() {
    return {{NcNumberFormat::Decimal, 3, 4}, {NcNumberFormat::Decimal, 3, 2}, {"(", ")"}, {}};
}
ReformatMachine trailingMachine() {
    return {{NcNumberFormat::TrailingZeros, 3, 3},
            {NcNumberFormat::TrailingZeros, 3, 1},
            {"[", "]"},
            {}};
}

ReformatSettings onlyRegisters(const std::string& letters) {
    ReformatSettings settings;
    settings.registerLetters = letters;
    settings.motionCodes = settings.comments = settings.useSubstitutions = false;
    return settings;
}

TEST(Reformat, LinesForTheOtherMachine) {
    struct Case {
        const char* what;
        ReformatSettings settings;
        const char* before;
        const char* after;
    };
    ReformatSettings example;
    example.registerLetters = "XYZF";
    ReformatSettings strict = onlyRegisters("X");
    strict.allowMixed = false;
    ReformatSettings substitutions = onlyRegisters("");
    substitutions.useSubstitutions = true;
    substitutions.substitutions = {{"M06", "M6"}, {"", "never"}, {"T", "TT"}, {"M6", "M06 "}};
    ReformatSettings commentsOnly = onlyRegisters("");
    commentsOnly.comments = true;
    const Case cases[] = {
        {"the worked example: comment behind the code, two spaces stay", example,
         "G01 X1.5 (FIN) F20.", "G01 X1500  F200[FIN]"},
        {"a pointless word in a decimal program is implied-decimal", onlyRegisters("X"),
         "X15000", "X1500"},
        {"without mixed programs it is a whole number", strict, "X15000", "X15000000"},
        {"a letter only inside a comment is left alone", onlyRegisters("Y"), "X1.(Y2.)",
         "X1.(Y2.)"},
        {"only the first word of a letter is converted", onlyRegisters("X"), "X1.X2.",
         "X1000X2."},
        {"lowercase letters are not registers", onlyRegisters("X"), "x1.5", "x1.5"},
        {"a letter with no number is written as 0", onlyRegisters("X"), "G1X Y", "G1X000 Y"},
        {"negative values keep their sign", onlyRegisters("XZ"), "X-1.25Z-.5", "X-1250Z-500"},
        {"a letter twice in the list is converted once", onlyRegisters("XX"), "X1.", "X1000"},
        {"substitutions in order, first occurrence, empty old does nothing", substitutions,
         "T1M06T2", "TT1M06 T2"},
        {"two comments joined: only the outer marks change", commentsOnly, "G1(A)X1(B)",
         "G1X1[A)(B]"},
        {"an open comment loses its start and is closed", commentsOnly, "G1 (OPEN",
         "G1 [OPEN]"},
        {"an empty comment goes", commentsOnly, "G1()", "G1"},
        {"an empty line stays empty", example, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reformatLine(c.before, c.settings, decimalMachine(), trailingMachine()),
                  c.after)
            << c.what;
}

TEST(Reformat, MotionCodesAreWholeWords) {
    struct Case {
        std::array<std::string, 4> from, to;
        const char* before;
        const char* after;
    };
    const std::array<std::string, 4> padded{"G00", "G01", "G02", "G03"};
    const std::array<std::string, 4> bare{"G0", "G1", "G2", "G3"};
    const Case cases[] = {
        {bare, padded, "G17 G1 X1", "G17 G01 X1"},   // G1 does not hit G17
        {bare, padded, "G02 X1", "G02 X1"},          // G0 does not turn G02 into G002
        {bare, padded, "G0X1", "G00X1"},             // a letter ends the word
        {padded, bare, "G00 G01 G02 G03", "G0 G1 G2 G3"},
        {padded, bare, "G01 G01", "G1 G01"},         // first occurrence only
        // Arc directions swapped: each code is converted from what the line
        // held, so an arc just written with the new code is not turned back.
        {padded, {"G00", "G01", "G03", "G02"}, "G02 X1", "G03 X1"},
        {padded, {"G00", "G01", "G03", "G02"}, "G03 X1", "G02 X1"},
        {padded, {"G00", "G01", "G03", "G02"}, "G02 G03", "G03 G02"},
        {{"", "G01", "G02", "G03"}, padded, "G0 X1", "G0 X1"},  // empty old code
    };
    ReformatSettings settings = onlyRegisters("");
    settings.motionCodes = true;
    for (const Case& c : cases) {
        ReformatMachine from = decimalMachine(), to = decimalMachine();
        from.motionCodes = c.from;
        to.motionCodes = c.to;
        EXPECT_EQ(reformatLine(c.before, settings, from, to), c.after) << c.before;
    }
}

TEST(Reformat, RunsOverTheDocumentWithItsCaption) {
    NcDocument doc;
    testing::fillDocument(doc, {"%", "G01 X1.5 (FIN) F20.", "", "X2."});
    RecordingProgress progress;
    ReformatSettings settings;
    settings.registerLetters = "XYZF";
    EXPECT_TRUE(Reformat(doc, progress, settings, decimalMachine(), trailingMachine()));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Reformatting ..."});
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"%", "G01 X1500  F200[FIN]", "", "X2000"}));
}

TEST(Reformat, MachineValuesAndDefaults) {
    MachineFormat format;
    format.NumFormat = 4;
    format.DigitsRight = "3";
    format.FeedDigits = "1";
    format.RapidCode = "G0";
    const ReformatMachine machine = reformatMachineOf(format);
    EXPECT_EQ(machine.axis.write(1.5), "001500");
    EXPECT_EQ(machine.feed.write(1.5), "0015");
    EXPECT_EQ(machine.motionCodes[0], "G0");
    UtilityDefaults defaults;
    defaults.ReformatGCodes = false;
    defaults.SubstituteOld[20] = "A";
    const ReformatSettings settings = reformatSettingsOf(defaults);
    EXPECT_FALSE(settings.motionCodes);
    EXPECT_EQ(settings.registerLetters, "XYZIJKRF");
    ASSERT_EQ(settings.substitutions.size(), 21u);
    EXPECT_EQ(settings.substitutions[20].first, "A");
}

}  // namespace
}  // namespace zantor
