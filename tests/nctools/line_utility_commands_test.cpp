#include <gtest/gtest.h>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

// zantor-cli's commands that renumber, rewrite values and change line
// begins and ends; each reads FILE and writes the changed program.
class LineUtilityCommandsTest : public ::testing::Test {
protected:
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args);
    }
    void machine(const std::string& keys) {
        home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\n" + keys);
        home.write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Mill\n");
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
            EXPECT_EQ(files.read("P.TAP"), c.in) << "the input stays";
        }
    }
    void expectFailure(const std::vector<std::string>& args, const std::string& message) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 1) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "zantor-cli " + args[0] + ": " + message + "\n");
    }

    testing::TempFolder home;
    testing::TempFolder files;
};

TEST_F(LineUtilityCommandsTest, ResequenceTakesItsFieldsAsOptions) {
    expectOutputs({
        {{"resequence"}, "%\nN5 G1\nG2\n/M1\n(A)\n", "%\r\nN10 G1\r\nN20G2\r\n/N30M1\r\n(A)\r\n"},
        {{"resequence", "--remove"}, "N5 G1\nNOTE\n/N7 M1\n", "G1\r\nNOTE\r\nM1\r\n"},
        {{"resequence", "--start", "100", "--increment", "5", "--leading-zeros"},
         "G1\nG2\n",
         "N0100G1\r\nN0105G2\r\n"},
        {{"resequence", "--start", "98", "--max-digits", "2"}, "G1\nG2\n", "N98G1\r\nN10G2\r\n"},
        {{"resequence", "--sequence-chars", "Q", "--skip-chars", ""}, "N1\n%\n", "Q10N1\r\nQ20%\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, ResequenceDefaultsComeFromTheMachine) {
    machine("RSSEQST=1\nRSINCR=1\nRSMAXDIG=3\nRSSEQCHR=:\nRSSKPCHR=%\nRSLZEROS=1\n");
    expectOutputs({
        {{"resequence"}, "%\n:9 G1\nG2\n", "%\r\n:001 G1\r\n:002G2\r\n"},
        {{"resequence", "--machine", "Mill", "--no-leading-zeros", "--start", "7"},
         "G1\n",
         ":7G1\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, ResequenceRefusesNumbersThatAreNoIntegers) {
    const std::string in = files.write("P.TAP", "G1\n");
    expectFailure({"resequence", "--start", "1O", in}, "'1O' is not a valid integer value");
    expectFailure({"resequence", "--increment", "2.5", in, "-o", in},
                  "'2.5' is not a valid integer value");
    EXPECT_EQ(files.read("P.TAP"), "G1\n");
    machine("RSMAXDIG=four\n");
    expectFailure({"resequence", in}, "'four' is not a valid integer value");
}

TEST_F(LineUtilityCommandsTest, LineEndsFromOptionsOrTheMachine) {
    expectOutputs({
        {{"line-ends", "--end-from", ";", "--end-to", "$"}, "G1;\n\nG2\n", "G1$\r\n\r\nG2$\r\n"},
        {{"line-ends", "--begin-to", "/"}, "G1\n/G2\n", "/G1\r\n//G2\r\n"},
        {{"line-ends", "--begin-from", "/"}, "/G1\nG2\n", "G1\r\nG2\r\n"},
        {{"line-ends"}, "G1;\n", "G1;\r\n"},
    });
    machine("CLBFROM=N\nCLBTO=/N\nCLEFROM=;\nCLETO=*\n");
    expectOutputs({
        {{"line-ends"}, "N1 G1;\nG2\n", "/N1 G1*\r\n/NG2*\r\n"},
        {{"line-ends", "--begin-to", "", "--end-to", ""}, "N1 G1;\n", "1 G1\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, ArithmeticTakesAnExpressionAsTheAmount) {
    expectOutputs({
        {{"arithmetic", "--add", "0.5", "--registers", "X"},
         "G01 X1.25 Y2. (TOOL X)\n",
         "G01 X1.75 Y2. (TOOL X)\r\n"},
        {{"arithmetic", "--subtract", "2*D"}, "X1 Y1 F10.\n", "X0 Y0 F10.\r\n"},
        {{"arithmetic", "--multiply", "25.4", "--registers", "XYZ"}, "X1. Z-.5\n", "X25.4 Z-12.7\r\n"},
        // The amount is the field's five-decimal value: 1/3 is 0.33333.
        {{"arithmetic", "--multiply", "1/3", "--registers", "X"}, "X30000.\n", "X9999.9\r\n"},
        {{"arithmetic", "--divide", "sqrt(4)", "--registers", "X"}, "X1.\n", "X.5\r\n"},
        // Without an operation the machine's, by default Add 1.0.
        {{"arithmetic"}, "X1 (X1)\n", "X2. (X1)\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, ArithmeticAndOverrideWriteTheMachinesFormat) {
    machine("FORMAT=3\nDIGR=4\nFDIGITS=2\nCMTSTART=;\nCMTEND=;\n"
            "ARREGSTR=XF\nAROPPR=3\nARAMOUNT=2\n");
    expectOutputs({
        {{"arithmetic"}, "X15000 F1000 ;X1;\n", "X30000 F2000 ;X1;\r\n"},
        // F among the registers takes the axis digits, the override the feed digits.
        {{"arithmetic", "--add", "0", "--registers", "F"}, "F1234\n", "F1234\r\n"},
        {{"override", "--feed", "50", "--speed", "110"},
         "S1000 M03 F2000 ;F2000;\n",
         "S1100 M03 F1000 ;F2000;\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, OverrideScalesFeedsAndSpeeds) {
    expectOutputs({
        {{"override", "--feed", "50", "--speed", "110"}, "S1000 M03 F20.\n", "S1100 M03 F10.\r\n"},
        {{"override"}, "G1 F20 S500.4\n", "G1 F20. S500\r\n"},
        {{"override", "--speed", "50"}, "S1005 (S1005)\n", "S503 (S1005)\r\n"},
    });
}

TEST_F(LineUtilityCommandsTest, BadAmountsAndPercentagesStopBeforeAnyChange) {
    const std::string in = files.write("P.TAP", "X1\n");
    expectFailure({"arithmetic", "--divide", "0", in, "-o", in}, "Cannot Divide by Zero");
    expectFailure({"arithmetic", "--divide", "0.00004", in}, "Cannot Divide by Zero");
    expectFailure({"arithmetic", "--add", "1/0", in},
                  "Error in Expression: Division by zero: 1/ >>0");
    expectFailure({"arithmetic", "--add", "2#", in},
                  "Error in Expression: Illegal character: 2 >>#");
    EXPECT_EQ(files.read("P.TAP"), "X1\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"override", "--feed", "0", in},
             {"override", "--speed", "abc", in},
             {"arithmetic", "--add", "1", "--multiply", "2", in}}) {
        const ProcessResult r = cli(args);
        EXPECT_EQ(r.status, 1) << args[2];
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("zantor-cli " + args[0] + ": ")) << r.err;
    }
    machine("AROPPR=4\nARAMOUNT=0\n");
    expectFailure({"arithmetic", in}, "Cannot Divide by Zero");
}

// Programs are passed through line by line: one bigger than the pieces it is
// read and written in comes out whole, and one with a line too long to keep
// is refused before anything is written.
TEST_F(LineUtilityCommandsTest, BigProgramsComeOutWholeAndCutLinesAreRefused) {
    std::string in, out;
    for (int n = 1; n <= 40000; ++n) {
        in += "G1 X" + std::to_string(n) + "\n";
        out += "N" + std::to_string(n * 10) + "G1 X" + std::to_string(n) + "\r\n";
    }
    expectOutputs({{{"resequence", "--max-digits", "6"}, in, out}});
    const std::string path = files.write("P.TAP", in);
    ASSERT_EQ(cli({"resequence", "--max-digits", "6", path, "-o", path}).status, 0);
    EXPECT_EQ(files.read("P.TAP"), out);

    const std::string cut = files.write("CUT.TAP", "G1\n" + std::string(40000, 'X') + "\n");
    const std::string refusal =
        cut + ": Line 2 is longer than 32767 characters and was cut to that length. "
              "Nothing was written.";
    expectFailure({"resequence", cut}, refusal);
    expectFailure({"arithmetic", cut, "-o", cut}, refusal);
    EXPECT_EQ(files.read("CUT.TAP"), "G1\n" + std::string(40000, 'X') + "\n");
}

TEST_F(LineUtilityCommandsTest, OutputMayReplaceTheInputFile) {
    const std::string in = files.write("P.TAP", "G1\nG2\n");
    const ProcessResult r = cli({"resequence", in, "-o", in});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(files.read("P.TAP"), "N10G1\r\nN20G2\r\n");
}

}  // namespace
}  // namespace zantor
