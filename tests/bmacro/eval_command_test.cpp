#include <gtest/gtest.h>

#include "process_runner.h"

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
