#include "editor/nc_macros.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"

namespace zantor::editor {
namespace {

using Lines = std::vector<std::string>;

struct Prompts {
    std::vector<std::string> asked;
    std::vector<std::string> answers;
    std::function<std::string(const std::string&)> ask() {
        return [this](const std::string& p) {
            asked.push_back(p);
            if (answers.empty()) return std::string("0");
            std::string a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
    }
};

TEST(MacroExpansion, RegistersArePromptedAndDoubleHashIsLiteral) {
    struct Case {
        const char* name;
        Lines lines;
        Lines answers;
        const char* text;
        Lines asked;
    };
    const Case cases[] = {
        {"two registers", {"G00 X# Y#"}, {"1.5", "2"}, "G00 X1.5 Y2\r\n", {"X", "Y"}},
        {"literal hash", {"(PART ##4)"}, {}, "(PART #4)\r\n", {}},
        {"hash at the end", {"M#"}, {"6"}, "M6\r\n", {"M"}},
        {"carries over a line start", {"T1", "#"}, {"9"}, "T1\r\n9\r\n", {"1"}},
        {"first character", {"#X"}, {"A"}, "AX\r\n", {""}},
        {"answer cut to 79", {"X#"}, {std::string(100, '1')}, nullptr, {"X"}},
        {"empty lines", {"", "M30"}, {}, "\r\nM30\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prompts prompts;
        prompts.answers = c.answers;
        const auto text = expandMacro(c.lines, prompts.ask());
        ASSERT_TRUE(text);
        if (c.text)
            EXPECT_EQ(*text, c.text);
        else
            EXPECT_EQ(*text, "X" + std::string(kMaxRegisterAnswer, '1') + "\r\n");
        EXPECT_EQ(prompts.asked, c.asked);
    }
}

TEST(MacroExpansion, TextBeyondTheLimitIsRefusedWhole) {
    Prompts prompts;
    const Lines fits(kMaxExpandedMacro / 10, std::string(8, 'G'));  // 10 characters each
    EXPECT_TRUE(expandMacro(fits, prompts.ask()));
    Lines tooLong = fits;
    tooLong.push_back("G");
    tooLong.push_back("G");
    EXPECT_FALSE(expandMacro(tooLong, prompts.ask()));
}

TEST(MacroExpansion, ContentsSplitIntoLines) {
    EXPECT_EQ(macroLinesOf("G0\nG1\r\nM30\n"), (Lines{"G0", "G1", "M30"}));
    EXPECT_EQ(macroLinesOf("G0\n\nG1"), (Lines{"G0", "", "G1"}));
    EXPECT_TRUE(macroLinesOf("").empty());
}

class MacroSlotsTest : public ::testing::Test {
protected:
    IniFile file;
    MacroSlots slots{file, "Mill"};
};

TEST_F(MacroSlotsTest, SavedMacrosGoToTheLowestFreeSlot) {
    ASSERT_TRUE(slots.save("A", {"G0 X#"}));
    ASSERT_TRUE(slots.save("B", {"M6 T#", "M3"}));
    EXPECT_EQ(slots.names(), (Lines{"A", "B"}));
    EXPECT_EQ(slots.lines("B"), (Lines{"M6 T#", "M3"}));
    slots.remove("A");
    ASSERT_TRUE(slots.save("C", {"G90"}));
    EXPECT_EQ(slots.slotOf("C"), 1);
    EXPECT_EQ(file.value("Mill", "M1N"), "C");
    EXPECT_EQ(file.value("Mill", "M1L1"), "G90");
    // Saving again moves a macro to the lowest free slot.
    slots.remove("C");
    ASSERT_TRUE(slots.save("B", {"M6"}));
    EXPECT_EQ(slots.slotOf("B"), 1);
    EXPECT_EQ(slots.names(), Lines{"B"});
}

TEST_F(MacroSlotsTest, ShorterMacroLeavesNoLinesOfTheLongerOneBehind) {
    Lines long30;
    for (int k = 1; k <= 30; ++k) long30.push_back("N" + std::to_string(k));
    ASSERT_TRUE(slots.save("LONG", long30));
    EXPECT_EQ(slots.lines("LONG").size(), 30u);
    ASSERT_TRUE(slots.save("LONG", {"G0"}));
    EXPECT_EQ(slots.lines("LONG"), Lines{"G0"});
    slots.remove("LONG");
    ASSERT_TRUE(slots.save("NEXT", {"M30"}));
    EXPECT_EQ(slots.lines("NEXT"), Lines{"M30"});
    EXPECT_EQ(file.keys("Mill"), (Lines{"M1N", "M1L1"}));
}

TEST_F(MacroSlotsTest, StrayLineKeysOfAFreeSlotDoNotJoinANewMacro) {
    file.writeString("Mill", "M1L1", "OLD");
    file.writeString("Mill", "m1l2", "OLDER");
    ASSERT_TRUE(slots.save("NEW", {"G1"}));
    EXPECT_EQ(slots.lines("NEW"), Lines{"G1"});
    EXPECT_FALSE(file.value("Mill", "M1L2"));
}

TEST_F(MacroSlotsTest, AHundredMacrosFillTheMachine) {
    for (int n = 1; n <= kMaxMacros; ++n) ASSERT_TRUE(slots.save("M" + std::to_string(n), {"G0"}));
    EXPECT_FALSE(slots.save("ONE MORE", {"G1"}));
    EXPECT_FALSE(slots.slotOf("ONE MORE"));
    EXPECT_TRUE(slots.save("M50", {"G1"})) << "a macro there already keeps its room";
    EXPECT_EQ(slots.lines("M50"), Lines{"G1"});
}

TEST_F(MacroSlotsTest, OtherKeysOfTheSectionStay) {
    file.writeString("Mill", "CMTSTART", "(");
    file.writeString("Mill", "M10", "X");  // not a macro key
    ASSERT_TRUE(slots.save("A", {"G0"}));
    slots.remove("A");
    EXPECT_EQ(file.value("Mill", "CMTSTART"), "(");
    EXPECT_EQ(file.value("Mill", "M10"), "X");
}

TEST(MacroNames, NewNamesAreKeptApart) {
    EXPECT_EQ(uniqueMacroName({}, kNewMacroName), "New Macro");
    EXPECT_EQ(uniqueMacroName({"New Macro"}, kNewMacroName), "New Macro 2");
    EXPECT_EQ(uniqueMacroName({"New Macro", "New Macro 2"}, kNewMacroName), "New Macro 3");
    EXPECT_EQ(uniqueMacroName({"A"}, "B"), "B");
}

}  // namespace
}  // namespace zantor::editor
