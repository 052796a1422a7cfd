#include "nctools/make_columns.h"

#include <gtest/gtest.h>

#include "program_lines.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using testing::RecordingProgress;

TEST(MakeColumns, LinesLaidOutInColumns) {
    struct Case {
        const char* what;
        ColumnLayout layout;
        CommentMarks marks;
        const char* before;
        std::string after;
    };
    const ColumnLayout standard;
    const Case cases[] = {
        {"the worked example", standard, {}, "N10 G01 X1. Y2. F20. (CUT)",
         "N10       G01       X1.       Y2.                           F20.(CUT)"},
        {"a long value pushes the next words right", {"NXY", 3}, {}, "N1 X123.456 Y1.",
         "N1 X123.456Y1."},
        {"letters missing leave their column empty", {"NGX", 4}, {}, "N1X1.", "N1      X1."},
        {"letters not in the order stay behind the word before", {"NX", 5}, {}, "N1 X1. Q2",
         "N1   X1.Q2"},
        {"the first letter of the order is never moved", {"XN", 5}, {}, "X1. N1",
         "X1.  N1"},
        {"width 0: spaces and tabs out, comments to the end", {"NGX", 0}, {},
         "N1 (A) G1\tX1. (B)", "N1G1X1.(A)(B)"},
        {"comment marks are the machine's", {"NX", 4}, {";", ";"}, "N1 ;X; X2.",
         "N1  X2.;X;"},
        {"only the first occurrence of a letter counts", {"NX", 4}, {}, "N1X1X2",
         "N1  X1X2"},
        {"an empty line stays empty", standard, {}, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeColumnsLine(c.before, c.layout, c.marks), c.after) << c.what;
}

TEST(MakeColumns, RunsOverTheDocumentWithItsCaption) {
    NcDocument doc;
    testing::fillDocument(doc, {"%", "N1 G1", "", "N2 X1."});
    RecordingProgress progress;
    EXPECT_TRUE(MakeColumns(doc, progress, {"NGX", 3}, {}));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Columizing ..."});
    EXPECT_EQ(testing::paragraphsOf(doc), (Lines{"%", "N1 G1", "", "N2    X1."}));
}

}  // namespace
}  // namespace zantor
