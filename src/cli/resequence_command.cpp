#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_set.h"
#include "cli/utility_io.h"
#include "nctools/resequence.h"

namespace zantor::cli {

namespace {

// Each option left out takes the machine's default (RSSEQST, RSINCR, ...).
struct ResequenceArguments : UtilityArguments {
    std::optional<std::string> start;
    std::optional<std::string> increment;
    std::optional<std::string> maxDigits;
    std::optional<std::string> sequenceChars;
    std::optional<std::string> skipChars;
    bool leadingZeros = false;
    bool noLeadingZeros = false;
    bool remove = false;
};

ResequenceSettings settingsOf(const ResequenceArguments& a, const UtilityDefaults& machine) {
    ResequenceSettings settings;
    if (const auto error = readResequenceNumbers(a.start.value_or(machine.ResequenceStart),
                                                 a.increment.value_or(machine.ResequenceIncrement),
                                                 a.maxDigits.value_or(machine.ResequenceMaxDigits),
                                                 settings))
        throw CliError{*error};
    settings.sequenceChars = a.sequenceChars.value_or(machine.ResequenceChars);
    settings.skipChars = a.skipChars.value_or(machine.ResequenceSkipChars);
    settings.leadingZeros = a.leadingZeros || (machine.ResequenceLeadingZeros && !a.noLeadingZeros);
    settings.remove = a.remove;
    return settings;
}

int runResequence(CliContext& context, const ResequenceArguments& a) {
    return changeProgram(context, a, [&](editor::TextDocument& program, const MachineSettings& m) {
        const ResequenceSettings settings = settingsOf(a, m.Utilities);
        NoProgress progress;
        Resequence(program, progress, settings);
    });
}

}  // namespace

void addResequenceCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<ResequenceArguments>();
    CLI::App* command = commands.add(
        app, "resequence",
        "Renumber the block numbers at the start of the lines, or remove them all (--remove). "
        "Options left out take the machine's defaults.",
        [a](CliContext& context) { return runResequence(context, *a); });
    command->add_option("--start", a->start, "Start Number");
    command->add_option("--increment", a->increment,
                        "Number Increment; numbering starts again here after the longest number");
    command->add_option("--max-digits", a->maxDigits, "Max number of Digits");
    command->add_option("--sequence-chars", a->sequenceChars,
                        "Sequence # Character(s): what marks an existing number (\"N/\")");
    command->add_option("--skip-chars", a->skipChars,
                        "Lines starting with one of these get no number");
    CLI::Option* zeros = command->add_flag("--leading-zeros", a->leadingZeros,
                                           "Use Leading Zeros: pad numbers to the longest number");
    command->add_flag("--no-leading-zeros", a->noLeadingZeros,
                      "No leading zeros, whatever the machine says")
        ->excludes(zeros);
    command->add_flag("--remove", a->remove, "Remove ALL Sequence Numbers");
    addUtilityArguments(command, *a);
}

}  // namespace zantor::cli
