// zantor-cli tape and prepare.
#include <gtest/gtest.h>

#include <filesystem>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

class TapeCommandTest : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args);
    }
    testing::TempFolder home, files;
};

TEST_F(TapeCommandTest, EncodeAndDecodeEveryCode) {
    const std::string in = files.write("O1.TAP", "N1 G1\r\nM30\r\n");
    struct Case {
        std::string code, encoded, decoded;
    };
    const Case cases[] = {
        // A line feed's EIA code is blank tape, which reads back as NUL.
        {"eia", std::string("\x45\x01\x10\x67\x01\x80\x00\x54\x13\x20\x80\x00", 12),
         std::string("N1 G1\r\n\0M30\r\n\0", 14)},
        {"ascii", "\x4E\xB1\xA0\x47\xB1\x8D\x0A\x4D\x33\x30\x8D\x0A", "N1 G1\r\nM30\r\n"},
        {"iso", "N1 G1\r\nM30\r\n", "N1 G1\r\nM30\r\n"},
    };
    for (const Case& c : cases) {
        // Options may come after the files.
        const ProcessResult encoded = cli({"tape", "encode", in, files.file("OUT"), "--code", c.code});
        EXPECT_EQ(encoded.status, 0) << encoded.err;
        EXPECT_EQ(files.read("OUT"), c.encoded) << c.code;
        const ProcessResult decoded =
            cli({"tape", "decode", "--code", c.code, files.file("OUT"), files.file("BACK")});
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        EXPECT_EQ(files.read("BACK"), c.decoded) << c.code;
    }
}

TEST_F(TapeCommandTest, EiaRefusesACharacterWithoutCode) {
    const std::string in = files.write("O1.TAP", "N1 G1\r\nN2 X<5>\r\n");
    files.write("OUT", "old");
    const ProcessResult r = cli({"tape", "encode", "--code", "eia", in, files.file("OUT")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli tape encode: " + in +
                         ", line 2, column 5: \"<\" (0x3C) has no EIA code\n");
    EXPECT_EQ(files.read("OUT"), "old");
}

TEST_F(TapeCommandTest, PrepareMakesTheSendFileOfAMachine) {
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=1\nMachine1=Mill\n"
               "[Mill]\nTCODE=1\nLLEN=1\nSSEND=%\nESEND=/020\nSTRIPBLANK=1\n");
    home.write("ZTR2013.INI", "[GENERAL]\nLCOMMENTCHAR=(\n");
    const std::string in = files.write("O1.TAP", "(SETUP)\nG1\n\nM30\n");
    const ProcessResult r = cli({"prepare", in, "--machine", "Mill", "-o", files.file("SEND")});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string leader(11, '\0');
    EXPECT_EQ(files.read("SEND"),
              "\xA5" + leader + "\x47\xB1\x8D\x0A\x4D\x33\x30\x8D\x0A" + leader + "\x14");
    // No work file is left behind in the program folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(TapeCommandTest, DoubleDashEndsTheOptions) {
    const std::string in = files.write("-5.TAP", "G1\r\n");
    const ProcessResult r =
        cli({"tape", "encode", "--code", "iso", "--", "-5.TAP", files.file("OUT")});
    // The command runs in the test's folder; give the name relative to it.
    EXPECT_NE(r.status, 0);  // no such file here: only the name reached the command
    EXPECT_NE(r.err.find("-5.TAP"), std::string::npos) << r.err;
    const ProcessResult ok = cli({"tape", "encode", "--code", "iso", "--", in, files.file("OUT")});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(files.read("OUT"), "G1\r\n");
}

TEST_F(TapeCommandTest, MistakesGiveOneLineAndStatusOne) {
    const std::string in = files.write("O1.TAP", "G1\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"tape", "encode", in, files.file("OUT")}, "zantor-cli tape encode: --code is required\n"},
        {{"tape", "encode", "--code", "ebcdic", in, "OUT"},
         "zantor-cli tape encode: --code: ebcdic not in {eia,ascii,iso}\n"},
        {{"tape", "encode", "--code"}, "zantor-cli tape encode: option --code needs a value\n"},
        {{"tape", "encode", "--code", "iso", in, "OUT", "MORE"},
         "zantor-cli tape encode: unexpected argument 'MORE'\n"},
        {{"tape", "punch"}, "zantor-cli tape: unknown command 'punch'\n"},
        {{"prepare", in, "-o", files.file("SEND")}, "zantor-cli prepare: --machine is required\n"},
        {{"prepare", "--machine", "Nowhere", in, "-o", files.file("SEND")},
         "zantor-cli prepare: no machine named 'Nowhere'\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = cli(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
    }
    const ProcessResult help = cli({"tape", "encode", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--code"), std::string::npos);
}

}  // namespace
}  // namespace zantor
