#pragma once

#include <cstdint>
#include <vector>

namespace zantor {

// What the ANSI parser finds in the byte stream, handed to the screen.
class AnsiTarget {
public:
    virtual ~AnsiTarget() = default;
    // A byte to show (0x20 and up, except DEL).
    virtual void print(uint8_t b) = 0;
    // A C0 control byte (CR, LF, BS, TAB, BEL, ...).
    virtual void control(uint8_t b) = 0;
    // ESC [ params final. `privateMarker` is the "?" (or "<", "=", ">") that
    // some sequences carry before their parameters, 0 when none.
    virtual void csi(uint8_t final, const std::vector<int>& params, uint8_t privateMarker) = 0;
    // ESC followed by one byte ("7", "8", "c", "D", "E", "M").
    virtual void escape(uint8_t final) = 0;
};

// Splits a byte stream into text, control bytes and ANSI escape sequences.
// A sequence may arrive split over several calls; a broken one (a control
// byte or a new ESC inside it) is dropped and the byte that broke it is
// taken as itself, so garbage on the line never swallows the text after it.
class AnsiParser {
public:
    static constexpr int kMaxParams = 16;
    static constexpr int kMaxParamValue = 9999;

    void feed(uint8_t b, AnsiTarget& target);
    void reset();

private:
    enum class State { Ground, Escape, Csi, Ignore };
    void startCsi();

    State state_ = State::Ground;
    std::vector<int> params_;
    bool paramStarted_ = false;
    uint8_t privateMarker_ = 0;
};

}  // namespace zantor
