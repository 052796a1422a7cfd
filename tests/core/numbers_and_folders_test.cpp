#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <limits>
#include <regex>

#include "core/folders.h"
#include "core/real_text.h"
#include "core/ticks.h"
#include "scripted_interaction.h"
#include "temp_folder.h"

namespace zantor {
namespace {

TEST(Ticks, StoredDelaysConvertBothWays) {
    EXPECT_EQ(StoredDelayToTicks(2), 36);
    EXPECT_EQ(TicksToSecs(36), 2);
    EXPECT_EQ(StoredDelayToTicks(-5), 5);  // negative values are tick counts
    EXPECT_EQ(TicksToSecs(5), 0);
    EXPECT_EQ(StoredDelayToTicks(0), 0);
    EXPECT_EQ(SecsToTicks(10), 182);
    EXPECT_EQ(TicksToSecs(182), 10);
}

TEST(Ticks, DelaysTooLongToCountAreHeldAtTheLongestNeverWrapped) {
    constexpr int longest = std::numeric_limits<int>::max();
    EXPECT_EQ(StoredDelayToTicks(2000000000), longest);
    EXPECT_EQ(StoredDelayToTicks(std::numeric_limits<int>::min()), longest);
    // Written back as the longest delay, which reads as the same ticks again.
    EXPECT_EQ(TicksToSecs(longest), 117951341);
    EXPECT_EQ(StoredDelayToTicks(TicksToSecs(longest)), longest);
}

TEST(ParseRealOrWarn, AcceptsPlainNumbers) {
    testing::ScriptedInteraction ui;
    const std::pair<const char*, double> cases[] = {{"1.0", 1.0},  {"-.25", -0.25}, {"12", 12.0},
                                                    {"+3.5", 3.5}, {"1E3", 1000.0}, {" 2", 2.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(ParseRealOrWarn(text, ui), value) << text;
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ParseRealOrWarn, WarnsWithThePositionOfTheFirstBadCharacterAndGivesZero) {
    testing::ScriptedInteraction ui;
    EXPECT_EQ(ParseRealOrWarn("1.2x", ui), 0.0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, "Integer/Real String Conversion Error\nS = [1.2x]\nEr = 4");
    EXPECT_EQ(realTextErrorPosition("abc"), 1u);
    EXPECT_EQ(realTextErrorPosition(""), 1u);
    EXPECT_EQ(realTextErrorPosition("1e"), 3u);
}

TEST(ParseRealOrWarn, ANumberTooLargeForARealWarnsAndGivesZero) {
    testing::ScriptedInteraction ui;
    EXPECT_EQ(ParseRealOrWarn("1e400", ui), 0.0);
    EXPECT_EQ(ParseRealOrWarn(std::string(400, '9'), ui), 0.0);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{
                              "Integer/Real String Conversion Error\nS = [1e400]\nEr = 2",
                              "Integer/Real String Conversion Error\nS = [" + std::string(400, '9') +
                                  "]\nEr = 1"}));
    ui.messages.clear();
    EXPECT_EQ(ParseRealOrWarn("1e-400", ui), 0.0);  // too small to tell from 0 is 0
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FormatReal5, FiveDecimalsOrStripped) {
    EXPECT_EQ(FormatReal5(1.0), "1.00000");
    EXPECT_EQ(FormatReal5(12.5), "12.50000");
    EXPECT_EQ(FormatReal5(0.5), "0.50000");
    EXPECT_EQ(FormatReal5(12.5, true), "12.5");
    EXPECT_EQ(FormatReal5(12, true), "12.");
    EXPECT_EQ(FormatReal5(0, true), "0.");
}

TEST(Folders, StoredFolderTextsBecomePathsOfThisSystem) {
    ::setenv("HOME", "/home/op", 1);
    EXPECT_EQ(folderTextToPath("\\NCPRG"), "/home/op/NCPRG");
    EXPECT_EQ(folderTextToPath("C:\\NCPRG\\MILL"), "/home/op/NCPRG/MILL");
    EXPECT_EQ(folderTextToPath("/srv/nc"), "/srv/nc");
    EXPECT_EQ(folderTextToPath("progs"), "/home/op/progs");
    EXPECT_EQ(withTrailingSeparator("/a"), "/a/");
    EXPECT_EQ(withTrailingSeparator("/a/"), "/a/");
}

TEST(Folders, AFileDialogStartsInTheMachineFolderMadeWhenMissing) {
    testing::TempFolder home;
    ::setenv("HOME", home.path().c_str(), 1);
    // The trailing "/" keeps a dialog from proposing "NCPRG" as a file name.
    EXPECT_EQ(dialogStartFolder("\\NCPRG"), home.path() + "NCPRG/");
    struct stat st {};
    EXPECT_EQ(::stat(home.file("NCPRG").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    // A folder that cannot be made gives the home folder.
    home.write("BLOCKED", "a file in the way");
    EXPECT_EQ(dialogStartFolder("\\BLOCKED\\SUB"), home.path());
}

TEST(MakeTempName, GivesAFreeWorkFileName) {
    testing::TempFolder dir;
    const std::string a = MakeTempName(dir.path(), "ZTR");
    EXPECT_TRUE(std::regex_match(a, std::regex(dir.path() + "ZTR[0-9A-F]+\\.TMP")));
    dir.write(a.substr(dir.path().size()), "");
    for (int i = 0; i < 50; ++i) EXPECT_NE(MakeTempName(dir.path(), "ZTR"), a);
}

}  // namespace
}  // namespace zantor
