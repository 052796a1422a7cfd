#include "nctools/nc_words.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

TEST(NcWords, AWordIsItsLetterAndTheValueCharactersAfterIt) {
    const std::string line = "G01X-1.25Y.5F20. (CUT)";
    EXPECT_EQ(ReadNcWord(line, 3), "X-1.25");
    EXPECT_EQ(ReadNcWord(line, 9), "Y.5");
    EXPECT_EQ(ReadNcWord(line, 12), "F20.");
    EXPECT_EQ(ReadNcWord(line, line.size()), "");
}

TEST(NcWords, ReplaceFirstChangesOnlyTheFirstOccurrence) {
    std::string text = "X1Y1X1";
    ReplaceFirst(text, "X1", "X2");
    EXPECT_EQ(text, "X2Y1X1");
    ReplaceFirst(text, "", "Z");
    ReplaceFirst(text, "Q", "Z");
    EXPECT_EQ(text, "X2Y1X1");
}

TEST(NcWords, CommentsRunToTheirEndCharacterOrTheLineEnd) {
    const CommentSpan span = findComment("G1 (A) X1 (B)", "(", ")");
    EXPECT_EQ(span.begin, 3u);
    EXPECT_EQ(span.end, 6u);
    EXPECT_EQ(findComment("G1 (OPEN", "(", ")").end, 8u);
    // Only the start's first character counts; a longer end never matches.
    EXPECT_EQ(findComment("G1 [X] Y", "[[", "]]").end, 8u);
    EXPECT_EQ(findComment("G1 X1", "(", ")").begin, std::string::npos);
}

}  // namespace
}  // namespace zantor
