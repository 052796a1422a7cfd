#include "nctools/line_ends.h"

#include <gtest/gtest.h>

#include "program_lines.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using testing::RecordingProgress;

Lines changed(const Lines& before, const LineEnds& ends) {
    NcDocument doc;
    testing::fillDocument(doc, before);
    RecordingProgress progress;
    EXPECT_TRUE(ChangeLineEnds(doc, progress, ends));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Chainging Line Begin/End ..."});
    return testing::paragraphsOf(doc);
}

TEST(ChangeLineEnds, BeginsAndEnds) {
    struct Case {
        const char* what;
        LineEnds ends;  // begin from, begin to, end from, end to
        Lines before;
        Lines after;
    };
    const Case cases[] = {
        {"an end replaced, or added where the line has none",
         {"", "", ";", "$"},
         {"G01 X1;", "G01 X2", ""},
         {"G01 X1$", "G01 X2$", ""}},
        {"a start added to every line that has characters",
         {"", "/", "", ""},
         {"G1", "", "/G2"},
         {"/G1", "", "//G2"}},
        {"a start taken away, other starts untouched",
         {"/", "", "", ""},
         {"/G1", "G2", "//G3"},
         {"G1", "G2", "/G3"}},
        {"a start replaced, and put in front where the line lacks it",
         {"N", "/N", "", ""},
         {"N10 G1", "G2"},
         {"/N10 G1", "/NG2"}},
        {"an end only taken away",
         {"", "", ";", ""},
         {"G1;", "G2", ";"},
         {"G1", "G2", ""}},
        {"a line shorter than the end text never matches it",
         {"", "", "ABC;", "#"},
         {"C;", "XABC;"},
         {"C;#", "X#"}},
        {"the end is compared with case",
         {"", "", "x", ""},
         {"G1X", "G1x"},
         {"G1X", "G1"}},
        {"empty fields leave the lines as they are",
         {"", "", "", ""},
         {"G1;", "/G2"},
         {"G1;", "/G2"}},
        {"the start is tested after the end has changed",
         {"B", "C", "A", "B"},
         {"A"},
         {"C"}},
        {"the start is tested on what the end left",
         {"AB", "Q", "B", ""},
         {"AB", "ABC"},
         {"QA", "QC"}},
    };
    for (const Case& c : cases) EXPECT_EQ(changed(c.before, c.ends), c.after) << c.what;
}

TEST(ChangeLineEnds, TwiceAddsTheEndTwice) {
    NcDocument doc;
    testing::fillDocument(doc, {"G1", "G2"});
    RecordingProgress progress;
    const LineEnds ends{"", "", "", ";"};
    ASSERT_TRUE(ChangeLineEnds(doc, progress, ends));
    ASSERT_TRUE(ChangeLineEnds(doc, progress, ends));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"G1;;", "G2;;"}));
}

TEST(ChangeLineEnds, OnlyTheSelectedLinesOneUndoStepEach) {
    NcDocument doc;
    testing::fillDocument(doc, {"G1", "G2", "G3", "G4"});
    doc.SetSelection({2, 1}, {3, 2});
    RecordingProgress progress;
    ASSERT_TRUE(ChangeLineEnds(doc, progress, {"", "/", "", ";"}));
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"G1", "/G2;", "/G3;", "G4"}));
    doc.UndoEdit();
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"G1", "/G2;", "G3", "G4"}));
    doc.UndoEdit();
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"G1", "G2", "G3", "G4"}));
    doc.UndoEdit();  // the next step back is the filling of the document
    EXPECT_EQ(testing::paragraphsOf(doc), Lines{});
}

}  // namespace
}  // namespace zantor
