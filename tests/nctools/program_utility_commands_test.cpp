#include <gtest/gtest.h>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

// zantor-cli's commands that reformat a program for another machine, lay
// it out in columns, split it into files and tell about it.
class ProgramUtilityCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Mill 1 writes decimals with round comments, Mill 2 trailing zeros
        // with square ones and bare motion codes.
        home.write("WPOSTS.INI",
                   "[Machine Names]\nNumber=2\nMachine1=Mill 1\nMachine2=Mill 2\n"
                   "[Mill 1]\nNmname=Mill 2\nRFREGS=XYZF\nRFSUBO1=M06\nRFSUBN1=M6\n"
                   "[Mill 2]\nFORMAT=3\nDIGR=3\nFDIGITS=1\nCMTSTART=[\nCMTEND=]\n"
                   "RAPCODE=G0\nLINCODE=G1\nPROGID=O\nDEFEXT=NC\n");
        home.write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Mill 1\n");
    }
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args);
    }
    struct Case {
        std::vector<std::string> options;
        std::string in, out;
    };
    void expectOutputs(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            std::vector<std::string> args = c.options;
            args.push_back(files.write("P.TAP", c.in));
            const ProcessResult r = cli(args);
            std::string what;
            for (const std::string& o : c.options) what += o + " ";
            EXPECT_EQ(r.status, 0) << what << ": " << r.err;
            EXPECT_EQ(r.out, c.out) << what;
        }
    }
    void expectFailure(const std::vector<std::string>& args, const std::string& message) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "zantor-cli " + args[0] + ": " + message + "\n");
    }

    testing::TempFolder home;
    testing::TempFolder files;
};

TEST_F(ProgramUtilityCommandsTest, ReformatConvertsToTheOtherMachine) {
    expectOutputs({
        {{"reformat"}, "G01 X1.5 (FIN) F20.\nG00 M06\n", "G1 X1500  F200[FIN]\r\nG0 M6\r\n"},
        {{"reformat", "--to", "Mill 2", "--registers", "X", "--no-substitutions"},
         "G17 G01 X2. F20.\nM06\n",
         "G17 G1 X2000 F20.\r\nM06\r\n"},
        {{"reformat", "--no-registers", "--no-comments", "--no-mixed"},
         "G00 X15000 (A)\n",
         "G0 X15000 (A)\r\n"},
    });
}

TEST_F(ProgramUtilityCommandsTest, ReformatNeedsAnotherMachine) {
    const std::string in = files.write("P.TAP", "X1.\n");
    expectFailure({"reformat", "--to", "Mill 1", in, "-o", in},
                  "Current Machine & New Machine Are the Same");
    expectFailure({"reformat", "--to", "Lathe", in}, "no machine named 'Lathe'");
    expectFailure({"reformat", "--machine", "Mill 2", in}, "no new machine: name one with --to");
    EXPECT_EQ(files.read("P.TAP"), "X1.\n");
}

}  // namespace
}  // namespace zantor
