#include "nctools/resequence.h"

#include <gtest/gtest.h>

#include "program_lines.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using testing::RecordingProgress;

Lines resequenced(const Lines& before, const ResequenceSettings& settings) {
    NcDocument doc;
    testing::fillDocument(doc, before);
    RecordingProgress progress;
    EXPECT_TRUE(Resequence(doc, progress, settings));
    return testing::paragraphsOf(doc);
}

ResequenceSettings removing() {
    ResequenceSettings settings;
    settings.remove = true;
    return settings;
}

TEST(Resequence, EachKindOfFirstLineWithTheDefaults) {
    struct Case {
        const char* before;
        const char* renumbered;
        const char* removed;
    };
    const Case cases[] = {
        {"N5 G01 X1.", "N10 G01 X1.", "G01 X1."},
        {"G00 X0", "N10G00 X0", "G00 X0"},
        {"/N7 M01", "/N10 M01", "M01"},
        {"/M01", "/N10M01", "M01"},
        {"(COMMENT)", "(COMMENT)", "(COMMENT)"},
        {"%", "%", "%"},
        {"O1234", "O1234", "O1234"},
        // A sequence letter with no digits: renumbering takes the letter as
        // the old number, removing leaves the word alone.
        {"NOTE", "N10OTE", "NOTE"},
        {"/NOTE", "/N10OTE", "NOTE"},
        {"N", "N10", "N"},
        // Removal takes the spaces after the number too.
        {"N5   G01", "N10   G01", "G01"},
        {"N0005G01", "N10G01", "G01"},
        {"/N7 M01 (N8)", "/N10 M01 (N8)", "M01 (N8)"},
        // Case counts: a lower-case n is no sequence letter.
        {"n5 G1", "N10n5 G1", "n5 G1"},
        // Only the start of a line is a block number.
        {" N5 G1", "N10 N5 G1", " N5 G1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resequenced({c.before}, {}), Lines{c.renumbered}) << c.before;
        EXPECT_EQ(resequenced({c.before}, removing()), Lines{c.removed}) << c.before;
    }
}

TEST(Resequence, NumbersContinueOverTheLinesThatGetOne) {
    const Lines program = {"%", "O1000", "N5 G90", "", "G0 X0", "(CUT)", "/N3 M1", "M30", "%"};
    EXPECT_EQ(resequenced(program, {}),
              (Lines{"%", "O1000", "N10 G90", "", "N20G0 X0", "(CUT)", "/N30 M1", "N40M30", "%"}));
    EXPECT_EQ(resequenced(program, removing()),
              (Lines{"%", "O1000", "G90", "", "G0 X0", "(CUT)", "M1", "M30", "%"}));
}

TEST(Resequence, SettingsShapeTheNumbers) {
    struct Case {
        const char* what;
        ResequenceSettings settings;
        Lines before;
        Lines after;
    };
    const auto with = [](auto change) {
        ResequenceSettings settings;
        change(settings);
        return settings;
    };
    const Case cases[] = {
        {"leading zeros to the longest number",
         with([](auto& s) { s.leadingZeros = true; }),
         {"G1", "N5 G2", "/G3"},
         {"N0010G1", "N0020 G2", "/N0030G3"}},
        {"start and increment",
         with([](auto& s) {
             s.start = 100;
             s.increment = 5;
         }),
         {"G1", "G2"},
         {"N100G1", "N105G2"}},
        {"after the longest number numbering starts again at the increment",
         with([](auto& s) { s.start = 9990; }),
         {"G1", "G2", "G3"},
         {"N9990G1", "N10G2", "N20G3"}},
        {"the restart is at the increment, not the start",
         with([](auto& s) {
             s.start = 95;
             s.increment = 3;
             s.maxDigits = 2;
         }),
         {"G1", "G2", "G3"},
         {"N95G1", "N98G2", "N3G3"}},
        {"the first sequence character is the new letter",
         with([](auto& s) { s.sequenceChars = "Q/"; }),
         {"G1", "N5 G2", "Q5 G3", "/Q1 G4"},
         {"Q10G1", "Q20N5 G2", "Q30 G3", "/Q40 G4"}},
        {"a line's own letter stays its letter",
         with([](auto& s) { s.sequenceChars = "N:/"; }),
         {":5 G1", "/:7 G2", "G3"},
         {":10 G1", "/:20 G2", "N30G3"}},
        {"without sequence characters the letter is N",
         with([](auto& s) { s.sequenceChars = ""; }),
         {"N5 G1", "/M1"},
         {"N10N5 G1", "N20/M1"}},
        {"a slash written first is never the new letter",
         with([](auto& s) { s.sequenceChars = "/N"; }),
         {"G1", "/G2"},
         {"N10G1", "/N20G2"}},
        {"skip characters only count when no sequence character starts the line",
         with([](auto& s) { s.skipChars = "N#"; }),
         {"N5 G1", "#1=2", "G2"},
         {"N10 G1", "#1=2", "N20G2"}},
        {"without skip characters every line is numbered",
         with([](auto& s) { s.skipChars = ""; }),
         {"%", "(A)", ""},
         {"N10%", "N20(A)", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(resequenced(c.before, c.settings), c.after) << c.what;
}

TEST(Resequence, AHugeWidthForLeadingZerosIsRefusedByTheDocument) {
    NcDocument doc;
    testing::fillDocument(doc, {"G1"});
    ResequenceSettings settings;
    settings.leadingZeros = true;
    settings.maxDigits = 2000000000;
    RecordingProgress progress;
    EXPECT_THROW(Resequence(doc, progress, settings), editor::EditorError);
    EXPECT_EQ(testing::paragraphsOf(doc), Lines{"G1"});
    EXPECT_EQ(progress.ends, 1) << "the progress box is hidden after the error";
}

TEST(Resequence, RemovingStillCountsTheNumbers) {
    // Removal and renumbering walk the same lines: a second run renumbers
    // from the start again, with no gap where numbers were taken away.
    NcDocument doc;
    testing::fillDocument(doc, {"N5 G1", "G2", "%"});
    RecordingProgress progress;
    ASSERT_TRUE(Resequence(doc, progress, removing()));
    ASSERT_TRUE(Resequence(doc, progress, {}));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"N10G1", "N20G2", "%"}));
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"UN-Sequencing...", "Resequencing..."}));
    EXPECT_EQ(progress.ends, 2);
}

TEST(Resequence, OnlyTheSelectedLinesNumberedFromTheStart) {
    NcDocument doc;
    testing::fillDocument(doc, {"N1 G1", "N2 G2", "G3", "N4 G4"});
    doc.SetSelection({2, 3}, {3, 1});
    RecordingProgress progress;
    ASSERT_TRUE(Resequence(doc, progress, {}));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"N1 G1", "N10 G2", "N20G3", "N4 G4"}));
}

TEST(Resequence, OneUndoStepPerChangedLine) {
    NcDocument doc;
    testing::fillDocument(doc, {"N5 G1", "%", "G2"});
    RecordingProgress progress;
    ASSERT_TRUE(Resequence(doc, progress, {}));
    EXPECT_TRUE(doc.Modified());
    doc.UndoEdit();
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"N10 G1", "%", "G2"}));
    doc.UndoEdit();
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"N5 G1", "%", "G2"}));
    doc.UndoEdit();  // the next step back is the filling of the document
    EXPECT_EQ(testing::paragraphsOf(doc), Lines{});
}

TEST(Resequence, NumbersTypedInTheDialogMustBeIntegers) {
    struct Case {
        const char* start;
        const char* increment;
        const char* maxDigits;
        const char* error;  // empty: accepted
    };
    const Case cases[] = {
        {"10", "10", "4", ""},
        {" 100 ", "+5", "6", ""},
        {"1O", "10", "4", "'1O' is not a valid integer value"},
        {"10", "", "4", "'' is not a valid integer value"},
        {"10", "2.5", "x", "'2.5' is not a valid integer value"},
        {"10", "10", "99999999999", "'99999999999' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        ResequenceSettings settings;
        settings.start = -1;
        const std::optional<std::string> error =
            readResequenceNumbers(c.start, c.increment, c.maxDigits, settings);
        EXPECT_EQ(error.value_or(""), c.error) << c.start << "," << c.increment;
        if (!error) {
            EXPECT_EQ(settings.start, std::stoll(c.start));
            EXPECT_EQ(settings.increment, std::stoll(c.increment));
            EXPECT_EQ(settings.maxDigits, std::stoi(c.maxDigits));
        } else {
            EXPECT_EQ(settings.start, -1) << "nothing is taken from a refused set";
        }
    }
}

}  // namespace
}  // namespace zantor
