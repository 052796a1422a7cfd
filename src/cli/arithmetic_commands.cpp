#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "bmacro/evaluate_field.h"
#include "bmacro/expression_evaluator.h"
#include "cli/command_set.h"
#include "cli/utility_io.h"
#include "core/real_text.h"
#include "core/text_util.h"
#include "nctools/feed_speed_override.h"
#include "nctools/register_arithmetic.h"

namespace zantor::cli {

namespace {

// The operation and the amount left out take the machine's (AROPPR,
// ARAMOUNT), and so do the registers (ARREGSTR).
struct ArithmeticArguments : UtilityArguments {
    std::optional<std::string> registers;
    std::optional<std::string> add, subtract, multiply, divide;
};

struct OverrideArguments : UtilityArguments {
    int feed = 100;
    int speed = 100;
};

// The amount as the dialog's field takes it: an expression whose value is
// written back with five decimals, and read from there.
double amountOf(const std::string& typed) {
    std::string expression = typed.empty() ? "0.0" : typed;
    for (char& c : expression) c = asciiUpper(c);
    const EvalResult result = Evaluate(expression);
    if (result.code != kEvalOk)
        throw CliError{std::string("Error in Expression: ") + evalErrorMessage(result.code) +
                       ": " + markedExpression(expression, result.position)};
    const std::string written = FormatReal5(result.value);
    double amount = 0;
    std::from_chars(written.data(), written.data() + written.size(), amount);
    return amount;
}

ArithmeticSettings settingsOf(const ArithmeticArguments& a, const UtilityDefaults& machine) {
    ArithmeticSettings settings;
    settings.registers = a.registers.value_or(machine.ArithmeticRegisters);
    std::string amount = machine.ArithmeticAmount;
    settings.operation = ArithmeticOperation(machine.ArithmeticOperation);
    const std::pair<const std::optional<std::string>*, ArithmeticOperation> chosen[] = {
        {&a.add, ArithmeticOperation::Add},
        {&a.subtract, ArithmeticOperation::Subtract},
        {&a.multiply, ArithmeticOperation::Multiply},
        {&a.divide, ArithmeticOperation::Divide}};
    for (const auto& [option, operation] : chosen) {
        if (!*option) continue;
        amount = **option;
        settings.operation = operation;
    }
    settings.amount = amountOf(amount);
    if (divisionRefused(settings.operation, settings.amount)) throw CliError{kCannotDivideByZero};
    return settings;
}

int runArithmetic(CliContext& context, const ArithmeticArguments& a) {
    return changeProgram(context, a, [&](editor::TextDocument& program, const MachineSettings& m) {
        const ArithmeticSettings settings = settingsOf(a, m.Utilities);
        NoProgress progress;
        RegisterArithmetic(program, progress, settings, axisValueFormat(m.Format),
                           machineCommentMarks(m.Format));
    });
}

int runOverride(CliContext& context, const OverrideArguments& a) {
    return changeProgram(context, a, [&](editor::TextDocument& program, const MachineSettings& m) {
        NoProgress progress;
        OverrideFeedsSpeeds(program, progress, {a.feed, a.speed}, feedValueFormat(m.Format),
                            machineCommentMarks(m.Format));
    });
}

}  // namespace

void addArithmeticCommands(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<ArithmeticArguments>();
    CLI::App* arithmetic = commands.add(
        app, "arithmetic",
        "Add, subtract, multiply or divide the values of registers outside comments by an "
        "amount (an expression: 25.4, 1/3, 2PI), in the machine's number format. Without an "
        "operation the machine's operation and amount count.",
        [a](CliContext& context) { return runArithmetic(context, *a); });
    arithmetic->add_option("--registers", a->registers,
                           "Registers To Adjust (case counts; default the machine's, XYZIJKR)");
    CLI::Option* add = arithmetic->add_option("--add", a->add, "Add AMOUNT");
    CLI::Option* subtract = arithmetic->add_option("--subtract", a->subtract, "Subtract AMOUNT");
    CLI::Option* multiply = arithmetic->add_option("--multiply", a->multiply, "Multiply by AMOUNT");
    CLI::Option* divide = arithmetic->add_option("--divide", a->divide, "Divide by AMOUNT");
    CLI::Option* const options[] = {add, subtract, multiply, divide};
    for (CLI::Option* option : options) {
        option->type_name("AMOUNT");
        for (CLI::Option* other : options)
            if (other != option) option->excludes(other);
    }
    addUtilityArguments(arithmetic, *a);

    auto o = std::make_shared<OverrideArguments>();
    CLI::App* override = commands.add(
        app, "override",
        "Scale every feed (F) and spindle speed (S) outside comments by a percentage; feeds are "
        "written in the machine's feed format, speeds as whole numbers.",
        [o](CliContext& context) { return runOverride(context, *o); });
    override->add_option("--feed", o->feed, "Feed Rate Override in percent (default 100)")
        ->check(CLI::Range(1, 1000));
    override->add_option("--speed", o->speed, "Spindle Speed Override in percent (default 100)")
        ->check(CLI::Range(1, 1000));
    addUtilityArguments(override, *o);
}

}  // namespace zantor::cli
