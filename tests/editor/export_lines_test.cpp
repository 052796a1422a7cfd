#include "editor/export_lines.h"

#include <gtest/gtest.h>

#include "editor/nc_document.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using testing::TempFolder;

class ExportLinesTest : public ::testing::Test {
protected:
    ExportLinesTest() {
        doc.SetFileName("/shop/PART.TAP");
        doc.InsertText("N1\r\nN2\r\nN3\r\nN4\r\nN5\r\nN6\r\nN7\r\nN8");
    }
    NcDocument doc;
    TempFolder folder;
    const std::string workFile = folder.file("ZTR1.TMP");
};

TEST_F(ExportLinesTest, AllLines) {
    const ExportResult result = ExportLines(doc, ExportMode::AllLines, workFile);
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.fileName, "/shop/PART.TAP");
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N1\r\nN2\r\nN3\r\nN4\r\nN5\r\nN6\r\nN7\r\nN8\r\n");
}

TEST_F(ExportLinesTest, FromCaretWritesTheCaretLineToTheLast) {
    doc.SetCaret(5, 2);
    EXPECT_TRUE(ExportLines(doc, ExportMode::FromCaret, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N5\r\nN6\r\nN7\r\nN8\r\n");
}

TEST_F(ExportLinesTest, SelectedLinesWritesWholeLinesOfTheSelection) {
    doc.SetSelection({2, 2}, {4, 1});
    EXPECT_TRUE(ExportLines(doc, ExportMode::SelectedLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N2\r\nN3\r\nN4\r\n");
}

TEST_F(ExportLinesTest, SelectedLinesWithoutSelectionFailsAndLeavesTheWorkFile) {
    folder.write("ZTR1.TMP", "BEFORE");
    const ExportResult result = ExportLines(doc, ExportMode::SelectedLines, workFile);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.fileName, "/shop/PART.TAP");
    EXPECT_EQ(folder.read("ZTR1.TMP"), "BEFORE");
}

// A send never splits a block: program lines go whole, wrapped or not and
// however long, with their tabs expanded.
TEST_F(ExportLinesTest, LinesAreWholeProgramLinesWithTabsExpanded) {
    NcDocument wide;
    const std::string program = "G1\tX5\r\n" + std::string(1500, 'A') + "\r\nN9 B C D E F";
    wide.InsertText(program);
    const std::string expected =
        "G1      X5\r\n" + std::string(1500, 'A') + "\r\nN9 B C D E F\r\n";
    ASSERT_TRUE(ExportLines(wide, ExportMode::AllLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), expected);
    wide.SetWrapColumn(4);
    wide.SetWordWrap(true);
    ASSERT_TRUE(ExportLines(wide, ExportMode::AllLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), expected);
    wide.SetCaret(wide.LineCount() - 1, 1);
    ASSERT_TRUE(ExportLines(wide, ExportMode::FromCaret, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N9 B C D E F\r\n");
    wide.SetSelection({2, 2}, {wide.LineCount(), 1});
    ASSERT_TRUE(ExportLines(wide, ExportMode::SelectedLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "G1      X5\r\n" + std::string(1500, 'A') + "\r\nN9 B C D E F\r\n");
}

TEST_F(ExportLinesTest, AWriteErrorFailsWithTheSystemText) {
    const ExportResult result =
        ExportLines(doc, ExportMode::AllLines, folder.file("NOPE/ZTR1.TMP"));
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.error, "No such file or directory");
}

TEST(ExportLines, AnEmptyDocumentGivesAnEmptyWorkFile) {
    TempFolder folder;
    NcDocument empty;
    EXPECT_TRUE(ExportLines(empty, ExportMode::AllLines, folder.file("W.TMP")).success);
    EXPECT_EQ(folder.read("W.TMP"), "");
}

}  // namespace
}  // namespace zantor::editor
