#include "dnc/terminal/terminal_screen.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

TEST(TerminalScreenTest, IsTwelveRowsOfSixtyEightColumnsThatWrapAndScroll) {
    TerminalScreen screen;
    EXPECT_EQ(screen.rows(), 12);
    EXPECT_EQ(screen.columns(), 68);
    screen.write(std::string(68, 'X'));
    // The full line keeps the cursor on it until the next character comes.
    EXPECT_EQ(screen.cursorRow(), 0);
    screen.write("Y");
    EXPECT_EQ(screen.screenText(), std::string(68, 'X') + "\nY");
    EXPECT_EQ(screen.cursorRow(), 1);
    EXPECT_EQ(screen.cursorColumn(), 1);

    screen.clear();
    for (int i = 1; i <= 15; ++i) screen.write("N" + std::to_string(i) + "\r\n");
    // Fifteen lines and the empty one the cursor is on: four scrolled off.
    EXPECT_EQ(screen.lineText(screen.lineCount() - 12), "N5");
    EXPECT_EQ(screen.lineText(0), "N1");
    EXPECT_EQ(screen.cursorRow(), 11);
    EXPECT_EQ(screen.allText().substr(0, 6), "N1\nN2\n");
}

TEST(TerminalScreenTest, ControlBytesMoveTheCursor) {
    struct Case {
        std::string bytes, screen;
    };
    const Case cases[] = {
        {"G01\rX", "X01"},            // CR returns to the first column
        {"G01\nX", "G01\nX"},         // LF alone starts a new line at its start
        {"G01\r\nX", "G01\nX"},       // CR LF is one new line
        {"AB\bC", "AC"},              // backspace
        {"A\tB", "A       B"},        // tab stops every 8 columns
        {"A\x01\x13\x11" "B", "AB"},  // other controls show nothing
        {"A\x7F" "B", "AB"},
        {"\xE9\x85", "\xE9\xB7"},  // Latin-1 shows; C1 bytes have no picture
    };
    for (const Case& c : cases) {
        TerminalScreen screen;
        screen.write(c.bytes);
        EXPECT_EQ(screen.screenText(), c.screen) << c.bytes;
    }
    TerminalScreen screen;
    screen.write("\a\a");
    EXPECT_EQ(screen.bells(), 2);
}

TEST(TerminalScreenTest, AnsiSequencesMoveEraseAndColour) {
    TerminalScreen screen;
    ASSERT_EQ(screen.emulation(), TerminalEmulation::Ansi);
    screen.write("LINE1\r\nLINE2\r\nLINE3");
    screen.write("\x1b[2;3H*");  // row 2, column 3
    EXPECT_EQ(screen.screenText(), "LINE1\nLI*E2\nLINE3");
    screen.write("\x1b[A\x1b[2D#");  // up one, back two
    EXPECT_EQ(screen.lineText(0), "L#NE1");
    screen.write("\x1b[K");  // erase to the end of the line
    EXPECT_EQ(screen.lineText(0), "L#");
    screen.write("\x1b[3;1H\x1b[1K");  // erase the start of row 3 up to the cursor
    EXPECT_EQ(screen.lineText(2), " INE3");
    screen.write("\x1b[s\x1b[5;5Hx\x1b[u!");  // save, move, restore
    EXPECT_EQ(screen.lineText(2), "!INE3");
    EXPECT_EQ(screen.lineText(4), "    x");

    screen.write("\x1b[1;31;44mR\x1b[0mN");
    const auto& cells = screen.line(screen.cursorLine());
    const int at = screen.cursorColumn() - 2;
    EXPECT_EQ(cells[size_t(at)].ch, 'R');
    EXPECT_EQ(cells[size_t(at)].attributes, (CellAttributes{1, 4, true, false}));
    EXPECT_EQ(cells[size_t(at + 1)].attributes, CellAttributes{});

    screen.write("\x1b[2J");  // clears the screen and homes the cursor
    EXPECT_EQ(screen.screenText(), "");
    EXPECT_EQ(screen.cursorRow(), 0);
    EXPECT_EQ(screen.cursorColumn(), 0);
}

TEST(TerminalScreenTest, SequencesSurviveSplitsAndBrokenOnesLoseNoText) {
    TerminalScreen screen;
    screen.write("A\x1b[");
    screen.write("1");
    screen.write("0CB");  // one sequence over three writes
    EXPECT_EQ(screen.screenText(), "A          B");

    screen.clear();
    screen.write("\x1b[12\rG1\x1b[?25lX\x1b(BY\x1b[99;99HZ");
    // The CR broke the sequence and acts; a private mode and a character
    // set selection are swallowed; a move beyond the screen stops at its edge.
    EXPECT_EQ(screen.lineText(0), "G1XY");
    EXPECT_EQ(screen.lineText(11), std::string(67, ' ') + "Z");
}

TEST(TerminalScreenTest, PlainTextShowsWhatAnsiWouldTake) {
    TerminalScreen screen;
    screen.setEmulation(TerminalEmulation::PlainText);
    screen.write("\x1b[2JG1");
    EXPECT_EQ(screen.screenText(), "[2JG1");
    // Our own texts never take escape sequences, whatever the emulation.
    screen.setEmulation(TerminalEmulation::Ansi);
    screen.writePlain("\r\n\x1b[1mK");
    EXPECT_EQ(screen.screenText(), "[2JG1\n[1mK");
}

TEST(TerminalScreenTest, ScrollBackIsBounded) {
    TerminalScreen screen(3, 10, 5);
    for (int i = 0; i < 100; ++i) screen.write(std::to_string(i) + "\n");
    EXPECT_EQ(screen.lineCount(), 8);
    EXPECT_EQ(screen.lineText(0), "93");
    const uint64_t before = screen.changes();
    screen.write("x");
    EXPECT_GT(screen.changes(), before);
}

}  // namespace
}  // namespace zantor
