// Edits of lines that are still held where the file was read: every line
// owns the bytes up to the next one, and an edit must never reach past them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "editor/nc_document.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;

Lines paragraphsOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

struct LoadedEdit {
    const char* name;
    const char* file;
    int paragraph;
    int offset, length;
    const char* text;
};

// Room after "N10 X1" in the first file: three blanks and CR LF.
const LoadedEdit kLoadedEdits[] = {
    {"shorter", "N10 X1   \r\nN20 Y2\r\nM30\r\n", 1, 0, 4, ""},
    {"into the blanks", "N10 X1   \r\nN20 Y2\r\nM30\r\n", 1, 6, 0, "Z3"},
    {"the whole room", "N10 X1   \r\nN20 Y2\r\nM30\r\n", 1, 6, 0, "Z3F10"},
    {"one past the room", "N10 X1   \r\nN20 Y2\r\nM30\r\n", 1, 6, 0, "Z3F100"},
    {"far past the room", "N10 X1\r\nN20 Y2\r\nM30\r\n", 1, 0, 0, "(A LONG COMMENT PUT IN FRONT)"},
    {"LF ends", "N10 X1\nN20 Y2\nM30\n", 2, 0, 3, "N200"},
    {"lone CR ends", "N10 X1\rN20 Y2\rM30\r", 2, 0, 3, "N20000"},
    {"empty line", "N10 X1\r\n\r\nM30\r\n", 2, 0, 0, "G4"},
    {"last line without an end", "N10 X1\r\nM30", 2, 3, 0, "  X"},
    {"trim of the edited line", "N10 X1\r\nN20 Y2\r\nM30", 2, 3, 3, "\t "},
};

class NcDocumentLoadedText : public ::testing::TestWithParam<LoadedEdit> {};

// The edited line changes, its neighbours do not; undo gives the loaded
// text back byte for byte, redo the edit again.
TEST_P(NcDocumentLoadedText, AnEditChangesItsLineAloneAndUndoesToTheLoadedBytes) {
    const LoadedEdit& c = GetParam();
    TempFolder folder;
    NcDocument doc;
    doc.LoadDocument(folder.write("PART.TAP", c.file));
    const Lines loaded = paragraphsOf(doc);
    const long long loadedBytes = doc.ByteCount();

    Lines edited = loaded;
    std::string& line = edited[size_t(c.paragraph) - 1];
    line = line.substr(0, size_t(c.offset)) + c.text + line.substr(size_t(c.offset + c.length));
    line.erase(line.find_last_not_of(" \t") + 1);

    doc.ReplaceInParagraph(c.paragraph, c.offset, c.length, c.text);
    EXPECT_EQ(paragraphsOf(doc), edited);
    doc.UndoEdit();
    EXPECT_EQ(paragraphsOf(doc), loaded);
    EXPECT_EQ(doc.ByteCount(), loadedBytes);
    doc.RedoEdit();
    EXPECT_EQ(paragraphsOf(doc), edited);

    doc.SaveDocument(folder.file("OUT.TAP"), false);
    std::string expected;
    for (size_t n = 0; n < edited.size(); ++n)
        if (n + 1 < edited.size() || !edited[n].empty()) expected += edited[n] + "\r\n";
    EXPECT_EQ(folder.read("OUT.TAP"), expected);
}

INSTANTIATE_TEST_SUITE_P(Edits, NcDocumentLoadedText, ::testing::ValuesIn(kLoadedEdits),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

// A line edited again and again, first in its room and then beyond it,
// each edit undone in turn back to the loaded line.
TEST(NcDocumentLoadedLines, ALineEditedSeveralTimesUndoesStepByStep) {
    TempFolder folder;
    NcDocument doc;
    doc.LoadDocument(folder.write("PART.TAP", "N1 X1 \r\nN2 X2\r\nN3 X3\r\n"));
    const Lines steps[] = {
        {"N1 X1", "N2 X2", "N3 X3"},
        {"N1 X1Y", "N2 X2", "N3 X3"},               // in its room
        {"N1 X1Y2.5", "N2 X2", "N3 X3"},            // beyond it
        {"N1 X1Y2.5 (FINISH)", "N2 X2", "N3 X3"},   // grown where it now is
        {"X1Y2.5 (FINISH)", "N2 X2", "N3 X3"},      // shorter again
    };
    doc.ReplaceInParagraph(1, 5, 0, "Y");
    doc.ReplaceInParagraph(1, 6, 0, "2.5");
    doc.ReplaceInParagraph(1, 9, 0, " (FINISH)");
    doc.ReplaceInParagraph(1, 0, 3, "");
    EXPECT_EQ(paragraphsOf(doc), steps[4]);
    for (int step = 3; step >= 0; --step) {
        doc.UndoEdit();
        EXPECT_EQ(paragraphsOf(doc), steps[step]) << "after undoing back to step " << step;
    }
    for (int step = 1; step <= 4; ++step) {
        doc.RedoEdit();
        EXPECT_EQ(paragraphsOf(doc), steps[step]) << "after redoing step " << step;
    }
}

// Lines put in or taken out before, between and after loaded lines; then
// every loaded line grown into its room and past it.
TEST(NcDocumentLoadedLines, LoadedLinesKeepTheirTextAroundInsertedAndDeletedLines) {
    TempFolder folder;
    NcDocument doc;
    doc.LoadDocument(folder.write("PART.TAP", "%\r\nN1 X1  \r\nN2 X2\r\nN3 X3\r\nN4 X4\r\nM30\r\n"));
    doc.SetCaret(2, 1);
    doc.InsertText("G90\r\nG17\r\n");  // before N1
    doc.SetCaret(5, 1);
    doc.DeleteCaretLine();  // N2
    doc.AppendLine("%");
    doc.SetSelection({5, 1}, {6, 1});
    doc.DeleteSelection();  // N3
    EXPECT_EQ(paragraphsOf(doc), (Lines{"%", "G90", "G17", "N1 X1", "N4 X4", "M30", "%"}));
    for (int p = 1; p <= doc.ParagraphCount(); ++p) {
        const int length = int(doc.GetParagraph(p).size());
        doc.ReplaceInParagraph(p, length, 0, "A");
        doc.ReplaceInParagraph(p, length + 1, 0, "BCDEFGHIJ");
    }
    EXPECT_EQ(paragraphsOf(doc), (Lines{"%ABCDEFGHIJ", "G90ABCDEFGHIJ", "G17ABCDEFGHIJ",
                                        "N1 X1ABCDEFGHIJ", "N4 X4ABCDEFGHIJ", "M30ABCDEFGHIJ",
                                        "%ABCDEFGHIJ"}));
    while (doc.CanUndo()) doc.UndoEdit();
    EXPECT_EQ(paragraphsOf(doc), (Lines{"%", "N1 X1", "N2 X2", "N3 X3", "N4 X4", "M30"}));
}

}  // namespace
}  // namespace zantor::editor
