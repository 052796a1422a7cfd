#include <gtest/gtest.h>

#include "compare/compare_text_lines.h"

namespace zantor::compare {
namespace {

struct EqualCase {
    const char* a;
    const char* b;
    bool excludeLeading;
    bool caseSensitive;
    bool equal;
};

class LinesEqualTest : public ::testing::TestWithParam<EqualCase> {};

TEST_P(LinesEqualTest, FollowsTheOptions) {
    const EqualCase& c = GetParam();
    TCompareTextLines lines(c.excludeLeading, c.caseSensitive);
    EXPECT_EQ(lines.LinesEqual(c.a, c.b), c.equal) << '"' << c.a << "\" vs \"" << c.b << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinesEqualTest,
    ::testing::Values(EqualCase{"G01 X1", "G01 X1", false, false, true},
                      EqualCase{"G01 X1  \t", "G01 X1", false, true, true},
                      EqualCase{"G01 X1\r", "G01 X1 ", false, true, true},
                      EqualCase{"   G01 X1", "G01 X1", false, false, false},
                      EqualCase{"   G01 X1", "\tG01 X1", true, false, true},
                      EqualCase{"g01 x1", "G01 X1", false, false, true},
                      EqualCase{"g01 x1", "G01 X1", false, true, false},
                      // Only A to Z fold: Latin-1 letters stay as they are.
                      EqualCase{"\xe9", "\xc9", false, false, false},
                      EqualCase{"G01 X1", "G01 X10", false, false, false},
                      EqualCase{"", "  \t", false, false, true}));

struct SimilarCase {
    const char* file1;
    const char* file2;
    bool similar;
    bool allChunks;
};

class LinesSimilarTest : public ::testing::TestWithParam<SimilarCase> {};

TEST_P(LinesSimilarTest, CountsThePiecesFound) {
    const SimilarCase& c = GetParam();
    TCompareTextLines lines(false, false);
    lines.SetPair(c.file1, c.file2);
    EXPECT_EQ(lines.LinesSimilar(), c.similar);
    EXPECT_EQ(lines.AllChunksFound(), c.allChunks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinesSimilarTest,
    ::testing::Values(
        // 6 of 7 two-character pieces.
        SimilarCase{"G01 X10.5 Y2.0", "G01 X10.6 Y2.0", true, false},
        // Leading blanks do not count here.
        SimilarCase{"X1.0", "   X1.0", true, true},
        // 1 of 6 pieces.
        SimilarCase{"M30", "G00 X0", false, false},
        // Pieces are case-sensitive and each found piece is used up once.
        SimilarCase{"aaaa", "AAAA", false, false}, SimilarCase{"abab", "ab", false, false},
        SimilarCase{"", "   ", false, false},
        // Exactly 60 %: 3 of 5 one-character pieces.
        SimilarCase{"abcde", "abcxy", true, false}));

TEST(CompareTextLines, SetPairTellsExactEquality) {
    TCompareTextLines lines(false, false);
    EXPECT_TRUE(lines.SetPair("G01", "G01"));
    EXPECT_FALSE(lines.SetPair("G01 ", "G01"));
    EXPECT_TRUE(lines.PairEqual());
}

}  // namespace
}  // namespace zantor::compare
