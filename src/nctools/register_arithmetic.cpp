#include "nctools/register_arithmetic.h"

#include <cmath>

#include "nctools/register_words.h"

namespace zantor {

bool divisionRefused(ArithmeticOperation operation, double amount) {
    return operation == ArithmeticOperation::Divide && !(std::fabs(amount) >= 0.00005);
}

std::string arithmeticCaption() { return "Arithmetic ..."; }

namespace {

double applied(ArithmeticOperation operation, double value, double amount) {
    switch (operation) {
        case ArithmeticOperation::Add:
            return value + amount;
        case ArithmeticOperation::Subtract:
            return value - amount;
        case ArithmeticOperation::Multiply:
            return value * amount;
        case ArithmeticOperation::Divide:
            return value / amount;
    }
    return value;
}

}  // namespace

std::string applyArithmetic(std::string_view line, const ArithmeticSettings& settings,
                            const NcValueFormat& format, const CommentMarks& marks) {
    const std::vector<RegisterWord> words = registerWords(line, settings.registers, marks);
    std::vector<WordChange> changes;
    changes.reserve(words.size());
    for (const RegisterWord& word : words) {
        const double value = applied(settings.operation, format.read(word.text), settings.amount);
        if (!std::isfinite(value)) continue;
        changes.push_back({word, word.text.front() + format.write(value)});
    }
    return withWordsChanged(line, changes);
}

bool RegisterArithmetic(editor::TextDocument& document, LineWalkProgress& progress,
                        const ArithmeticSettings& settings, const NcValueFormat& format,
                        const CommentMarks& marks) {
    if (divisionRefused(settings.operation, settings.amount)) return true;
    return RunLineTransform(document, progress, arithmeticCaption(),
                            [&](const std::string& line, int number) {
                                ReplaceLine(document, number, line,
                                            applyArithmetic(line, settings, format, marks));
                            });
}

}  // namespace zantor
