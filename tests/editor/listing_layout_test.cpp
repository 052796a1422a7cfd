#include "editor/listing_layout.h"

#include <gtest/gtest.h>

#include "editor/nc_document.h"

namespace zantor::editor {
namespace {

TEST(TapeLength, SizeLineGivesCharsFeetAndMetres) {
    struct Case {
        long long bytes;
        const char* text;
    };
    const Case cases[] = {
        {600, "600 Chars,   5.0 Feet,   1.5 Meters"},
        {1200, "1200 Chars,  10.0 Feet,   3.0 Meters"},
        {0, "0 Chars,   0.0 Feet,   0.0 Meters"},
        {150, "150 Chars,   1.2 Feet,   0.4 Meters"},
        {1200000, "1200000 Chars, 10000.0 Feet, 3000.0 Meters"},
    };
    for (const Case& c : cases) EXPECT_EQ(TapeLengthText(c.bytes), c.text) << c.bytes;
}

TEST(ListingHeader, ThreeLinesWithNamePageAndSize) {
    const auto lines = ListingHeaderLines("/shop/A1.TAP", "12/11/2026 05:40", 3, 600);
    EXPECT_EQ(lines[0], "     File Name : /shop/A1.TAP");
    EXPECT_EQ(lines[1], "     Time/Date : 12/11/2026 05:40                           Page # 3");
    EXPECT_EQ(lines[2], "     File Size : 600 Chars,   5.0 Feet,   1.5 Meters");
    EXPECT_EQ(PlainListingBanner("A1.TAP", "now"), "**** A1.TAP -- now ****");
}

class ListingLinesTest : public ::testing::Test {
protected:
    ListingLinesTest() { doc.InsertText("N10 G0 X1\r\nN20 G1 Y2\r\nN30 X3 Y4\r\nN40 M30\r\nN50"); }
    NcDocument doc;
};

TEST_F(ListingLinesTest, AllLinesWhenNoSelectionIsAskedFor) {
    doc.SetSelection({3, 5}, {4, 4});
    EXPECT_EQ(ListingLines(doc, false),
              (std::vector<std::string>{"N10 G0 X1", "N20 G1 Y2", "N30 X3 Y4", "N40 M30", "N50"}));
}

TEST_F(ListingLinesTest, SelectionBlanksWhatPrecedesItAndCutsWhatFollows) {
    doc.SetSelection({3, 5}, {4, 4});
    EXPECT_EQ(ListingLines(doc, true), (std::vector<std::string>{"    X3 Y4", "N40"}));
    // Within one line both ends apply.
    doc.SetSelection({2, 5}, {2, 7});
    EXPECT_EQ(ListingLines(doc, true), (std::vector<std::string>{"    G1"}));
}

TEST(StyleListingLine, LettersDigitsAndComment) {
    using S = ListingStyle;
    const auto styles = StyleListingLine("N1 X-.5 (R1)", "(", ")");
    const std::vector<S> expected = {S::Alpha,    S::NonAlpha, S::Alpha,   S::Alpha,
                                     S::NonAlpha, S::NonAlpha, S::NonAlpha, S::Alpha,
                                     S::Comment,  S::Comment,  S::Comment,  S::Comment};
    EXPECT_EQ(styles, expected);
    // The start string must occur whole: a lone bracket of a two-character
    // marker starts nothing.
    EXPECT_EQ(StyleListingLine("N1 (", "((", "))")[3], S::Alpha);
    // After the comment's end the letters are letters again.
    EXPECT_EQ(StyleListingLine("(A)B", "(", ")").back(), S::Alpha);
    // No comment strings, no comment.
    EXPECT_EQ(StyleListingLine("(A)", "", "")[1], S::Alpha);
}

// 100 dpi, 10-pixel lines, a printable area 300 pixels tall, 0.5" margins:
// lines may reach down to 250.
ListingMetrics smallPage() {
    return {.dpiX = 100, .dpiY = 100, .lineHeight = 10, .pageBottom = 300,
            .marginTop = 0.5, .marginBottom = 0.5};
}

TEST(LayOutListing, HeaderThenLinesThenABreakWithANewHeader) {
    // The header takes 45 pixels from 50, so lines start at 95 and the
    // fifteenth line (y 235, ending at 245) is the last that fits.
    const std::vector<std::string> lines(20, "G1");
    const auto pages = LayOutListing(lines, smallPage());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].number, 1);
    EXPECT_EQ(pages[0].frameTop, 50);
    EXPECT_EQ(pages[0].headerY, (std::array<int, 3>{55, 65, 75}));
    ASSERT_EQ(pages[0].lines.size(), 15u);
    EXPECT_EQ(pages[0].lines.front().y, 95);
    EXPECT_EQ(pages[0].lines.back().y, 235);
    EXPECT_EQ(pages[1].number, 2);
    EXPECT_EQ(pages[1].frameTop, 50);
    ASSERT_EQ(pages[1].lines.size(), 5u);
    EXPECT_EQ(pages[1].lines.front().index, 15);
    EXPECT_EQ(pages[1].lines.front().y, 95);
}

TEST(LayOutListing, EmptyLinesMoveDownButNeverBreak) {
    std::vector<std::string> lines(15, "G1");
    lines.push_back("");
    lines.push_back("");
    const auto pages = LayOutListing(lines, smallPage());
    EXPECT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].lines.size(), 15u);
    // An empty line in the middle leaves its room.
    const auto gap = LayOutListing({"A", "", "B"}, smallPage());
    EXPECT_EQ(gap[0].lines[1].y - gap[0].lines[0].y, 20);
}

TEST(LayOutListing, MarginsWithoutRoomForHeaderAndOneLineAreRefused) {
    ListingMetrics m = smallPage();
    m.marginBottom = 1.5;  // lines would have to end by 150
    m.marginTop = 1.0;     // header to 145, the first line to 155
    EXPECT_THROW(LayOutListing({"G1"}, m), EditorError);
    m.marginTop = 0.95;  // first line fits exactly
    EXPECT_EQ(LayOutListing({"G1", "G2"}, m).size(), 2u);
}

}  // namespace
}  // namespace zantor::editor
