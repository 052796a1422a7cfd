#include "nctools/file_cleanup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/nc_document.h"
#include "nctools/add_remove_spaces.h"
#include "recording_progress.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::NcDocument;
using editor::TextPosition;
using Lines = std::vector<std::string>;
using Op = CleanupOperation;
using testing::RecordingProgress;

void fill(NcDocument& doc, const Lines& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    doc.InsertText(text);
    doc.SetModified(false);
    doc.SetCaret(1, 1);
}

Lines paragraphsOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

CleanupChoice only(Op op) {
    CleanupChoice choice{};
    choice[size_t(op)] = true;
    return choice;
}

CleanupChoice all() {
    CleanupChoice choice;
    choice.fill(true);
    return choice;
}

struct Case {
    const char* what;
    CleanupChoice choice;
    Lines before;
    Lines after;
};

TEST(FileCleanup, EachOperationOnTheWholeProgram) {
    const std::string ctrl =
        std::string("G1\x01X1") + char(0x7f) + char(0x80) + char(0xff) + "\x1f";
    const Case cases[] = {
        {"before %: text lines emptied, rest of the % line kept",
         only(Op::DeleteBeforeFirstPercent),
         {"HEADER", "", "JUNK%O1000", "%", "G1"},
         {"", "", "%O1000", "%", "G1"}},
        {"before %: starting with % changes nothing",
         only(Op::DeleteBeforeFirstPercent),
         {"%", "G1 X1", "%"},
         {"%", "G1 X1", "%"}},
        {"before %: without any % nothing is lost",
         only(Op::DeleteBeforeFirstPercent),
         {"O1000", "G1 X1", "M30"},
         {"O1000", "G1 X1", "M30"}},
        {"control characters go, tab and DEL stay",
         only(Op::RemoveControlCharacters),
         {ctrl, "A\tB", "\x02"},
         {"G1X1\x7f", "A\tB", ""}},
        {"comments go with what is inside, around them stays",
         only(Op::RemoveComments),
         {"G01 X1. (FINISH)", "(A)G1(B) X2", "(ONLY)", "G1 (OPEN", "NO COMMENT"},
         {"G01 X1.", "G1 X2", "", "G1", "NO COMMENT"}},
        {"blank lines go, blanks and the last line stay",
         only(Op::RemoveBlankLines),
         {"", "", "G1", "", "M30", ""},
         {"G1", "M30", ""}},
        {"blank lines: an empty last line stays", only(Op::RemoveBlankLines), {"", ""}, {}},
        {"after end: stripped after the last end code, one empty line follows",
         only(Op::StripAfterProgramEnd),
         {"%", "M30", "G1", "M02", "(TRAILER)", "X", "%"},
         {"%", "M30", "G1", "M02", ""}},
        {"after end: any end code counts, inside words and comments too",
         only(Op::StripAfterProgramEnd),
         {"G1", "(DONE M99)", "JUNK"},
         {"G1", "(DONE M99)", ""}},
        {"after end: M300 holds M30",
         only(Op::StripAfterProgramEnd),
         {"G1", "M300", "JUNK", "MORE"},
         {"G1", "M300", ""}},
        {"after end: end code on the last line changes nothing",
         only(Op::StripAfterProgramEnd),
         {"G1", "M30"},
         {"G1", "M30"}},
        {"after end: no end code changes nothing",
         only(Op::StripAfterProgramEnd),
         {"G1", "M3", "m30"},
         {"G1", "M3", "m30"}},
        {"percent appended even after a %",
         only(Op::AddPercentAtEnd),
         {"%", "M30", "%"},
         {"%", "M30", "%", "%"}},
        {"all six in their order",
         all(),
         {"TAPE HEADER", "%", "O1000 (PART)", "", "G1\x01 X1.", "M30", "TRAILER", "%"},
         {"%", "O1000", "G1 X1.", "M30", "", "%"}},
        {"none ticked changes nothing", CleanupChoice{}, {"", "(A)"}, {"", "(A)"}},
    };
    for (const Case& c : cases) {
        NcDocument doc;
        fill(doc, c.before);
        RecordingProgress progress;
        EXPECT_TRUE(RunFileCleanup(doc, progress, c.choice, CommentMarks{})) << c.what;
        EXPECT_EQ(paragraphsOf(doc), c.after) << c.what;
        EXPECT_EQ(doc.Modified(), c.before != c.after) << c.what;
        EXPECT_EQ(doc.Caret(), (TextPosition{1, 1})) << c.what;
    }
}

TEST(FileCleanup, EmptyDocumentGetsOnlyThePercent) {
    NcDocument doc;
    RecordingProgress progress;
    EXPECT_TRUE(RunFileCleanup(doc, progress, all(), CommentMarks{}));
    EXPECT_EQ(paragraphsOf(doc), Lines{"%"});
}

TEST(FileCleanup, TheMachinesCommentMarksAreUsed) {
    NcDocument doc;
    fill(doc, {"G1 ;NOTE; X1 (KEPT)", "G2 [OPEN"});
    RecordingProgress progress;
    RemoveComments(doc, progress, CommentMarks{";", ";"});
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G1  X1 (KEPT)", "G2 [OPEN"}));
    // An end of two characters never matches: the comment runs to the end.
    RemoveComments(doc, progress, CommentMarks{"[", "]]"});
    RemoveComments(doc, progress, CommentMarks{"(", "))"});
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G1  X1", "G2"}));
}

TEST(FileCleanup, ProgressCaptionsFollowTheRunOrder) {
    NcDocument doc;
    fill(doc, {"%", "M30"});
    RecordingProgress progress;
    RunFileCleanup(doc, progress, all(), CommentMarks{});
    EXPECT_EQ(progress.captions, (Lines{"Delete All Before First \"%\" ...",
                                        "Removing Control Characters ...", "Removing Comments ...",
                                        "Removing Blank Lines ...", "Delete All After End ..."}));
    EXPECT_EQ(progress.ends, 5);
}

TEST(FileCleanup, SelectionLimitsTheLineOperations) {
    struct SelectionCase {
        const char* what;
        Op op;
        Lines after;
    };
    const Lines before = {"(A)\x01", "", "(B)\x01", "", "", "(C)\x01", "", "(D)"};
    const SelectionCase cases[] = {
        {"comments", Op::RemoveComments, {"(A)\x01", "", "\x01", "", "", "\x01", "", "(D)"}},
        {"control", Op::RemoveControlCharacters, {"(A)\x01", "", "(B)", "", "", "(C)", "", "(D)"}},
        // The selection's last line is never examined.
        {"blank", Op::RemoveBlankLines, {"(A)\x01", "", "(B)\x01", "(C)\x01", "", "(D)"}},
        // Whole-document operations ignore the selection.
        {"after end", Op::StripAfterProgramEnd, before},
        {"before %", Op::DeleteBeforeFirstPercent, before},
    };
    for (const SelectionCase& c : cases) {
        NcDocument doc;
        fill(doc, before);
        doc.SetSelection({3, 2}, {7, 1});
        RecordingProgress progress;
        RunFileCleanup(doc, progress, only(c.op), CommentMarks{});
        EXPECT_EQ(paragraphsOf(doc), c.after) << c.what;
    }
}

TEST(FileCleanup, CancelStopsTheRunAndTheOperationsAfterIt) {
    struct CancelCase {
        const char* what;
        CleanupChoice choice;
        int cancelAt;
        Lines after;
    };
    const Lines before = {"X", "", "", "M30", "TRAILER", "MORE"};
    const CancelCase cases[] = {
        // Cancel during the search for the end: nothing is deleted.
        {"after end", only(Op::StripAfterProgramEnd), 2, before},
        {"blank lines", only(Op::RemoveBlankLines), 3, {"X", "", "M30", "TRAILER", "MORE"}},
        {"rest of the set", all(), 1, before},
    };
    for (const CancelCase& c : cases) {
        NcDocument doc;
        fill(doc, before);
        RecordingProgress progress;
        progress.cancelAtKeepAlive = c.cancelAt;
        EXPECT_FALSE(RunFileCleanup(doc, progress, c.choice, CommentMarks{})) << c.what;
        EXPECT_EQ(paragraphsOf(doc), c.after) << c.what;
        EXPECT_EQ(progress.captions.size(), 1u) << c.what;
    }
}

TEST(FileCleanup, EachChangeIsAnEditThatUndoes) {
    const zantor::testing::TempFolder folder;
    NcDocument doc;
    const Lines before = {"JUNK", "%", "G1 (A)", "", "M30", "X"};
    doc.LoadDocument(folder.write("P.TAP", "JUNK\r\n%\r\nG1 (A)\r\n\r\nM30\r\nX\r\n"));
    ASSERT_EQ(paragraphsOf(doc), before);
    RecordingProgress progress;
    RunFileCleanup(doc, progress, all(), CommentMarks{});
    while (doc.CanUndo()) doc.UndoEdit();
    EXPECT_EQ(paragraphsOf(doc), before);
}

TEST(AddRemoveSpaces, LineRules) {
    struct SpacesCase {
        SpacesChange change;
        std::string before, after;
    };
    const SpacesCase cases[] = {
        {SpacesChange::Add, "G01X1.Y2.", "G01 X1. Y2."},
        {SpacesChange::Add, "G01 X1. Y2.", "G01  X1.  Y2."},
        {SpacesChange::Add, "(TOOL ONE)G1X1", "(TOOL ONE) G1 X1"},
        {SpacesChange::Add, "N1(A B)X1", "N1(A B) X1"},
        {SpacesChange::Add, "g1x1", "g1x1"},
        {SpacesChange::Add, "N1 (OPEN COMMENT X", "N1 (OPEN COMMENT X"},
        {SpacesChange::Remove, "(TOOL 1 DRILL) G81 Z-1.", "(TOOL 1 DRILL)G81Z-1."},
        {SpacesChange::Remove, "   G1  X1 ( A ) Y2", "G1X1( A )Y2"},
        {SpacesChange::Remove, "  ", ""},
        {SpacesChange::Remove, "G1\tX1", "G1\tX1"},
    };
    for (const SpacesCase& c : cases) {
        const std::string result =
            c.change == SpacesChange::Add ? addSpaces(c.before, {}) : removeSpaces(c.before, {});
        EXPECT_EQ(result, c.after) << c.before;
    }
}

TEST(AddRemoveSpaces, RunsOverTheDocumentOrTheSelection) {
    NcDocument doc;
    fill(doc, {"G1X1", "G2X2", "G3X3"});
    RecordingProgress progress;
    EXPECT_TRUE(AddRemoveSpaces(doc, progress, SpacesChange::Add, {}));
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G1 X1", "G2 X2", "G3 X3"}));
    doc.SetSelection({2, 3}, {3, 1});
    EXPECT_TRUE(AddRemoveSpaces(doc, progress, SpacesChange::Remove, {}));
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G1 X1", "G2X2", "G3X3"}));
    EXPECT_EQ(progress.captions, (Lines{"Adding Spaces ...", "Removing Spaces ..."}));
}

}  // namespace
}  // namespace zantor
