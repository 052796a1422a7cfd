#include <gtest/gtest.h>

#include <filesystem>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

class CleanupCommandTest : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args);
    }
    testing::TempFolder home;
    testing::TempFolder files;
};

TEST_F(CleanupCommandTest, WritesTheChangedProgramToStandardOutput) {
    struct Case {
        std::vector<std::string> options;
        std::string in, out;
    };
    const Case cases[] = {
        {{"spaces", "--add"}, "G01X1.Y2.(NO CHANGE)\r\n", "G01 X1. Y2.(NO CHANGE)\r\n"},
        {{"spaces", "--remove"}, "(TOOL 1 DRILL) G81 Z-1.\n", "(TOOL 1 DRILL)G81Z-1.\r\n"},
        {{"cleanup", "--comments", "--blank"}, "G1 (A)\n\nM30\n", "G1\r\nM30\r\n"},
        {{"cleanup", "--before-percent", "--blank"}, "HEAD\n%\nG1\n", "%\r\nG1\r\n"},
        {{"cleanup", "--control", "--after-end"}, "G1\x01 X1\nM30\nJUNK\n", "G1 X1\r\nM30\r\n"},
        {{"cleanup", "--add-percent"}, "%\nM30\n%\n", "%\r\nM30\r\n%\r\n%\r\n"},
        // Without any "%" nothing before it is deleted.
        {{"cleanup", "--before-percent"}, "O1\nM30\n", "O1\r\nM30\r\n"},
        // Without operation flags the machine's set runs: the default has none.
        {{"cleanup"}, "(A)\n\n", "(A)\r\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(files.write("P.TAP", c.in));
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 0) << c.options.back() << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.options.back();
        EXPECT_EQ(files.read("P.TAP"), c.in) << "the input stays";
    }
}

TEST_F(CleanupCommandTest, WithoutFlagsTheMachinesSetAndCommentMarksCount) {
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=1\nMachine1=Mill\n"
               "[Mill]\nCMTSTART=;\nCMTEND=;\nFCOPT3=1\nFCOPT4=1\nFCOPT6=1\n");
    const std::string in = files.write("P.TAP", "G1 ;NOTE; X1 (KEEP)\n\n\nM30\n");
    const ProcessResult r = cli({"cleanup", "--machine", "Mill", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "G1  X1 (KEEP)\r\nM30\r\n%\r\n");
    const ProcessResult flagged = cli({"cleanup", "--machine", "Mill", "--blank", in});
    EXPECT_EQ(flagged.out, "G1 ;NOTE; X1 (KEEP)\r\nM30\r\n");
    const ProcessResult unknown = cli({"cleanup", "--machine", "Lathe", in});
    EXPECT_EQ(unknown.status, 1);
}

TEST_F(CleanupCommandTest, OutputMayReplaceTheInputFile) {
    const std::string in = files.write("P.TAP", "G1X1\nM30\n");
    ProcessResult r = cli({"spaces", "--add", in, "-o", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(files.read("P.TAP"), "G1 X1\r\nM30\r\n");
    r = cli({"cleanup", "--add-percent", in, "-o", files.file("OUT.TAP")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(files.read("OUT.TAP"), "G1 X1\r\nM30\r\n%\r\n");
    // Nothing else is left in the folder: no temporary file, no backup.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(CleanupCommandTest, BadInputGivesOneLineAndStatusOne) {
    const std::string missing = files.file("NONE.TAP");
    const std::string target = files.file("OUT.TAP");
    const std::vector<std::vector<std::string>> cases = {
        {"cleanup", "--blank", missing, "-o", target},
        {"cleanup", "--blank", files.path(), "-o", target},
        {"spaces", "--remove", "/dev/null", "-o", target},
        {"spaces", missing},
        {"spaces", "--add", "--remove", files.write("P.TAP", "G1\n")},
    };
    for (const auto& args : cases) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 1) << args.back();
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty()) << args.back();
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.err.starts_with("zantor-cli " + args[0] + ": ")) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace zantor
