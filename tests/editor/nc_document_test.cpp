#include "editor/nc_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_io.h"
#include "editor/control_chars.h"
#include "editor/edit_history.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;

Lines linesOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.LineCount(); ++n) out.push_back(doc.GetLine(n));
    return out;
}

Lines paragraphsOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

TEST(NcDocumentFiles, LoadTrimsBlanksAndClearsModifiedAndHistory) {
    TempFolder folder;
    const std::string path = folder.write("PART.TAP", "N10 G1 X5   \r\n");
    NcDocument doc;
    doc.InsertText("OLD TEXT");
    doc.LoadDocument(path);
    EXPECT_EQ(paragraphsOf(doc), Lines{"N10 G1 X5"});
    EXPECT_EQ(doc.ByteCount(), 11);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.Caret(), (TextPosition{1, 1}));
}

TEST(NcDocumentFiles, AFailedLoadLeavesAnEmptyDocument) {
    TempFolder folder;
    NcDocument doc;
    doc.InsertText("G1");
    EXPECT_THROW(doc.LoadDocument(folder.file("MISSING.TAP")), FileError);
    EXPECT_EQ(doc.ParagraphCount(), 0);
    EXPECT_EQ(doc.ByteCount(), 0);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(NcDocumentFiles, SaveWritesTheFileAndClearsModified) {
    TempFolder folder;
    NcDocument doc;
    doc.InsertText("G1\r\nM30\r\n");
    ASSERT_EQ(doc.ParagraphCount(), 3);
    doc.SaveDocument(folder.file("PART.TAP"), true);
    EXPECT_EQ(folder.read("PART.TAP"), "G1\r\nM30\r\n");
    EXPECT_FALSE(doc.Modified());
}

TEST(NcDocumentFiles, AFailedSaveKeepsTheDocumentModified) {
    TempFolder folder;
    NcDocument doc;
    doc.InsertText("G1");
    try {
        doc.SaveDocument(folder.file("NOPE/PART.TAP"), true);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
    EXPECT_TRUE(doc.Modified());
}

TEST(NcDocumentFiles, BinaryFileRoundTrip) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes.push_back(char((i * 7919 + i / 13) % 256));
    TempFolder folder;
    const std::string path = folder.write("BIN.TAP", bytes);
    NcDocument doc;
    doc.LoadDocument(path);
    doc.SaveDocument(path, false);
    // What a load and a save may change: NUL to space, line ends to CR LF,
    // blanks before a line end.
    NcDocument reloaded;
    reloaded.LoadDocument(path);
    Lines expected = paragraphsOf(doc);
    for (auto& p : expected)
        for (char& c : p)
            if (c == '\0') c = ' ';
    EXPECT_EQ(paragraphsOf(reloaded), expected);
    const std::string saved = folder.read("BIN.TAP");
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    EXPECT_EQ((long long)saved.size() + (doc.GetParagraph(doc.ParagraphCount()).empty() ? 2 : 0),
              doc.ByteCount());
}

TEST(NcDocumentWrap, BreaksAfterTheLastBlankThatFits) {
    NcDocument doc;
    doc.SetWrapColumn(10);
    doc.SetWordWrap(true);
    doc.InsertText("G1 X1.5 Y2.5 Z3\r\nABCDEFGHIJKLMN\r\n\tA");
    EXPECT_EQ(doc.ParagraphCount(), 3);
    EXPECT_EQ(linesOf(doc), (Lines{"G1 X1.5 ", "Y2.5 Z3", "ABCDEFGHIJ", "KLMN", "        A"}));
    doc.SetWordWrap(false);
    EXPECT_EQ(doc.LineCount(), 3);
}

// The editor views wrap at blanks the same way (tested against them with
// the editor window), so the lines sent to a machine are the rows shown.
TEST(NcDocumentWrap, BreaksBeforeTheLastWordThatBeganOnTheLine) {
    struct Case {
        int wrapColumn;
        std::string paragraph;
        Lines lines;
    };
    const Case cases[] = {
        {20,
         "N10 G0 X1.5 Y2.5 (ROUGH CUT) M3 S1000",
         {"N10 G0 X1.5 Y2.5 ", "(ROUGH CUT) M3 S1000"}},
        // A word that would begin on the first column past the line does
        // not count: the line breaks before the word before it.
        {4, "B C D E F", {"B ", "C ", "D ", "E F"}},
        {8, "AAA BBB CCC", {"AAA ", "BBB CCC"}},
        // Without a word to break before, the line is cut at the column.
        {5, "ABCDEFGHIJKL", {"ABCDE", "FGHIJ", "KL"}},
        {6, "X  ABCDEFGH", {"X  ", "ABCDEF", "GH"}},
        // Blanks running past the column stay whole with their line start.
        {4, "AB      CD", {"AB  ", "    ", "CD"}},
        // Tabs reach the tab stops of the paragraph, also on a later line.
        {10, "ABCDEFGHIJKL\tX", {"ABCDEFGHIJ", "KL    X"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paragraph);
        NcDocument doc;
        doc.SetWrapColumn(c.wrapColumn);
        doc.SetWordWrap(true);
        doc.InsertText(c.paragraph);
        EXPECT_EQ(linesOf(doc), c.lines);
    }
}

TEST(NcDocumentWrap, PositionsAndEditsFollowDisplayLines) {
    NcDocument doc;
    doc.SetWrapColumn(10);
    doc.SetWordWrap(true);
    doc.InsertText("G1 X1.5 Y2.5 Z3 W1\r\nM30");
    EXPECT_EQ(linesOf(doc), (Lines{"G1 X1.5 ", "Y2.5 Z3 W1", "M30"}));
    doc.SetCaret(2, 1);
    doc.InsertText("N5 ");
    EXPECT_EQ(doc.GetParagraph(1), "G1 X1.5 N5 Y2.5 Z3 W1");
    EXPECT_EQ(linesOf(doc), (Lines{"G1 X1.5 ", "N5 Y2.5 ", "Z3 W1", "M30"}));
    EXPECT_EQ(doc.Caret(), (TextPosition{2, 4}));
    doc.SetCaret(2, 2);
    doc.DeleteCaretLine();  // a soft line: only its text goes
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G1 X1.5 Z3 W1", "M30"}));
    EXPECT_EQ(linesOf(doc), (Lines{"G1 X1.5 ", "Z3 W1", "M30"}));
    EXPECT_EQ(doc.Caret(), (TextPosition{2, 1}));
    doc.SetSelection({1, 4}, {3, 2});
    EXPECT_EQ(doc.SelectedText(), "X1.5 Z3 W1\r\nM");
}

TEST(NcDocumentWrap, ParagraphPositionsNameTheirDisplayLines) {
    NcDocument doc;
    doc.SetWrapColumn(10);
    doc.SetWordWrap(true);
    doc.InsertText("G1 X1.5 Y2.5 Z3 W1\r\nM30");
    ASSERT_EQ(linesOf(doc), (Lines{"G1 X1.5 ", "Y2.5 Z3 W1", "M30"}));
    EXPECT_EQ(doc.ParagraphPosition(1, 0), (TextPosition{1, 1}));
    EXPECT_EQ(doc.ParagraphPosition(1, 8), (TextPosition{2, 1}));
    EXPECT_EQ(doc.ParagraphPosition(1, 18), (TextPosition{2, 11}));
    EXPECT_EQ(doc.ParagraphPosition(2, 1), (TextPosition{3, 2}));
    const int paragraphOfLine[] = {1, 1, 2};
    for (int line = 1; line <= 3; ++line)
        EXPECT_EQ(doc.ParagraphOfLine(line), paragraphOfLine[line - 1]) << line;
}

// After each edit the line map must agree with a document built afresh.
TEST(NcDocumentWrap, LineCountStaysRightThroughManyEdits) {
    NcDocument doc;
    doc.SetWrapColumn(12);
    doc.SetWordWrap(true);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "N" + std::to_string(i) + std::string(size_t(i % 37), 'X') + "\r\n";
    doc.InsertText(text);
    for (int step = 0; step < 60; ++step) {
        const int line = 1 + (step * 97) % doc.LineCount();
        doc.SetCaret(line, 1 + step % 5);
        switch (step % 4) {
            case 0:
                doc.InsertText(std::string(size_t(step % 30), 'Y') + " Z");
                break;
            case 1:
                doc.DeleteCaretLine();
                break;
            case 2:
                doc.InsertText("A\r\nB C D E F G H I J K");
                break;
            case 3:
                doc.UndoEdit();
                break;
        }
        NcDocument fresh;
        fresh.SetWrapColumn(12);
        fresh.SetWordWrap(true);
        for (const auto& p : paragraphsOf(doc)) fresh.AppendLine(p);
        ASSERT_EQ(doc.LineCount(), fresh.LineCount()) << "step " << step;
        ASSERT_EQ(doc.GetLine(doc.LineCount()), fresh.GetLine(fresh.LineCount()));
        const int middle = (doc.LineCount() + 1) / 2;
        ASSERT_EQ(doc.GetLine(middle), fresh.GetLine(middle)) << "step " << step;
    }
}

TEST(NcDocumentEdits, UndoRestoresTheSelection) {
    NcDocument doc;
    doc.InsertText("G1 X1\r\nM30");
    doc.SetSelection({1, 4}, {1, 6});
    doc.DeleteSelection();
    doc.UndoEdit();
    const TextSelection selection = doc.GetSelection();
    EXPECT_TRUE(selection.present);
    EXPECT_EQ(selection.start, (TextPosition{1, 4}));
    EXPECT_EQ(selection.end, (TextPosition{1, 6}));
    doc.RedoEdit();
    EXPECT_EQ(doc.GetParagraph(1), "G1");
    EXPECT_EQ(doc.Caret(), (TextPosition{1, 3}));
}

// Edits inside one line, trims among them, undone and redone in a row: the
// text, its size and the caret come back exactly each time.
TEST(NcDocumentEdits, EditsInsideALineUndoAndRedoExactly) {
    struct Case {
        const char* line;
        int offset;
        int length;
        const char* text;
        const char* edited;
        int caretColumn;
    };
    const Case cases[] = {
        {"N10 G1 X5", 7, 2, "Y7.5", "N10 G1 Y7.5", 12},  // longer
        {"N10 G1 X5", 0, 4, "", "G1 X5", 1},             // shorter, at the start
        {"N10 G1 X5", 9, 0, "  ", "N10 G1 X5", 10},      // trailing blanks go
        {"N10 G1 X5", 6, 3, " \t", "N10 G1", 7},         // trim reaches back into the line
        {"N10 G1 X5", 3, 6, "", "N10", 4},               // the blank before is trimmed too
        {"X1 (A)", 2, 1, "\t", "X1\t(A)", 4},            // blanks inside stay
        {"G1", 0, 2, "   ", "", 1},                      // nothing left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " @" + std::to_string(c.offset));
        NcDocument doc;
        doc.InsertText(std::string("%\r\n") + c.line + "\r\nM30");
        doc.SetModified(false);
        const long long bytesBefore = doc.ByteCount();
        doc.ReplaceInParagraph(2, c.offset, c.length, c.text);
        const Lines edited{"%", c.edited, "M30"};
        EXPECT_EQ(paragraphsOf(doc), edited);
        EXPECT_EQ(doc.ByteCount(), bytesBefore - (long long)std::string(c.line).size() +
                                       (long long)std::string(c.edited).size());
        EXPECT_EQ(doc.Caret(), (TextPosition{2, c.caretColumn}));
        EXPECT_TRUE(doc.Modified());
        for (int round = 0; round < 2; ++round) {
            doc.UndoEdit();
            EXPECT_EQ(paragraphsOf(doc), (Lines{"%", c.line, "M30"}));
            EXPECT_EQ(doc.ByteCount(), bytesBefore);
            doc.RedoEdit();
            EXPECT_EQ(paragraphsOf(doc), edited);
            EXPECT_EQ(doc.Caret(), (TextPosition{2, c.caretColumn}));
        }
    }
}

TEST(NcDocumentEdits, WithoutUndoEditsAreMadeButNotKept) {
    NcDocument doc;
    doc.InsertText("N10 G1 X5  \r\nM30");
    doc.SetUndoKept(false);
    EXPECT_FALSE(doc.CanUndo()) << "the history so far is dropped";
    doc.ReplaceInParagraph(1, 7, 2, "Y7");
    doc.SetCaret(2, 4);
    doc.InsertText("\r\nM2");
    EXPECT_EQ(paragraphsOf(doc), (Lines{"N10 G1 Y7", "M30", "M2"}));
    EXPECT_EQ(doc.ByteCount(), 9 + 3 + 2 + 3 * 2);
    EXPECT_TRUE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());
    doc.SetUndoKept(true);
    doc.ReplaceInParagraph(2, 0, 3, "M02");
    doc.UndoEdit();
    EXPECT_EQ(doc.GetParagraph(2), "M30");
}

TEST(NcDocumentEdits, HistoryHoldsWellOverThirtyTwoKilobytes) {
    NcDocument doc;
    const std::string line(500, 'X');
    for (int i = 0; i < 200; ++i) doc.AppendLine(line);  // 100 KB of edits
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(doc.CanUndo()) << "edit " << i;
        doc.UndoEdit();
    }
    EXPECT_EQ(doc.ParagraphCount(), 0);
}

TEST(EditHistory, DropsTheOldestEditsButKeepsTheLatest) {
    const auto edit = [](size_t size) {
        EditRecord record;
        record.paragraphs.push_back(std::string(size, 'X'));
        return record;
    };
    EditHistory history(3 * (sizeof(EditRecord) + 102));
    for (int i = 0; i < 5; ++i) history.record(edit(100));
    int kept = 0;
    while (history.canUndo()) {
        history.pushUndone(history.takeUndo());
        ++kept;
    }
    EXPECT_EQ(kept, 3);
    history.record(edit(100000));
    EXPECT_TRUE(history.canUndo()) << "an edit bigger than the capacity is still undoable";
    EXPECT_FALSE(history.canRedo());
}

TEST(NcDocumentEdits, DeleteForwardRemovesACharacterOrAParagraphEnd) {
    NcDocument doc;
    doc.InsertText("G1\r\nM30");
    doc.SetCaret(1, 2);
    doc.DeleteForward();
    EXPECT_EQ(doc.GetParagraph(1), "G");
    doc.DeleteForward();
    EXPECT_EQ(paragraphsOf(doc), Lines{"GM30"});
    doc.SetCaret(1, 5);
    doc.DeleteForward();
    EXPECT_EQ(paragraphsOf(doc), Lines{"GM30"});
    EXPECT_EQ(doc.ByteCount(), 6);
}

TEST(NcDocumentEdits, SelectedTextKeepsControlCharactersButNul) {
    NcDocument doc;
    doc.InsertText(std::string("A\0\t\x12", 4) + "B\r\nC");
    doc.SelectAll();
    EXPECT_EQ(doc.SelectedText(),
              "A \t\x12"
              "B\r\nC");
}

TEST(ControlChars, FirstViewKeepsThemSecondViewBlanksCodesUpToNine) {
    const std::string text("\0\x01\t\x0a\x12 A\xff", 8);
    EXPECT_EQ(applyControlCharRule(text, true), std::string(" \x01\t\x0a\x12 A\xff", 8));
    EXPECT_EQ(applyControlCharRule(text, false), std::string("   \x0a\x12 A\xff", 8));
}

TEST(NcDocumentEdits, TabSizeChangesExpansion) {
    NcDocument doc;
    doc.InsertText("G1\tX5");
    doc.SetTabSize(4);
    EXPECT_EQ(doc.GetLine(1), "G1  X5");
}

}  // namespace
}  // namespace zantor::editor
