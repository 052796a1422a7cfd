#include <gtest/gtest.h>

#include "compare/compare_report.h"
#include "compare_fixture.h"

namespace zantor::compare {
namespace {

using Lines = std::vector<std::string>;

TFileInfo fileInfo(const std::string& folder, const std::string& name, std::time_t modified,
                   long long size) {
    TFileInfo info;
    info.folder = folder;
    info.fileName = name;
    info.fullName = folder + name;
    info.found = true;
    info.modified = modified;
    info.size = size;
    return info;
}

std::time_t localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(FileInfo, DescribesNameSizeDateAndAttributes) {
    TFileInfo info = fileInfo("/nc/", "P1.TAP", localTime(2026, 3, 7, 9, 5, 4), 1234567);
    info.attributes = "R---";
    EXPECT_EQ(info.Description(), "      P1.TAP  Size: 1,234,567  Date: 07-Mar-2026 09:05:04  R---");
    info.size = 12;
    EXPECT_EQ(info.Description(), "      P1.TAP  Size:     12  Date: 07-Mar-2026 09:05:04  R---");
    info.found = false;
    EXPECT_EQ(info.Description(), "");
}

TEST(FileInfo, ThousandsSeparators) {
    EXPECT_EQ(WithThousands(0), "0");
    EXPECT_EQ(WithThousands(999), "999");
    EXPECT_EQ(WithThousands(1000), "1,000");
    EXPECT_EQ(WithThousands(39000000), "39,000,000");
}

struct InformationCase {
    const char* name;
    TFileInfo a;
    TFileInfo b;
    Lines expectedHead;  // the lines before the descriptions
};

class FileInformationTest : public ::testing::TestWithParam<InformationCase> {};

TEST_P(FileInformationTest, NamesTheFilesAndTheirAge) {
    const auto& c = GetParam();
    const Lines lines = FileInformationLines(c.a, c.b);
    ASSERT_GE(lines.size(), c.expectedHead.size() + 5);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + long(c.expectedHead.size())), c.expectedHead);
    EXPECT_EQ(lines.back(), "----");
}

const std::time_t kNoon = localTime(2026, 12, 1, 12, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Cases, FileInformationTest,
    ::testing::Values(
        InformationCase{"OlderChosenFirst", fileInfo("/nc/", "OLD.TAP", kNoon, 1),
                        fileInfo("/nc/", "NEW.TAP", kNoon + 3 * 86400 + 43200, 1),
                        {"File Information:", "OLD.TAP compared to NEW.TAP", "OLD.TAP is older by 3.5 days"}},
        InformationCase{"NewerByHours", fileInfo("/a/", "P.TAP", kNoon + 5400, 1),
                        fileInfo("/b/", "P.TAP", kNoon, 1),
                        {"File Information:", "P.TAP", " Files are in different directories.",
                         "P.TAP is newer by 1.5 hours"}},
        InformationCase{"Itself", fileInfo("/a/", "P.TAP", kNoon, 1), fileInfo("/a/", "P.TAP", kNoon, 1),
                        {"File Information:", "P.TAP", " File is compared to itself?",
                         "Files have same date and time."}},
        InformationCase{"Minutes", fileInfo("/a/", "A.NC", kNoon + 90, 1), fileInfo("/a/", "B.NC", kNoon, 1),
                        {"File Information:", "A.NC compared to B.NC", "A.NC is newer by 1.5 minutes"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileInformation, PathsOfBothFiles) {
    const Lines same = FileInformationLines(fileInfo("/nc/", "A", kNoon, 1), fileInfo("/nc/", "B", kNoon, 1));
    EXPECT_EQ(same[same.size() - 4], "Current File Path: /nc/");
    EXPECT_EQ(same[same.size() - 2], "Previous File Path is same");
    const Lines other = FileInformationLines(fileInfo("/nc/", "A", kNoon, 1), fileInfo("/old/", "B", kNoon, 1));
    EXPECT_EQ(other[other.size() - 2], "Previous File Path: /old/");
}

TEST(DifferenceListOutput, HeadingRowsSeparatorsAndColumns) {
    testing::Comparing run({"a", "x", "b", "c", "M30", "d"}, {"a", "b", "c", "G00 X0", "d"});
    DifferenceListHeader header{fileInfo("/nc/", "NEW.TAP", kNoon, 20), fileInfo("/nc/", "OLD.TAP", kNoon, 15),
                                RunHeading1("/nc/NEW.TAP"), RunHeading2("/nc/OLD.TAP")};
    const Lines lines = DifferenceListLines(header, run.list, {}, kNoon);
    const Lines expected{
        "Source Difference List as of: 01-Dec-2026 12:00:00",
        "",
        "Current File:NEW.TAP",
        "     NEW.TAP  Size:     20  Date: 01-Dec-2026 12:00:00  ----",
        "Previous File:OLD.TAP",
        "     OLD.TAP  Size:     15  Date: 01-Dec-2026 12:00:00  ----",
        "",
        "Blk Change File 1 File 2  File 1, /nc/NEW.TAP compared to...",
        "  #   Type Line # Line #  File 2, /nc/OLD.TAP",
        "  1    Add    002         x",
        "---",
        "  2Replace           004  G00 X0",
        "  2 with..    005         M30",
    };
    EXPECT_EQ(lines, expected);

    CompareOptions adjacent;
    adjacent.matching = MatchingLines::Adjacent;
    for (const auto& line : DifferenceListLines(header, run.list, adjacent, kNoon)) EXPECT_NE(line, "---");
}

TEST(SummaryStatistics, ShownOnlyWhenTheFilesDiffer) {
    SummaryFacts facts;
    facts.file1Name = "NEW.TAP";
    facts.file1Lines = 100;
    facts.file2Name = "OLD.TAP";
    facts.file2Lines = 98;
    const Lines identical{" ", "Current Text File: NEW.TAP", "Lines in this file: 100",
                          " ", "Previous Text File: OLD.TAP", "Lines in this file: 98", "Comments:"};
    EXPECT_EQ(SummaryStatisticsLines(facts), identical);

    facts.diffFound = true;
    facts.matchCount = 97;
    facts.file1BlockStart = 4;
    facts.file1BlockEnd = 60;
    facts.file2BlockStart = 4;
    facts.file2BlockEnd = 58;
    const Lines differing{" Matching Lines: 97",
                          " Percent Lines Matching in current file: 97.0",
                          "Files are closely matched.",
                          "Lines total change (+/-):  2",
                          " ", "Current Text File: NEW.TAP", "Lines in this file: 100",
                          "First Line not matching: 4", " Last Line not matching: 60",
                          " ", "Previous Text File: OLD.TAP", "Lines in this file: 98",
                          "First Line not matching: 4", " Last Line not matching: 58", "Comments:"};
    EXPECT_EQ(SummaryStatisticsLines(facts), differing);

    facts.matchCount = 10;
    EXPECT_EQ(SummaryStatisticsLines(facts)[2], "THESE TWO FILES SEEM TO BE UNRELATED!");
}

TEST(Listing, NumbersEveryLine) {
    TSourceList list(1);
    list.LoadText("G00\nM30\n");
    const Lines lines = ListingLines(fileInfo("/nc/", "P.TAP", kNoon, 8), list);
    const Lines tail{"Path: /nc/", "Lines in P.TAP: 2", "-----------------------------------",
                     "  1: G00", "  2: M30"};
    EXPECT_EQ(Lines(lines.begin() + 1, lines.end()), tail);
}

}  // namespace
}  // namespace zantor::compare
