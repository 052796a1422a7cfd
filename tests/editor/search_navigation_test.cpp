#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "editor/navigation.h"
#include "editor/nc_document.h"
#include "editor/search_history.h"
#include "editor/slow_search_watch.h"
#include "editor/text_replace.h"

namespace zantor::editor {
namespace {

using Lines = std::vector<std::string>;
using std::chrono::milliseconds;

Lines paragraphsOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

void fill(NcDocument& doc, const std::string& text) {
    doc.InsertText(text);
    doc.SetCaret(1, 1);
}

SearchOptions options(bool backward, bool matchCase, bool wholeWord, bool replaceAll = false) {
    return {backward, matchCase, wholeWord, !replaceAll, replaceAll};
}

// ---- Replace -----------------------------------------------------------

TEST(ReplaceText, ReplaceTakesTheMatchingSelectionAndSelectsTheNextMatch) {
    NcDocument doc;
    fill(doc, "G1 X1\r\nG1 X2\r\nG1 X3");
    ASSERT_TRUE(doc.FindText("g1", {}));
    EXPECT_EQ(ReplaceText(doc, "G1", "G01", options(false, false, false)), 1);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G01 X1", "G1 X2", "G1 X3"}));
    EXPECT_EQ(doc.GetSelection(), (TextSelection{true, {2, 1}, {2, 3}}));

    // A selection that is not the text is left alone; the next match is selected.
    doc.SetSelection({3, 1}, {3, 3});
    EXPECT_EQ(ReplaceText(doc, "X", "Y", options(false, false, false)), 0);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"G01 X1", "G1 X2", "G1 X3"}));
    EXPECT_EQ(doc.GetSelection(), (TextSelection{true, {3, 4}, {3, 5}}));

    // Nothing replaced and nothing found after it: a miss, the selection kept.
    EXPECT_EQ(ReplaceText(doc, "G1", "G01", options(false, false, false)), -1);
    EXPECT_EQ(doc.GetSelection(), (TextSelection{true, {3, 4}, {3, 5}}));
}

TEST(ReplaceText, MissGivesMinusOneAndChangesNothing) {
    NcDocument doc;
    fill(doc, "G1 X1\r\nG1 X2");
    doc.SetModified(false);
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all);
        EXPECT_EQ(ReplaceText(doc, "M30", "M02", options(false, false, false, all)), -1);
        EXPECT_EQ(paragraphsOf(doc), (Lines{"G1 X1", "G1 X2"}));
        EXPECT_FALSE(doc.Modified());
    }
    EXPECT_EQ(ReplaceText(doc, "", "X", options(false, false, false, true)), -1);
}

TEST(ReplaceText, ReplaceAllReplacesFromTheCaretOnAndUndoesOneByOne) {
    NcDocument doc;
    fill(doc, "X1 X1\r\nY1 x1\r\nX1");
    doc.SetCaret(1, 3);
    EXPECT_EQ(ReplaceText(doc, "X1", "X10", options(false, false, false, true)), 3);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"X1 X10", "Y1 X10", "X10"}));
    for (const Lines& expected : {Lines{"X1 X10", "Y1 X10", "X1"}, Lines{"X1 X10", "Y1 x1", "X1"},
                                  Lines{"X1 X1", "Y1 x1", "X1"}}) {
        ASSERT_TRUE(doc.CanUndo());
        doc.UndoEdit();
        EXPECT_EQ(paragraphsOf(doc), expected);
    }
}

TEST(ReplaceText, RulesOfCaseAndWholeWordHold) {
    struct Case {
        const char* name;
        SearchOptions options;
        Lines expected;
        int count;
    };
    // T11 holds T1: a plain search takes it, a whole-word one not.
    const Case cases[] = {
        {"any case", options(false, false, false, true), {"T2 T2 T21", "T2(T2)"}, 5},
        {"match case", options(false, true, false, true), {"T2 t1 T21", "T2(t1)"}, 3},
        {"whole word", options(false, false, true, true), {"T2 T2 T11", "T2(T2)"}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NcDocument doc;
        fill(doc, "T1 t1 T11\r\nT1(t1)");
        EXPECT_EQ(ReplaceText(doc, "T1", "T2", c.options), c.count);
        EXPECT_EQ(paragraphsOf(doc), c.expected);
    }
}

TEST(ReplaceText, ReplacementHoldingTheSearchTextEndsInBothDirections) {
    for (const bool backward : {false, true}) {
        SCOPED_TRACE(backward);
        NcDocument doc;
        fill(doc, "A B A");
        if (backward) doc.SetCaret(1, 6);
        EXPECT_EQ(ReplaceText(doc, "A", "AA", options(backward, true, false, true)), 2);
        EXPECT_EQ(paragraphsOf(doc), Lines{"AA B AA"});
    }
}

TEST(ReplaceText, SelectionIsComparesUnderTheCaseRule) {
    NcDocument doc;
    fill(doc, "n10 G1");
    doc.SetSelection({1, 1}, {1, 4});
    EXPECT_TRUE(SelectionIs(doc, "N10", false));
    EXPECT_FALSE(SelectionIs(doc, "N10", true));
    EXPECT_FALSE(SelectionIs(doc, "N1", false));
    EXPECT_EQ(doc.GetSelection(), (TextSelection{true, {1, 1}, {1, 4}})) << "selection kept";
}

// ---- NC landmarks and lines ------------------------------------------------

TEST(Navigation, JumpLinesNeedTheMarkerBeforeAnyComment) {
    struct Case {
        const char* line;
        const char* marker;
        bool listed;
    };
    const Case cases[] = {
        {"N10 T01 M06 (FACE MILL)", "T", true},
        {"(T02 ROUGH) T02 M06", "T", false},
        {"N20 G0 X1", "T", false},
        {"N30 (tool) g0", "T", false},
        {"N30 t01", "T", false},
        {"O1000 (MAIN)", "O", true},
        {"(O1000)", "O", false},
        {"T5", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(isJumpLine(c.line, c.marker, "("), c.listed);
    }
    EXPECT_TRUE(isJumpLine("(T1) T1", "T", "")) << "no comment start: the marker alone counts";
    EXPECT_TRUE(isJumpLine("T1 ;COMMENT T", "T", ";"));
}

TEST(Navigation, JumpListGivesLineNumbersAndTexts) {
    NcDocument doc;
    fill(doc,
         "%\r\nO1000 (MAIN)\r\nN10 T01 M06 (FACE MILL)\r\n(T02 ROUGH) T02 M06\r\nN40 T2\r\nM30");
    EXPECT_EQ(jumpList(doc, "T", "("),
              (std::vector<JumpEntry>{{3, "N10 T01 M06 (FACE MILL)"}, {5, "N40 T2"}}));
    EXPECT_EQ(jumpList(doc, "O", "("), (std::vector<JumpEntry>{{2, "O1000 (MAIN)"}}));
    EXPECT_TRUE(jumpList(NcDocument(), "T", "(").empty());
}

TEST(Navigation, LineNumbersOutsideTheDocumentOrNotWholeAreRefused) {
    struct Case {
        const char* text;
        std::optional<int> line;
    };
    const Case cases[] = {{"1", 1},
                          {"25", 25},
                          {" 7 ", 7},
                          {"0", std::nullopt},
                          {"26", std::nullopt},
                          {"abc", std::nullopt},
                          {"", std::nullopt},
                          {"2.5", std::nullopt},
                          {"-3", std::nullopt},
                          {"99999999999", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseLineNumber(c.text, 25), c.line);
    }
}

TEST(NcFind, LetterSearchesStopInsideCommentsAndLowerCase) {
    NcDocument doc;
    fill(doc, "N10 G0 X1\r\nN20 (tool)\r\nN30 F100");
    EXPECT_TRUE(doc.FindText("T", {}));
    EXPECT_EQ(doc.GetSelection(), (TextSelection{true, {2, 6}, {2, 7}}));
    EXPECT_TRUE(doc.FindText("F", {}));
    EXPECT_EQ(doc.GetSelection().start, (TextPosition{3, 5}));
    EXPECT_FALSE(doc.FindText("F", {})) << "no wrap-around past the end";
    EXPECT_TRUE(doc.FindText("T", {true, false, false, false, false}));
    EXPECT_EQ(doc.GetSelection().start, (TextPosition{2, 6})) << "backward from the caret";
}

// ---- History ---------------------------------------------------------------

TEST(SearchHistory, LatestFirstEachOnceBounded) {
    SearchHistory history;
    history.add("T1");
    history.add("");
    history.add("G0");
    history.add("T1");
    EXPECT_EQ(history.entries(), (Lines{"T1", "G0"}));
    for (size_t i = 0; i < SearchHistory::kMaxEntries + 5; ++i) history.add(std::to_string(i));
    ASSERT_EQ(history.entries().size(), SearchHistory::kMaxEntries);
    EXPECT_EQ(history.entries().front(), std::to_string(SearchHistory::kMaxEntries + 4));
}

// ---- Long searches -------------------------------------------------------------

struct ManualTime {
    milliseconds now{0};
    SlowSearchWatch::Now source() {
        return [this] { return now; };
    }
};

TEST(SlowSearchWatch, BusyAfterTheThresholdThenAsksForAStop) {
    ManualTime time;
    int slowCalls = 0;
    int stopAsks = 0;
    bool escape = false;
    SlowSearchWatch watch(
        time.source(), [&] { ++slowCalls; },
        [&] {
            ++stopAsks;
            return escape;
        });
    time.now = milliseconds(99);
    EXPECT_TRUE(watch.keepGoing());
    EXPECT_FALSE(watch.slow());
    EXPECT_EQ(stopAsks, 0) << "a quick search is never interrupted";
    time.now = milliseconds(100);
    EXPECT_TRUE(watch.keepGoing());
    EXPECT_TRUE(watch.slow());
    EXPECT_EQ(slowCalls, 1);
    EXPECT_TRUE(watch.keepGoing());
    EXPECT_EQ(slowCalls, 1) << "the busy cursor is set once";
    escape = true;
    EXPECT_FALSE(watch.keepGoing());
    EXPECT_TRUE(watch.stopped());
    escape = false;
    EXPECT_FALSE(watch.keepGoing()) << "a stopped search stays stopped";
}

TEST(SlowSearchWatch, StoppedSearchOfALargeDocumentFindsNothingAndLeavesTheCaret) {
    NcDocument doc;
    std::string text;
    const int lines = kParagraphsPerWatch * 3;
    for (int n = 1; n <= lines; ++n) text += "N" + std::to_string(n) + " G1 X1\r\n";
    text += "M30";
    fill(doc, text);
    ManualTime time;
    int asks = 0;
    SlowSearchWatch watch(
        time.source(), [] {},
        [&] {
            ++asks;
            return asks == 2;
        },
        milliseconds(0));
    EXPECT_FALSE(doc.FindText("M30", {}, &watch));
    EXPECT_TRUE(watch.stopped());
    EXPECT_EQ(doc.Caret(), (TextPosition{1, 1}));
    EXPECT_FALSE(doc.GetSelection().present);

    SlowSearchWatch patient(
        time.source(), [] {}, [] { return false; }, milliseconds(0));
    EXPECT_TRUE(doc.FindText("M30", {}, &patient));
    EXPECT_EQ(doc.Caret(), (TextPosition{lines + 1, 4}));
    time.now = milliseconds(1);
    EXPECT_TRUE(doc.FindText("N1 ", {true, false, false, false, false}, &patient))
        << "backward searches are watched too, and end at the first line";
}

// A program of `lines` lines with a tool change on every 1000th.
std::string toolProgram(int lines) {
    std::string text;
    for (int n = 1; n <= lines; ++n)
        text += "N" + std::to_string(n) +
                (n % 1000 == 0 ? " T" + std::to_string(n / 1000) : " G1") +
                (n < lines ? "\r\n" : "");
    return text;
}

TEST(SlowSearchWatch, AJumpListOnAClockTellsHowFarItGotAndStopsAtEscape) {
    NcDocument doc;
    const int lines = kParagraphsPerWatch * 3 + 5;
    fill(doc, toolProgram(lines));
    ManualTime time;
    std::vector<int> reached;
    int slowCalls = 0;
    bool escape = false;
    SlowSearchWatch watch(
        time.source(), [&] { ++slowCalls; }, [&] { return escape; }, milliseconds(100));
    // Each block of lines takes 60 ms on this clock: slow after the second.
    const auto advance = [&](int line, int count) {
        EXPECT_EQ(count, lines);
        reached.push_back(line);
        time.now += milliseconds(60);
    };
    const auto whole = jumpList(doc, "T", "(", watch, advance);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(*whole, jumpList(doc, "T", "("));
    EXPECT_EQ(whole->size(), size_t(lines / 1000));
    EXPECT_EQ(reached, (std::vector<int>{kParagraphsPerWatch, 2 * kParagraphsPerWatch,
                                         3 * kParagraphsPerWatch}))
        << "the last block is not followed by a question";
    EXPECT_EQ(slowCalls, 1);

    // Esc after the first question: the rest is not read, and no list comes.
    time.now = milliseconds(0);
    reached.clear();
    SlowSearchWatch stopped(
        time.source(), [] {}, [&] { return escape; }, milliseconds(0));
    escape = true;
    EXPECT_EQ(jumpList(doc, "T", "(", stopped, advance), std::nullopt);
    EXPECT_TRUE(stopped.stopped());
    EXPECT_EQ(reached, std::vector<int>{kParagraphsPerWatch});
}

TEST(SlowSearchWatch, AShortJumpListNeverAsksTheWatch) {
    NcDocument doc;
    fill(doc, toolProgram(kParagraphsPerWatch));
    int asks = 0;
    SlowSearchWatch watch([] { return milliseconds(1000); }, [] {},
                          [&] {
                              ++asks;
                              return true;
                          },
                          milliseconds(0));
    const auto list = jumpList(doc, "T", "(", watch, [](int, int) { ADD_FAILURE(); });
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->size(), size_t(kParagraphsPerWatch / 1000));
    EXPECT_EQ(asks, 0);
}

TEST(SlowSearchWatch, ReplaceAllOfCloseMatchesCanBeStopped) {
    NcDocument doc;
    std::string text;
    for (int n = 0; n < 1000; ++n) text += "G1\r\n";
    fill(doc, text);
    ManualTime time;
    SlowSearchWatch watch(
        time.source(), [] {}, [] { return true; }, milliseconds(0));
    const int replaced = ReplaceText(doc, "G1", "G01", options(false, false, false, true), &watch);
    EXPECT_TRUE(watch.stopped());
    EXPECT_GT(replaced, 0);
    EXPECT_LT(replaced, 1000);
    EXPECT_EQ(doc.GetParagraph(replaced), "G01") << "what was replaced stays";
    EXPECT_EQ(doc.GetParagraph(replaced + 1), "G1");
}

}  // namespace
}  // namespace zantor::editor
