#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "dnc/terminal/ansi_parser.h"

namespace zantor {

// Colours 0..7 are the ANSI ones (black, red, green, yellow, blue, magenta,
// cyan, white), 8..15 their bright forms; kDefaultColour is the screen's own.
inline constexpr uint8_t kDefaultColour = 0xFF;

struct CellAttributes {
    uint8_t foreground = kDefaultColour;
    uint8_t background = kDefaultColour;
    bool bold = false;
    bool reverse = false;
    bool operator==(const CellAttributes&) const = default;
};

struct TerminalCell {
    char ch = ' ';  // a Latin-1 byte
    CellAttributes attributes;
    bool operator==(const TerminalCell&) const = default;
};

enum class TerminalEmulation { PlainText, Ansi };

// The text of the DNC window's terminal: a screen of rows × columns at the
// bottom of a scroll-back of earlier lines, with a cursor. Plain text knows
// the control bytes only; ANSI adds the escape sequences of BBS terminals
// (cursor moves, erasing, colours). A line feed starts a new line at its
// first column, so controls that end lines with LF alone read well.
class TerminalScreen : private AnsiTarget {
public:
    static constexpr int kRows = 12;
    static constexpr int kColumns = 68;
    static constexpr int kTabWidth = 8;
    // Bytes of 0x80..0x9F have no picture in Latin-1; they show as this.
    static constexpr char kNoPicture = char(0xB7);

    explicit TerminalScreen(int rows = kRows, int columns = kColumns, int scrollBack = 2000);

    int rows() const { return rows_; }
    int columns() const { return columns_; }

    TerminalEmulation emulation() const { return emulation_; }
    void setEmulation(TerminalEmulation emulation);

    // Bytes from the line or typed locally, read by the emulation.
    void write(std::string_view bytes);
    // Text of our own (hex mode, progress lines): control bytes act, escape
    // sequences are not looked for.
    void writePlain(std::string_view text);
    // Everything goes, the scroll-back too; the cursor goes home.
    void clear();

    // Lines from the oldest of the scroll-back to the last of the screen.
    int lineCount() const { return int(lines_.size()); }
    const std::vector<TerminalCell>& line(int index) const { return lines_[size_t(index)]; }
    // A line's characters without the blanks at its end.
    std::string lineText(int index) const;
    // The screen's rows, each without its trailing blanks, joined by "\n";
    // blank rows at the bottom are left out.
    std::string screenText() const;
    // Every line, scroll-back included, as screenText.
    std::string allText() const;

    // The cursor as a line index (0 is the oldest line) and a column.
    int cursorLine() const { return firstScreenLine() + cursorRow_; }
    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return std::min(cursorColumn_, columns_ - 1); }
    int bells() const { return bells_; }
    // Counts every change, for a view to know when to repaint.
    uint64_t changes() const { return changes_; }

private:
    void print(uint8_t b) override;
    void control(uint8_t b) override;
    void csi(uint8_t final, const std::vector<int>& params, uint8_t privateMarker) override;
    void escape(uint8_t final) override;

    int firstScreenLine() const { return int(lines_.size()) - rows_; }
    std::vector<TerminalCell>& screenRow(int row) { return lines_[size_t(firstScreenLine() + row)]; }
    std::vector<TerminalCell> blankLine() const;
    void newLine();
    void moveTo(int row, int column);
    void eraseInLine(int mode);
    void eraseInDisplay(int mode);
    void selectGraphicRendition(const std::vector<int>& params);

    int rows_;
    int columns_;
    size_t maxLines_;
    TerminalEmulation emulation_ = TerminalEmulation::Ansi;
    AnsiParser parser_;
    std::deque<std::vector<TerminalCell>> lines_;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;  // columns_ when the next character wraps first
    int savedRow_ = 0, savedColumn_ = 0;
    CellAttributes attributes_;
    int bells_ = 0;
    uint64_t changes_ = 0;
};

}  // namespace zantor
