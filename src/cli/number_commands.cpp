#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/command_set.h"
#include "nctools/nc_number.h"

namespace zantor::cli {

namespace {

struct NumberArguments {
    int format = 1;
    int left = 3;
    int right = 4;
    std::string value;
};

int runFormat(CliContext& context, const NumberArguments& a) {
    double value = 0;
    const char* last = a.value.data() + a.value.size();
    const auto [end, error] = std::from_chars(a.value.data(), last, value);
    if (error != std::errc() || end != last) throw CliError{"'" + a.value + "' is not a number"};
    context.out << FormatNcNumber(NcNumberFormat(a.format), a.left, a.right, value) << "\n";
    return 0;
}

int runParse(CliContext& context, const NumberArguments& a) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g",
                  ParseNcNumber(a.value, NcNumberFormat(a.format), a.left, a.right));
    context.out << text << "\n";
    return 0;
}

void addDigits(CLI::App* command, NumberArguments& a, int highestFormat) {
    command->add_option("--format", a.format,
                        "1 Decimal, 2 Leading Zeros, 3 Trailing Zeros, 4 Leading & Trailing" +
                            std::string(highestFormat == 5 ? ", 5 whole number" : ""))
        ->required()
        ->check(CLI::Range(1, highestFormat));
    command->add_option("--left", a.left, "Digits left of the point (3)")->check(CLI::Range(0, 15));
    command->add_option("--right", a.right, "Digits right of the point (4)")->check(CLI::Range(0, 15));
}

}  // namespace

void addNumberCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* number = commands.add(
        app, "number",
        "number format|parse: write a value in a machine's number format, or read a word's value "
        "back (-- before a negative value).");
    auto f = std::make_shared<NumberArguments>();
    CLI::App* format = commands.add(*number, "format", "Write VALUE in the number format.",
                                    [f](CliContext& context) { return runFormat(context, *f); });
    addDigits(format, *f, 5);
    format->add_option("VALUE", f->value, "The value, e.g. -1.25")->required();
    auto p = std::make_shared<NumberArguments>();
    CLI::App* parse = commands.add(*number, "parse",
                                   "Read the value of TEXT (a word, its letter allowed) written in "
                                   "the number format; text that is no number reads as 0.",
                                   [p](CliContext& context) { return runParse(context, *p); });
    addDigits(parse, *p, 4);
    parse->add_option("TEXT", p->value, "The word, e.g. X0015")->required();
}

}  // namespace zantor::cli
