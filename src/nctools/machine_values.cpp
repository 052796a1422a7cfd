#include "nctools/machine_values.h"

#include <algorithm>

#include "core/text_util.h"

namespace zantor {

namespace {

constexpr int kMostDigits = 15;

int digitCount(const std::string& text, int fallback) {
    return std::clamp(parseIntOr(text, fallback), 0, kMostDigits);
}

}  // namespace

NcValueFormat axisValueFormat(const MachineFormat& machine) {
    return {numberFormatOf(machine.NumFormat), digitCount(machine.DigitsLeft, 3),
            digitCount(machine.DigitsRight, 4)};
}

NcValueFormat feedValueFormat(const MachineFormat& machine) {
    return {numberFormatOf(machine.NumFormat), digitCount(machine.DigitsLeft, 3),
            digitCount(machine.FeedDigits, 2)};
}

CommentMarks machineCommentMarks(const MachineFormat& machine) {
    return {machine.CommentStart, machine.CommentEnd};
}

}  // namespace zantor
