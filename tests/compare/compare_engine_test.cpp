#include <gtest/gtest.h>

#include "compare/compare_error.h"
#include "compare_fixture.h"

namespace zantor::compare {
namespace {

using testing::Comparing;
using Lines = std::vector<std::string>;

struct EngineCase {
    const char* name;
    Lines file1;
    Lines file2;
    CompareOptions options;
    Lines rows;  // "blk|change|line1|line2|text"
    int diffCount;
    long long matchCount;
    const char* resultText;
};

class CompareFilesTest : public ::testing::TestWithParam<EngineCase> {};

TEST_P(CompareFilesTest, FillsTheDifferenceList) {
    const EngineCase& c = GetParam();
    Comparing run(c.file1, c.file2, c.options);
    EXPECT_EQ(run.rows(), c.rows);
    EXPECT_EQ(run.result.diffCount, c.diffCount);
    EXPECT_EQ(run.result.matchCount, c.matchCount);
    EXPECT_EQ(run.result.resultText, c.resultText);
    EXPECT_EQ(run.result.diffFound, c.diffCount > 0);
}

CompareOptions with(MatchingLines matching, DisplayedLines displayed = DisplayedLines::Both) {
    CompareOptions o;
    o.matching = matching;
    o.displayed = displayed;
    return o;
}

CompareOptions caseSensitive() {
    CompareOptions o;
    o.caseSensitive = true;
    return o;
}

CompareOptions excludeLeading() {
    CompareOptions o;
    o.excludeLeadingWhitespace = true;
    o.caseSensitive = true;
    return o;
}

CompareOptions labelBlank() {
    CompareOptions o;
    o.labelBlankLines = true;
    return o;
}

const char* const kIdentical = "  *** Files are Identical. ***  --- (for options set)";

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareFilesTest,
    ::testing::Values(
        EngineCase{"Identical", {"a", "b", "c"}, {"a", "b", "c"}, {}, {}, 0, 3, kIdentical},
        EngineCase{"IdenticalCaseSensitive", {"a"}, {"a"}, caseSensitive(), {}, 0, 1,
                   "  *** Files are Identical. ***"},
        EngineCase{"IdenticalExcludingLeading", {"  a"}, {"a"}, excludeLeading(), {}, 0, 1, kIdentical},
        EngineCase{"TrailingBlanksDoNotCount", {"a \t", "b"}, {"a", "b  "}, caseSensitive(), {}, 0, 2,
                   "  *** Files are Identical. ***"},
        EngineCase{"LeadingBlanksCountWithoutTheOption", {"  X1.0"}, {"X1.0"}, caseSensitive(),
                   {" 1|Shift||001|X1.0", " 1| right|001||  X1.0"}, 1, 0, "  There is 1 difference."},
        EngineCase{"AddedLine", {"a", "x", "b", "c"}, {"a", "b", "c"}, {}, {" 1|Add|002||x"}, 1, 3,
                   "  There is 1 difference."},
        EngineCase{"DeletedLine", {"a", "b", "c"}, {"a", "y", "b", "c"}, {}, {" 1|Delete||002|y"}, 1, 3,
                   "  There is 1 difference."},
        EngineCase{"EditedLine", {"G01 X10.5 Y2.0"}, {"G01 X10.6 Y2.0"}, {},
                   {" 1|Edit||001|G01 X10.6 Y2.0", " 1| to..|001||G01 X10.5 Y2.0"}, 1, 0,
                   "  There is 1 difference."},
        EngineCase{"ShiftedLeft", {"X1.0"}, {"   X1.0"}, {},
                   {" 1|Shift||001|   X1.0", " 1| left|001||X1.0"}, 1, 0, "  There is 1 difference."},
        EngineCase{"ReplacedLine", {"M30"}, {"G00 X0"}, {},
                   {" 1|Replace||001|G00 X0", " 1|with..|001||M30"}, 1, 0, "  There is 1 difference."},
        EngineCase{"DeletedTail", {"a", "b"}, {"a", "b", "c", "d"}, {},
                   {" 1|Delete||003|c", " 1|Delete||004|d"}, 1, 2, "  There is 1 difference."},
        EngineCase{"AppendedTail", {"a", "b", "c"}, {"a"}, {},
                   {" 1|Append|002||b", " 1|Append|003||c"}, 1, 1, "  There is 1 difference."},
        EngineCase{"TwoAddedLinesAreOneDifference", {"a", "x", "y", "b", "c", "z", "d"},
                   {"a", "b", "c", "d"}, {},
                   {" 1|Add|002||x", " 1|Add|003||y", " 2|Add|006||z"}, 2, 4,
                   "  There are 2 differences."},
        EngineCase{"AllMatchingLines", {"a", "x", "b"}, {"a", "b"}, with(MatchingLines::All),
                   {"||001|001|a", " 1|Add|002||x", "||003|002|b"}, 1, 2, "  There is 1 difference."},
        EngineCase{"AdjacentMatchingLines", {"a", "b", "M30", "c", "d"}, {"a", "b", "G00 X0", "c", "d"},
                   with(MatchingLines::Adjacent),
                   {"||002|002|b", " 1|Replace||003|G00 X0", " 1|with..|003||M30", "||004|004|c"},
                   1, 4, "  There is 1 difference."},
        EngineCase{"AdjacentRowsAreNotRepeated", {"a", "M30", "b", "M30", "c"},
                   {"a", "G00 X0", "b", "G00 X0", "c"}, with(MatchingLines::Adjacent),
                   {"||001|001|a", " 1|Replace||002|G00 X0", " 1|with..|002||M30", "||003|003|b",
                    " 2|Replace||004|G00 X0", " 2|with..|004||M30", "||005|005|c"},
                   2, 3, "  There are 2 differences."},
        EngineCase{"FirstFileOnlyFoldsCaptions", {"M30", "a"}, {"G00 X0", "a"},
                   with(MatchingLines::None, DisplayedLines::FirstOnly), {" 1|Replace|001||M30"}, 1, 1,
                   "  There is 1 difference."},
        EngineCase{"SecondFileOnly", {"M30", "a"}, {"G00 X0", "a"},
                   with(MatchingLines::None, DisplayedLines::SecondOnly), {" 1|Replace||001|G00 X0"}, 1,
                   1, "  There is 1 difference."},
        EngineCase{"FirstFileOnlyWithOnlyDeletions", {"a", "b"}, {"a", "b", "c"},
                   with(MatchingLines::None, DisplayedLines::FirstOnly), {}, 1, 2,
                   "  There is 1 difference.  Lines were deleted from previous file."},
        EngineCase{"SecondFileOnlyWithOnlyAdditions", {"a", "b", "c"}, {"a", "b"},
                   with(MatchingLines::None, DisplayedLines::SecondOnly), {}, 1, 2,
                   "  There is 1 difference.  Lines were added to current file."},
        EngineCase{"BlankLinesLabelled", {"a", "", "b"}, {"a", "b"}, labelBlank(),
                   {" 1|Add|002||{BLANK LINE}"}, 1, 2, "  There is 1 difference."},
        EngineCase{"BlankLinesAsTheyAre", {"a", " ", "b"}, {"a", "b"}, {}, {" 1|Add|002|| "}, 1, 2,
                   "  There is 1 difference."}),
    [](const ::testing::TestParamInfo<EngineCase>& info) { return std::string(info.param.name); });

Lines numbered(const char* prefix, int from, int to) {
    Lines lines;
    for (int i = from; i <= to; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
}

Lines concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// An inserted block is found again only while it fits the 50-line window.
TEST(CompareFilesLookAhead, FindsTheFilesMeetingWithinFiftyLines) {
    const Lines tail = numbered("N", 1, 5);
    for (int inserted : {49, 50, 51}) {
        SCOPED_TRACE(inserted);
        Comparing run(concat(numbered("X", 1, inserted), tail), tail);
        if (inserted <= 50) {
            ASSERT_EQ(run.list.Rows().size(), size_t(inserted));
            EXPECT_EQ(run.list.Rows().front().change, "Add");
            EXPECT_EQ(run.result.diffCount, 1);
            EXPECT_EQ(run.result.matchCount, 5);
        } else {
            // Past the window the first pair cannot be anchored: a changed pair.
            EXPECT_EQ(run.list.Rows().front().change, "Replace");
            EXPECT_GT(run.result.diffCount, 1);
        }
    }
}

TEST(CompareFilesBlocks, MarkWhereTheFilesFirstAndLastParted) {
    Comparing run({"a", "x", "b", "c", "y", "d"}, {"a", "b", "c", "d"});
    EXPECT_EQ(run.current.BlockStart(), 2);
    EXPECT_EQ(run.current.BlockEnd(), 5);
    EXPECT_EQ(run.previous.BlockStart(), 2);
    EXPECT_EQ(run.previous.BlockEnd(), 4);
}

TEST(CompareFilesBlocks, AreSetWhenOnlyTheTailsDiffer) {
    Comparing appended({"a", "b", "c"}, {"a"});
    EXPECT_EQ(appended.current.BlockStart(), 2);
    EXPECT_EQ(appended.current.BlockEnd(), 3);
    EXPECT_EQ(appended.previous.BlockStart(), 1);

    Comparing deleted({"a"}, {"a", "b", "c"});
    EXPECT_EQ(deleted.previous.BlockStart(), 2);
    EXPECT_EQ(deleted.previous.BlockEnd(), 3);
}

TEST(SourceList, ALeaderOfNulsDoesNotHideTheText) {
    const std::string leader(20, '\0');
    Comparing run({leader + "G01 X1"}, {leader + "G01 X2"});
    EXPECT_TRUE(run.result.diffFound);
}

TEST(SourceList, SplitsAtEveryKindOfLineEnd) {
    TSourceList list(1);
    list.LoadText("a\r\nb\rc\nd\r\r\ne");
    ASSERT_EQ(list.Count(), 6);
    const Lines expected{"a", "b", "c", "d", "", "e"};
    for (long long i = 0; i < 6; ++i) EXPECT_EQ(list.Line(i), expected[size_t(i)]);
}

TEST(SourceList, CursorFaultsAreReported) {
    TSourceList list(1);
    list.LoadText("a\nb\n");
    list.Reset();
    EXPECT_THROW(list.Prev(), CompareError);
    list.Next();
    list.Next();
    EXPECT_TRUE(list.AtEnd());
    EXPECT_THROW(list.CurrentLine(), CompareError);
    try {
        list.Next();
        FAIL();
    } catch (const CompareError& e) {
        EXPECT_STREQ(e.what(), "Out-of-range SourceList index: 2.");
    }
}

TEST(SourceList, LoadFailureNamesTheFile) {
    TSourceList list(1);
    list.SetFileName("/nonexistent/P1.TAP");
    try {
        list.Load();
        FAIL();
    } catch (const CompareError& e) {
        EXPECT_STREQ(e.what(), "Cannot load file: /nonexistent/P1.TAP\r to source list for processing.");
    }
}

class CancelAt : public CompareProgress {
public:
    explicit CancelAt(int pass) : pass_(pass) {}
    void Progress(long long, long long, int pass) override {
        seen = std::max(seen, pass);
        if (pass == pass_) throw CompareCanceled();
    }
    int seen = 0;

private:
    int pass_;
};

TEST(CompareFilesProgress, EveryPassReportsAndCanBeCanceled) {
    for (int pass : {1, 2, 3}) {
        TSourceList a(1), b(2);
        a.LoadText("M30\na\n");
        b.LoadText("G00 X0\na\n");
        DifferenceList list;
        CancelAt progress(pass);
        EXPECT_THROW(CompareFiles(a, b, with(MatchingLines::None, DisplayedLines::FirstOnly), list,
                                  progress),
                     CompareCanceled);
        EXPECT_EQ(progress.seen, pass);
    }
}

}  // namespace
}  // namespace zantor::compare
