#include <gtest/gtest.h>

#include "process_runner.h"
#include "sample_pair.h"

namespace zantor::compare {
namespace {

using zantor::testing::ProcessResult;

ProcessResult compareCli(std::vector<std::string> args) {
    args.insert(args.begin(), {ZANTOR_CLI, "compare"});
    return zantor::testing::runProcess(args);
}

TEST(CompareCommand, PrintsTheDifferenceListAsSavedAndStatusOne) {
    testing::SamplePair pair;
    // The older file named first still becomes File 2.
    const ProcessResult r = compareCli({pair.older, pair.newer});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, pair.expected("PART.dif", r.out));
}

TEST(CompareCommand, SummaryFollowsTheList) {
    testing::SamplePair pair;
    const ProcessResult r = compareCli({"--summary", "--matching", "adjacent", pair.newer, pair.older});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, pair.expected("PART_adjacent_summary.txt", r.out));
}

TEST(CompareCommand, IdenticalFilesExitZero) {
    testing::SamplePair pair;
    const ProcessResult r = compareCli({"--display", "first", pair.newer, pair.newer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Current File:PART_NEW.TAP"), std::string::npos);
}

TEST(CompareCommand, ErrorsExitTwo) {
    testing::SamplePair pair;
    const std::string empty = pair.folder.write("EMPTY.TAP", "");
    const std::string program = pair.folder.write("TOOL.DLL", "G00\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{pair.newer}, "zantor-cli compare: FILE2 is required\n"},
        {{"--matching", "some", pair.newer, pair.older}, ""},
        {{pair.newer, pair.folder.file("MISSING.TAP")},
         "zantor-cli compare: Cannot load file: " + pair.folder.file("MISSING.TAP") +
             "  to source list for processing. (No such file or directory)\n"},
        {{pair.newer, empty}, "zantor-cli compare: Empty file(s) ???\n"},
        {{pair.newer, program}, "zantor-cli compare: Non-ASCII Files can't be analyzed. (in this version)\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = compareCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args.front();
        EXPECT_EQ(r.out, "");
        if (!c.message.empty()) EXPECT_EQ(r.err, c.message);
        else EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
}  // namespace zantor::compare
