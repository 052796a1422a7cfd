#include <CLI/CLI.hpp>
#include <array>
#include <memory>
#include <ostream>

#include "bmacro/evaluate_field.h"
#include "bmacro/expression_evaluator.h"
#include "calc/speed_feed.h"
#include "calc/triangle_solver.h"
#include "cli/command_set.h"
#include "core/text_util.h"

namespace zantor::cli {

namespace {

// A field's value as the dialog's expression field takes it; an error is
// the command's error, with the box's text made one line.
double fieldValue(const std::string& option, const std::string& text) {
    std::string expression = text.empty() ? "0.0" : text;
    for (char& c : expression) c = asciiUpper(c);
    const EvalResult r = Evaluate(expression);
    if (r.code != kEvalOk)
        throw CliError{option + ": " + evalErrorMessage(r.code) + ": " +
                       markedExpression(expression, r.position)};
    return r.value;
}

struct TriangleOptions {
    std::array<std::string, 6> values;  // A B C a b c
};

int runTriangle(CliContext& context, const TriangleOptions& o) {
    static const char* const names[] = {"--side-a", "--side-b", "--side-c",
                                        "--angle-a", "--angle-b", "--angle-c"};
    std::array<double, 6> v{};
    for (size_t i = 0; i < 6; ++i) v[i] = fieldValue(names[i], o.values[i]);
    const TriangleSolution s = solveTriangle({v[0], v[1], v[2], v[3], v[4], v[5]});
    if (s.error != TriangleError::None) throw CliError{triangleErrorText(s.error)};
    context.out << triangleReport(s.triangle);
    return 0;
}

struct SpeedFeedOptions {
    bool metric = false, turning = false;
    // Fields given, in the order the calculator recalculates after them.
    std::vector<std::pair<SpeedFeedCalculator::Field, std::string>> given;
    std::array<std::string, SpeedFeedCalculator::kFieldCount> text;
};

int runSpeedFeed(CliContext& context, const SpeedFeedOptions& o) {
    SpeedFeedCalculator calc;
    calc.Metric = o.metric;
    calc.setTurning(o.turning);
    // As if each given field were typed and left in turn, in a fixed order.
    for (int f = 0; f < SpeedFeedCalculator::kFieldCount; ++f) {
        if (o.text[size_t(f)].empty()) continue;
        const auto field = SpeedFeedCalculator::Field(f);
        calc.value[size_t(f)] = fieldValue(calc.caption(field), o.text[size_t(f)]);
        if (!calc.recalculate(field))
            throw CliError{"a zero diameter, speed or number of teeth leaves nothing to calculate"};
    }
    context.out << calc.report();
    return 0;
}

}  // namespace

void addCalculatorCommands(CLI::App& app, CommandSet& commands) {
    auto t = std::make_shared<TriangleOptions>();
    CLI::App* triangle = commands.add(
        app, "triangle",
        "Solve a triangle from three of its sides and angles (side A lies opposite angle a; "
        "angles in degrees; values are expressions, 0 or missing is unknown) and print the "
        "report of the Triangle Solver.",
        [t](CliContext& context) { return runTriangle(context, *t); });
    triangle->add_option("--side-a", t->values[0], "Side A");
    triangle->add_option("--side-b", t->values[1], "Side B");
    triangle->add_option("--side-c", t->values[2], "Side C");
    triangle->add_option("--angle-a", t->values[3], "Angle a, opposite side A");
    triangle->add_option("--angle-b", t->values[4], "Angle b, opposite side B");
    triangle->add_option("--angle-c", t->values[5], "Angle c, opposite side C");

    auto s = std::make_shared<SpeedFeedOptions>();
    CLI::App* speeds = commands.add(
        app, "speeds-feeds",
        "The speed and feed calculator: the fields given (expressions) are taken in the order "
        "listed here, each recalculating the others as when it is left in the dialog, and the "
        "report is printed. Defaults: diameter 0.5, 4 teeth, chip load 0.04, 100 FPM.",
        [s](CliContext& context) { return runSpeedFeed(context, *s); });
    speeds->add_flag("--metric", s->metric, "Metric units (M/min, MM/min, MM/rev)");
    speeds->add_flag("--turning", s->turning, "Turning: one tooth, chip load = feed per revolution");
    using F = SpeedFeedCalculator;
    speeds->add_option("--diameter", s->text[F::Diameter], "Tool (or turned) diameter");
    speeds->add_option("--teeth", s->text[F::Teeth], "Number of teeth");
    speeds->add_option("--chip-load", s->text[F::ChipLoad], "Chip load per tooth");
    speeds->add_option("--rpm", s->text[F::Rpm], "Spindle speed");
    speeds->add_option("--surface-speed", s->text[F::SurfaceSpeed], "FPM, or M/min when metric");
    speeds->add_option("--feed", s->text[F::FeedPerMinute], "IPM, or MM/min when metric");
    speeds->add_option("--feed-per-rev", s->text[F::FeedPerRev], "IPR, or MM/rev when metric");
    speeds->add_option("--cut-length", s->text[F::CutLength], "Length of the cut");
}

}  // namespace zantor::cli
