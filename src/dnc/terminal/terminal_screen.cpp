#include "dnc/terminal/terminal_screen.h"

#include <algorithm>

namespace zantor {

namespace {

std::string trimmedText(const std::vector<TerminalCell>& line) {
    std::string text;
    text.reserve(line.size());
    for (const TerminalCell& cell : line) text += cell.ch;
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

int paramOr(const std::vector<int>& params, size_t index, int fallback) {
    return index < params.size() && params[index] > 0 ? params[index] : fallback;
}

}  // namespace

TerminalScreen::TerminalScreen(int rows, int columns, int scrollBack)
    : rows_(std::max(rows, 1)),
      columns_(std::max(columns, 1)),
      maxLines_(size_t(rows_) + size_t(std::max(scrollBack, 0))) {
    clear();
}

std::vector<TerminalCell> TerminalScreen::blankLine() const {
    // Erased cells keep the background colour in use, as terminals do.
    TerminalCell blank;
    blank.attributes.background = attributes_.background;
    return std::vector<TerminalCell>(size_t(columns_), blank);
}

void TerminalScreen::setEmulation(TerminalEmulation emulation) {
    emulation_ = emulation;
    parser_.reset();
}

void TerminalScreen::clear() {
    attributes_ = CellAttributes{};
    lines_.assign(size_t(rows_), blankLine());
    cursorRow_ = cursorColumn_ = savedRow_ = savedColumn_ = 0;
    parser_.reset();
    ++changes_;
}

void TerminalScreen::write(std::string_view bytes) {
    if (emulation_ == TerminalEmulation::Ansi) {
        for (const char c : bytes) parser_.feed(uint8_t(c), *this);
    } else {
        for (const char c : bytes) {
            const auto b = uint8_t(c);
            if (b < 0x20)
                control(b);
            else if (b != 0x7F)
                print(b);
        }
    }
    ++changes_;
}

void TerminalScreen::writePlain(std::string_view text) {
    for (const char c : text) {
        const auto b = uint8_t(c);
        if (b < 0x20)
            control(b);
        else if (b != 0x7F)
            print(b);
    }
    ++changes_;
}

void TerminalScreen::print(uint8_t b) {
    if (cursorColumn_ >= columns_) newLine();  // the line was full: wrap
    TerminalCell& cell = screenRow(cursorRow_)[size_t(cursorColumn_)];
    cell.ch = b >= 0x80 && b < 0xA0 ? kNoPicture : char(b);
    cell.attributes = attributes_;
    ++cursorColumn_;
}

void TerminalScreen::newLine() {
    cursorColumn_ = 0;
    if (cursorRow_ < rows_ - 1) {
        ++cursorRow_;
        return;
    }
    lines_.push_back(blankLine());
    while (lines_.size() > maxLines_) lines_.pop_front();
}

void TerminalScreen::control(uint8_t b) {
    switch (b) {
        case '\r':
            cursorColumn_ = 0;
            break;
        case '\n':
        case 0x0B:  // vertical tab
            newLine();
            break;
        case 0x08:
            cursorColumn_ = std::max(std::min(cursorColumn_, columns_ - 1) - 1, 0);
            break;
        case '\t':
            cursorColumn_ = std::min((cursorColumn_ / kTabWidth + 1) * kTabWidth, columns_ - 1);
            break;
        case 0x07:
            ++bells_;
            break;
        default:
            break;  // other control bytes have no picture and no action
    }
}

void TerminalScreen::moveTo(int row, int column) {
    cursorRow_ = std::clamp(row, 0, rows_ - 1);
    cursorColumn_ = std::clamp(column, 0, columns_ - 1);
}

void TerminalScreen::eraseInLine(int mode) {
    std::vector<TerminalCell>& line = screenRow(cursorRow_);
    const std::vector<TerminalCell> blank = blankLine();
    const int column = std::min(cursorColumn_, columns_ - 1);
    const int from = mode == 0 ? column : 0;
    const int to = mode == 1 ? column + 1 : columns_;
    std::copy(blank.begin() + from, blank.begin() + to, line.begin() + from);
}

void TerminalScreen::eraseInDisplay(int mode) {
    const int from = mode == 0 ? cursorRow_ + 1 : 0;
    const int to = mode == 1 ? cursorRow_ : rows_;
    for (int row = from; row < to; ++row) screenRow(row) = blankLine();
    if (mode == 0 || mode == 1) eraseInLine(mode);
    // ANSI-BBS homes the cursor with a whole-screen erase.
    if (mode == 2) moveTo(0, 0);
}

void TerminalScreen::selectGraphicRendition(const std::vector<int>& params) {
    for (const int p : params) {
        if (p == 0) {
            attributes_ = CellAttributes{};
        } else if (p == 1) {
            attributes_.bold = true;
        } else if (p == 22) {
            attributes_.bold = false;
        } else if (p == 7) {
            attributes_.reverse = true;
        } else if (p == 27) {
            attributes_.reverse = false;
        } else if (p >= 30 && p <= 37) {
            attributes_.foreground = uint8_t(p - 30);
        } else if (p == 39) {
            attributes_.foreground = kDefaultColour;
        } else if (p >= 40 && p <= 47) {
            attributes_.background = uint8_t(p - 40);
        } else if (p == 49) {
            attributes_.background = kDefaultColour;
        } else if (p >= 90 && p <= 97) {
            attributes_.foreground = uint8_t(p - 90 + 8);
        } else if (p >= 100 && p <= 107) {
            attributes_.background = uint8_t(p - 100 + 8);
        }
    }
}

void TerminalScreen::csi(uint8_t final, const std::vector<int>& params, uint8_t privateMarker) {
    if (privateMarker) return;  // modes of other terminals: nothing to show
    const int n = paramOr(params, 0, 1);
    const int column = std::min(cursorColumn_, columns_ - 1);
    switch (final) {
        case 'A':
            moveTo(cursorRow_ - n, column);
            break;
        case 'B':
            moveTo(cursorRow_ + n, column);
            break;
        case 'C':
            moveTo(cursorRow_, column + n);
            break;
        case 'D':
            moveTo(cursorRow_, column - n);
            break;
        case 'H':
        case 'f':
            moveTo(paramOr(params, 0, 1) - 1, paramOr(params, 1, 1) - 1);
            break;
        case 'J':
            eraseInDisplay(params.empty() ? 0 : params[0]);
            break;
        case 'K':
            eraseInLine(params.empty() ? 0 : params[0]);
            break;
        case 'm':
            selectGraphicRendition(params);
            break;
        case 's':
            savedRow_ = cursorRow_;
            savedColumn_ = column;
            break;
        case 'u':
            moveTo(savedRow_, savedColumn_);
            break;
        default:
            break;
    }
}

void TerminalScreen::escape(uint8_t final) {
    switch (final) {
        case '7':
            savedRow_ = cursorRow_;
            savedColumn_ = std::min(cursorColumn_, columns_ - 1);
            break;
        case '8':
            moveTo(savedRow_, savedColumn_);
            break;
        case 'c':
            clear();
            break;
        case 'D': {
            const int column = std::min(cursorColumn_, columns_ - 1);
            newLine();
            cursorColumn_ = column;
            break;
        }
        case 'E':
            newLine();
            break;
        case 'M':
            moveTo(cursorRow_ - 1, std::min(cursorColumn_, columns_ - 1));
            break;
        default:
            break;
    }
}

std::string TerminalScreen::lineText(int index) const {
    return trimmedText(line(index));
}

namespace {
std::string joinLines(const TerminalScreen& screen, int from) {
    std::vector<std::string> texts;
    for (int i = from; i < screen.lineCount(); ++i) texts.push_back(screen.lineText(i));
    while (!texts.empty() && texts.back().empty()) texts.pop_back();
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i) out += (i ? "\n" : "") + texts[i];
    return out;
}
}  // namespace

std::string TerminalScreen::screenText() const {
    return joinLines(*this, firstScreenLine());
}

std::string TerminalScreen::allText() const {
    return joinLines(*this, 0);
}

}  // namespace zantor
