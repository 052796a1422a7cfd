#include "calc/desk_calculator.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zantor {

std::string DeskCalculator::fixed4(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", v);
    return text;
}

double DeskCalculator::entryValue() const {
    return entry_.empty() || entry_ == "-" ? 0 : std::strtod(entry_.c_str(), nullptr);
}

std::string DeskCalculator::display() const {
    if (error_) return "Error";
    if (entering_) return entry_.empty() ? "0" : entry_;
    return fixed4(value_);
}

void DeskCalculator::tapeLine(const std::string& text) {
    tape_.push_back(text);
    while (tape_.size() > kTapeLines) tape_.pop_front();
}

void DeskCalculator::result(double v) {
    if (!std::isfinite(v)) {
        error_ = true;
        tapeLine("Error");
    } else {
        value_ = v;
        tapeLine(fixed4(v) + " =");
    }
    tapeLine(std::string(20, '_'));
    entering_ = false;
    entry_.clear();
}

void DeskCalculator::applyPending(double operand) {
    switch (pending_) {
    case '+': accumulator_ += operand; break;
    case '-': accumulator_ -= operand; break;
    case '*': accumulator_ *= operand; break;
    case '/': accumulator_ = operand == 0 ? NAN : accumulator_ / operand; break;
    default: accumulator_ = operand; break;
    }
}

bool DeskCalculator::press(const std::string& key) {
    if (key == "C") {  // the calculation goes; memory and tape stay
        entry_.clear();
        entering_ = false;
        value_ = accumulator_ = 0;
        pending_ = 0;
        error_ = false;
        return true;
    }
    if (key == "CE") {
        entry_.clear();
        entering_ = false;
        value_ = 0;
        error_ = false;
        return true;
    }
    if (error_) return true;  // only C or CE leave an error

    if (key.size() == 1 && (std::isdigit(uint8_t(key[0])) || key == ".")) {
        if (!entering_) {
            entry_.clear();
            entering_ = true;
        }
        if (key == "." && entry_.find('.') != std::string::npos) return true;
        if (entry_.size() < 20) entry_ += key;
        return true;
    }
    if (key == "Back") {
        if (entering_ && !entry_.empty()) entry_.pop_back();
        return true;
    }
    if (key == "+/-") {
        if (entering_) {
            entry_ = entry_.starts_with("-") ? entry_.substr(1) : "-" + entry_;
        } else {
            value_ = -value_;
        }
        return true;
    }
    if (key == "+" || key == "-" || key == "*" || key == "/") {
        const double operand = value();
        tapeLine(fixed4(operand) + " " + key);
        applyPending(operand);
        if (!std::isfinite(accumulator_)) {
            result(accumulator_);
            return true;
        }
        pending_ = key[0];
        value_ = accumulator_;
        entering_ = false;
        entry_.clear();
        return true;
    }
    if (key == "=") {
        const double operand = value();
        tapeLine(fixed4(operand));
        applyPending(operand);
        pending_ = 0;
        result(accumulator_);
        return true;
    }
    if (key == "%") {
        // As on a desk calculator: the entry taken as a percentage of the first operand.
        const double percent = pending_ ? accumulator_ * value() / 100 : value() / 100;
        entry_.clear();
        entering_ = false;
        value_ = percent;
        tapeLine(fixed4(percent) + " %");
        return true;
    }
    if (key == "Sqrt" || key == "1/x") {
        const double x = value();
        const double y = key == "Sqrt" ? (x < 0 ? NAN : std::sqrt(x)) : (x == 0 ? NAN : 1 / x);
        tapeLine(fixed4(x) + " " + key);
        entering_ = false;
        entry_.clear();
        if (!std::isfinite(y)) {
            result(y);
        } else {
            value_ = y;
        }
        return true;
    }
    if (key == "MC") {
        memory_ = 0;
        return true;
    }
    if (key != "MR" && key != "MS" && key != "M+" && key != "M-") return false;
    const double shown = value();
    if (key == "MS") memory_ = shown;
    if (key == "M+") memory_ += shown;
    if (key == "M-") memory_ -= shown;
    // A memory key ends the entry: the next digit starts a new number.
    value_ = key == "MR" ? memory_ : shown;
    entering_ = false;
    entry_.clear();
    return true;
}

}  // namespace zantor
