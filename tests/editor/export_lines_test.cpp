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

TEST_F(ExportLinesTest, LinesAreDisplayLinesWithTabsExpandedAndCut) {
    NcDocument wide;
    wide.InsertText("G1\tX5\r\n" + std::string(1500, 'A') + "\r\nB C D E F");
    ASSERT_TRUE(ExportLines(wide, ExportMode::AllLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"),
              "G1      X5\r\n" + std::string(1024, 'A') + "\r\nB C D E F\r\n");
    wide.SetWrapColumn(4);
    wide.SetWordWrap(true);
    wide.SetCaret(wide.LineCount() - 2, 1);
    ASSERT_TRUE(ExportLines(wide, ExportMode::FromCaret, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "C \r\nD \r\nE F\r\n");
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
