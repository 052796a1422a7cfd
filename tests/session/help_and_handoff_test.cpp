#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "session/analyzer_handoff.h"
#include "session/help_pages.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::TempFolder;

TEST(AnalyzerOperationsFile, ExtensionReplacedOrAdded) {
    EXPECT_EQ(AnalyzerOperationsFile("C:\\PARTS\\A1.TAP"), "C:\\PARTS\\A1.OPF");
    EXPECT_EQ(AnalyzerOperationsFile("/shop/parts/A1.NC"), "/shop/parts/A1.OPF");
    EXPECT_EQ(AnalyzerOperationsFile("/shop/v1.2/A1"), "/shop/v1.2/A1.OPF");
    EXPECT_EQ(AnalyzerOperationsFile("/shop/A1.TAP.BAK"), "/shop/A1.TAP.OPF");
}

TEST(AnalyzerHandoff, WritesTheThreeListsAndKeepsOtherKeys) {
    TempFolder dir;
    const std::string ps = dir.write("PS.INI",
                                     "[Window]\r\nLeft=10\r\n"
                                     "[mtaform.OvcMenuMRU1.Items]\r\n0=/old/B.TAP\r\n1=/old/C.TAP\r\nCount=2\r\n"
                                     "[mtaform.OvcMenuMRU2.Items]\r\nCount=0\r\n");
    WriteAnalyzerHandoff(ps, "C:\\PARTS\\A1.TAP", "MILL-1");
    const IniFile ini = IniFile::parse(dir.read("PS.INI"));
    EXPECT_EQ(ini.readString("Operationsdlg.OvcMenuMRU1.Items", "0", ""), "C:\\PARTS\\A1.OPF");
    EXPECT_EQ(ini.readInt("Operationsdlg.OvcMenuMRU1.Items", "Count", -1), 1);
    EXPECT_EQ(ini.readString("mtaform.OvcMenuMRU1.Items", "0", ""), "C:\\PARTS\\A1.TAP");
    // A count of 1 or more stays as it is; a count of 0 becomes 1.
    EXPECT_EQ(ini.readInt("mtaform.OvcMenuMRU1.Items", "Count", -1), 2);
    EXPECT_EQ(ini.readString("mtaform.OvcMenuMRU1.Items", "1", ""), "/old/C.TAP");
    EXPECT_EQ(ini.readString("mtaform.OvcMenuMRU2.Items", "0", ""), "MILL-1.MCH");
    EXPECT_EQ(ini.readInt("mtaform.OvcMenuMRU2.Items", "Count", -1), 1);
    EXPECT_EQ(ini.readInt("Window", "Left", -1), 10);
}

TEST(AnalyzerHandoff, MadeWhenMissingAndReportedWhenUnwritable) {
    TempFolder dir;
    WriteAnalyzerHandoff(dir.file("PS.INI"), "/p/X.TAP", "LATHE");
    EXPECT_EQ(IniFile::parse(dir.read("PS.INI")).readString("mtaform.OvcMenuMRU2.Items", "0", ""),
              "LATHE.MCH");
    EXPECT_THROW(WriteAnalyzerHandoff(dir.file("no/such/folder/PS.INI"), "/p/X.TAP", "L"),
                 std::exception);
}

class HelpPagesTest : public ::testing::Test {
protected:
    HelpPagesTest() {
        dir.write("contents.html", "<html><head><title>Contents</title></head><body>All</body></html>");
        dir.write("113.html",
                  "<html><head><title>Machine/DNC Setup</title></head>"
                  "<body><p>Baud <b>rate</b> and parity</p></body></html>");
        dir.write("121.html", "<html><head><title>Properties</title></head><body>Print margins</body></html>");
        dir.write("notes.txt", "rate");
    }
    static std::vector<std::string> titles(const std::vector<HelpTopic>& topics) {
        std::vector<std::string> result;
        for (const HelpTopic& t : topics) result.push_back(t.title);
        return result;
    }
    TempFolder dir;
};

TEST_F(HelpPagesTest, FolderPagesAndTitles) {
    TempFolder empty;
    EXPECT_EQ(FindHelpFolder({"", empty.path(), dir.path()}), dir.path());
    EXPECT_EQ(FindHelpFolder({empty.path()}), "");
    EXPECT_EQ(HelpPageFile("/h", 113), "/h/113.html");
    EXPECT_EQ(titles(HelpTopics(dir.path())),
              (std::vector<std::string>{"Contents", "Machine/DNC Setup", "Properties"}));
}

TEST_F(HelpPagesTest, SearchFindsEveryWordInTheVisibleText) {
    EXPECT_EQ(titles(SearchHelp(dir.path(), "BAUD rate")),
              (std::vector<std::string>{"Machine/DNC Setup"}));
    EXPECT_TRUE(SearchHelp(dir.path(), "baud margins").empty());
    // Tag names are not text.
    EXPECT_TRUE(SearchHelp(dir.path(), "body").empty());
    EXPECT_EQ(SearchHelp(dir.path(), "  ").size(), 3u);
}

}  // namespace
}  // namespace zantor
