#include "bmacro/evaluate_field.h"

#include <algorithm>

#include "bmacro/expression_evaluator.h"
#include "core/interaction.h"
#include "core/real_text.h"
#include "core/text_util.h"

namespace zantor {

std::string markedExpression(const std::string& expression, int position) {
    std::string marked = expression;
    const size_t at = position <= 0 ? 0 : std::min(size_t(position - 1), marked.size());
    return marked.insert(at, " >>");
}

std::string expressionErrorText(const std::string& expression, int code, int position) {
    return std::string("Error in Expression") + "      \n\n" + evalErrorMessage(code) + "\n\n" +
           markedExpression(expression, position);
}

FieldValue EvaluateField(std::string& text, Interaction& interaction) {
    std::string expression = text.empty() ? "0.0" : text;
    for (char& c : expression) c = asciiUpper(c);
    const EvalResult result = Evaluate(expression);
    if (result.code != kEvalOk) {
        interaction.message(MessageKind::Warning,
                            expressionErrorText(expression, result.code, result.position),
                            Buttons::Ok);
        return {false, 0};
    }
    text = FormatReal5(result.value);
    return {true, result.value};
}

}  // namespace zantor
