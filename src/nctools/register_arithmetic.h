#pragma once

#include <string>
#include <string_view>

#include "editor/text_document.h"
#include "nctools/line_walk.h"
#include "nctools/machine_values.h"

namespace zantor {

// The machine keeps it as AROPPR: 1 to 4.
enum class ArithmeticOperation { Add = 1, Subtract = 2, Multiply = 3, Divide = 4 };

struct ArithmeticSettings {
    std::string registers = "XYZIJKR";  // the letters whose values change (case counts)
    ArithmeticOperation operation = ArithmeticOperation::Add;
    double amount = 1.0;
};

inline constexpr const char* kCannotDivideByZero = "Cannot Divide by Zero";

// Whether the amount is too near zero to divide by (below 0.00005, the
// smallest that five decimals show).
bool divisionRefused(ArithmeticOperation operation, double amount);

// "Arithmetic ...".
std::string arithmeticCaption();

// The line with every register word outside comments changed by the
// operation and written in `format`. A result that is no finite number
// leaves its word as it was.
std::string applyArithmetic(std::string_view line, const ArithmeticSettings& settings,
                            const NcValueFormat& format, const CommentMarks& marks);

// Over the selected lines or the whole program; false when cancelled. A
// division refused by divisionRefused changes nothing.
bool RegisterArithmetic(editor::TextDocument& document, LineWalkProgress& progress,
                        const ArithmeticSettings& settings, const NcValueFormat& format,
                        const CommentMarks& marks);

}  // namespace zantor
