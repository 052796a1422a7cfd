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

TEST_F(ProgramUtilityCommandsTest, ColumnsTakeTheMachinesLayout) {
    home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill 1\n"
                             "[Mill 1]\nMCREGORDER=NX\nMCTABW=4\nCMTSTART=;\nCMTEND=;\n");
    expectOutputs({
        {{"columns"}, "N1 ;A; X1.\n\nX2\n", "N1  X1.;A;\r\n\r\n    X2\r\n"},
        {{"columns", "--order", "NGX", "--width", "3"}, "N1 X1. (A)\n", "N1    X1.(A)\r\n"},
        {{"columns", "--width", "0"}, "N1 X1.\n", "N1X1.\r\n"},
    });
    const std::string in = files.write("P.TAP", "N1\n");
    expectFailure({"columns", "--width", "wide", in},
                  "Could not convert: --width = wide");
}

TEST_F(ProgramUtilityCommandsTest, SplitWritesOneFilePerProgram) {
    const std::string in =
        files.write("ALL.TAP", "%\nO1000\nG00 X0\nM30\n%\nO2000\nG01 X1\nM30\n%\n");
    const std::string dir = files.file("");
    ProcessResult r = cli({"split", "--dir", dir, "--ext", "TAP", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, dir + "O1000.TAP\n" + dir + "O2000.TAP\n");
    EXPECT_EQ(files.read("O1000.TAP"), "%\r\nO1000\r\nG00 X0\r\nM30\r\n%\r\n");
    EXPECT_EQ(files.read("O2000.TAP"), "%\r\nO2000\r\nG01 X1\r\nM30\r\n%\r\n");

    // Without --overwrite an existing file is named and stops the split.
    files.write("O2000.NC", "keep");
    expectFailure({"split", "--dir", dir, "--ext", "NC", "--prefix", "", in},
                  dir + "O2000.NC exists; nothing more was written (--overwrite replaces it)");
    EXPECT_EQ(files.read("O2000.NC"), "keep");
    EXPECT_EQ(files.read("O1000.NC"), "O1000\r\nG00 X0\r\nM30\r\n%\r\n%\r\n");

    r = cli({"split", "--dir", dir, "--ext", "TAP", "--suffix", "", "--overwrite", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(files.read("O2000.TAP"), "%\r\nO2000\r\nG01 X1\r\nM30\r\n");
}

TEST_F(ProgramUtilityCommandsTest, SplitUsesTheMachinesExtensionAndProgramCharacter) {
    home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill 1\n"
                             "[Mill 1]\nPROGID=:\nDEFEXT=NC\n");
    const std::string in = files.write("ALL.TAP", ":12 (A)\nM30\n");
    const ProcessResult r = cli({"split", "--dir", files.path(), in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(files.read("O12.NC"), "%\r\nO12 (A)\r\nM30\r\n%\r\n");
}

TEST_F(ProgramUtilityCommandsTest, InfoShowsTheBoxValues) {
    const std::string in = files.write("P.TAP", std::string(118, 'X') + "\n" +
                                                    std::string(1078, 'Y') + "\n");
    const ProcessResult r = cli({"info", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "File Name: P.TAP\nLines: 2\nCharacters: 1200\nFeet:  10.0\nMeters:   3.0\n"
              "Modified: No\n");
}

}  // namespace
}  // namespace zantor
