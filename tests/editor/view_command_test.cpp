#include <gtest/gtest.h>

#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::ProcessResult;

ProcessResult view(std::vector<std::string> args) {
    args.insert(args.begin(), {ZANTOR_CLI, "view"});
    return testing::runProcess(args);
}

TEST(ViewCommand, PrintsTextAndHexLines) {
    testing::TempFolder folder;
    const std::string path = folder.write("P.TAP", std::string("G1\tX5\r\nM30\0\r\nEND!", 17));
    const ProcessResult text = view({path});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, "G1      X5\nM30 \nEND!\n");
    const ProcessResult hex = view({"--hex", path});
    EXPECT_EQ(hex.status, 0);
    EXPECT_EQ(hex.out,
              "00000000  47 31 09 58 35 0D 0A 4D 33 30 00 0D 0A 45 4E 44  G1.X5..M30...END\n"
              "00000010  21 " +
                  std::string(45, ' ') + " !\n");
}

TEST(ViewCommand, ProblemsGiveOneLineAndStatusOne) {
    testing::TempFolder folder;
    const ProcessResult missing = view({folder.file("NONE.TAP")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"--bad", "X"}, {"A", "B"}}) {
        const ProcessResult r = view(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

}  // namespace
}  // namespace zantor
