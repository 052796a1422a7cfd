#include <gtest/gtest.h>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

testing::ProcessResult eval(std::vector<std::string> words) {
    words.insert(words.begin(), {ZANTOR_CLI, "eval"});
    return testing::runProcess(words);
}

TEST(EvalCommand, PrintsTheValueAsAFieldShowsItOrTheErrorBox) {
    EXPECT_EQ(eval({"5/2"}).out, "2.50000\n");
    EXPECT_EQ(eval({"2", "pi"}).out, "6.28319\n");
    EXPECT_EQ(eval({"--", "-2*3"}).out, "-6.00000\n");
    EXPECT_EQ(eval({"-2*3"}).out, "-6.00000\n");
    const testing::ProcessResult bad = eval({"sin("});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "Error in Expression      \n\nIllegal or missing parenthese\n\nSIN( >>\n");
}

}  // namespace
}  // namespace zantor

namespace zantor {
namespace {

TEST(BMacroCommand, WritesTheExpandedCodeBesideTheProgramAndNothingForARunawayMacro) {
    testing::TempFolder folder;
    const std::string program = folder.write(
        "DRILL.TAP", "#1=0\r\nWHILE[#1LT2]DO1\r\nG81 X#1 (HOLE)\r\n#1=#1+#2\r\nEND1\r\nM30\r\n");
    const testing::ProcessResult r = testing::runProcess(
        {ZANTOR_CLI, "--home", folder.path(), "--system", folder.path(), "bmacro", "--define",
         "#2=1", program});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.read("DRILL.OUT"), "G81X0.0000(HOLE)\r\nG81X1.0000(HOLE)\r\nM30\r\n");

    folder.write("DRILL.OUT", "old");
    const std::string runaway = folder.write("LOOP.TAP", "N10 X1\r\nGOTO10\r\n");
    const testing::ProcessResult stopped = testing::runProcess(
        {ZANTOR_CLI, "--home", folder.path(), "--system", folder.path(), "bmacro", "--max-steps",
         "500", runaway, "-o", folder.file("DRILL.OUT")});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_NE(stopped.err.find("Stopped after 500 executed lines, at line 2"), std::string::npos)
        << stopped.err;
    EXPECT_EQ(folder.read("DRILL.OUT"), "old");
}

}  // namespace
}  // namespace zantor
