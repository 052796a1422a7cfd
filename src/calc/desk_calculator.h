#pragma once

#include <deque>
#include <string>

namespace zantor {

// The desk calculator behind Zantor-Calc: keys as on an ordinary desk
// calculator (chained operations, "=" repeats nothing), a memory, and a
// paper tape of every entry and result with a rule after each result.
class DeskCalculator {
public:
    static constexpr size_t kTapeLines = 9999;

    // One key: "0".."9", ".", "+/-", "+", "-", "*", "/", "=", "Sqrt", "%",
    // "1/x", "Back", "CE", "C", "MC", "MR", "MS", "M+", "M-". False for an
    // unknown key.
    bool press(const std::string& key);

    // The display: the entry being typed, or the value with 4 decimals;
    // "Error" after a division by zero or the root of a negative number
    // (until C or CE).
    std::string display() const;
    double value() const { return entering_ ? entryValue() : value_; }
    bool memoryHeld() const { return memory_ != 0; }
    const std::deque<std::string>& tape() const { return tape_; }
    void clearTape() { tape_.clear(); }

private:
    double entryValue() const;
    void applyPending(double operand);
    void tapeLine(const std::string& text);
    void result(double v);
    static std::string fixed4(double v);

    std::string entry_;    // digits typed, when entering_
    bool entering_ = false;
    double value_ = 0;     // the value shown when not entering
    double accumulator_ = 0;
    char pending_ = 0;     // the operation waiting for its second operand
    double memory_ = 0;
    bool error_ = false;
    std::deque<std::string> tape_;
};

}  // namespace zantor
