#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "bmacro/evaluate_field.h"
#include "bmacro/expression_evaluator.h"
#include "cli/command_set.h"
#include "core/real_text.h"
#include "core/text_util.h"

namespace zantor::cli {

namespace {

int runEval(CliContext& context, const std::vector<std::string>& words) {
    // The words of the expression as typed, blanks between them (blanks do
    // not matter to the language).
    std::string expression;
    for (const std::string& word : words) expression += (expression.empty() ? "" : " ") + word;
    if (expression.empty()) expression = "0.0";
    for (char& c : expression) c = asciiUpper(c);
    const EvalResult result = Evaluate(expression);
    if (result.code != kEvalOk) {
        context.err << expressionErrorText(expression, result.code, result.position) << "\n";
        return 1;
    }
    context.out << FormatReal5(result.value) << "\n";
    return 0;
}

}  // namespace

void addEvalCommand(CLI::App& app, CommandSet& commands) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* eval = commands.add(
        app, "eval",
        "Evaluate an expression as every numeric field does and print its value with five "
        "decimals (2.50000): + - * / ^, brackets, implied multiplication (2PI), functions such "
        "as SIN, SQRT, FACT, constants PI, DR, RD, and a % for millimetres given in inches.",
        [words](CliContext& context) { return runEval(context, *words); });
    eval->add_option("EXPR", *words, "The expression")->required();
}

}  // namespace zantor::cli
