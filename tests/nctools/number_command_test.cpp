#include <gtest/gtest.h>

#include "process_runner.h"

namespace zantor {
namespace {

std::string number(std::vector<std::string> args) {
    args.insert(args.begin(), {ZANTOR_CLI, "number"});
    const testing::ProcessResult r = testing::runProcess(args);
    return r.status == 0 ? r.out : "status " + std::to_string(r.status) + ": " + r.err;
}

TEST(NumberCommand, FormatsAndParsesLikeTheUtilities) {
    EXPECT_EQ(number({"format", "--format", "2", "--", "-1.25"}), "-00125\n");
    EXPECT_EQ(number({"format", "--format", "4", "--left", "2", "--right", "3", "1.5"}), "01500\n");
    EXPECT_EQ(number({"format", "--format", "5", "--right", "0", "1234.5"}), "1235\n");
    EXPECT_EQ(number({"parse", "--format", "3", "X15000"}), "1.5\n");
    EXPECT_EQ(number({"parse", "--format", "2", "--", "-0015"}), "-1.5\n");
    EXPECT_EQ(number({"parse", "--format", "1", "XABC"}), "0\n");
    EXPECT_EQ(number({"format", "--format", "1", "abc"}),
              "status 1: zantor-cli number format: 'abc' is not a number\n");
    EXPECT_EQ(number({"parse", "--format", "5", "X1"}).substr(0, 8), "status 1");
}

}  // namespace
}  // namespace zantor
