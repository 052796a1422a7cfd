#include "editor/text_search.h"

#include <gtest/gtest.h>

#include <string>

namespace zantor::editor {
namespace {

TEST(TextSearch, WholeWordNeedsADelimiterOnBothSides) {
    const std::string delimiters = "\t'`\"\r\n @,./?;:<>[]{}-=\\+|()%&^$#!~*";
    const MatchRules wholeWord{false, true};
    for (const char d : delimiters) {
        SCOPED_TRACE(int(d));
        const std::string line = std::string("X") + d + "T1" + d + "Y";
        EXPECT_EQ(findForward(line, "T1", 0, wholeWord), 2u);
        EXPECT_TRUE(isWordDelimiter(d));
    }
    for (const char c : std::string("AZaz09_\xe9\x01")) {
        SCOPED_TRACE(int(c));
        EXPECT_FALSE(isWordDelimiter(c));
        EXPECT_EQ(findForward(std::string("X") + c + "T1 Y", "T1", 0, wholeWord),
                  std::string::npos);
    }
    EXPECT_EQ(findForward("T1", "T1", 0, wholeWord), 0u) << "the line's ends count as delimiters";
}

TEST(TextSearch, CaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(findForward("n10 g1", "G1", 0, {}), 4u);
    EXPECT_EQ(findForward("n10 g1", "G1", 0, {true, false}), std::string::npos);
    EXPECT_EQ(findForward("A\xe9", "\xc9", 0, {}), std::string::npos)
        << "bytes above 127 match only themselves";
}

TEST(TextSearch, BackwardFindsTheLastMatchBeforeThePosition) {
    const std::string line = "G1 G1 G1";
    EXPECT_EQ(findBackward(line, "G1", line.size() + 1, {}), 6u);
    EXPECT_EQ(findBackward(line, "G1", 6, {}), 3u);
    EXPECT_EQ(findBackward(line, "G1", 1, {}), 0u);
    EXPECT_EQ(findBackward(line, "G1", 0, {}), std::string::npos);
    EXPECT_EQ(findForward(line, "G1", 4, {}), 6u);
}

}  // namespace
}  // namespace zantor::editor
