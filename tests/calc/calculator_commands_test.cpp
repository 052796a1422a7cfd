#include <gtest/gtest.h>

#include "process_runner.h"

namespace zantor {
namespace {

testing::ProcessResult cli(std::vector<std::string> args) {
    args.insert(args.begin(), ZANTOR_CLI);
    return testing::runProcess(args);
}

TEST(CalculatorCommands, TriangleTakesExpressionsAndGivesTheReportOrTheError) {
    const testing::ProcessResult r =
        cli({"triangle", "--side-a", "6/2", "--side-b", "2*2", "--angle-c", "90"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(" Side  C =  5.000000          Circumscribed Circle =  5.000000\r\n"),
              std::string::npos)
        << r.out;
    const testing::ProcessResult bad = cli({"triangle", "--side-a", "1", "--side-b", "1", "--side-c", "2"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "zantor-cli triangle: Error, Bad Sides\n");
    const testing::ProcessResult expression = cli({"triangle", "--side-a", "sin("});
    EXPECT_EQ(expression.err,
              "zantor-cli triangle: --side-a: Illegal or missing parenthese: SIN( >>\n");
}

TEST(CalculatorCommands, SpeedsAndFeedsRecalculatesFromTheFieldsGiven) {
    const testing::ProcessResult r = cli({"speeds-feeds", "--metric", "--diameter", "10",
                                          "--surface-speed", "100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("RPM                 : 3183.09886\r\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("M/min               : 100.00000\r\n"), std::string::npos) << r.out;
    EXPECT_EQ(cli({"speeds-feeds", "--diameter", "0"}).status, 1);
}

}  // namespace
}  // namespace zantor
