#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_set.h"
#include "cli/port_options.h"
#include "cli/utility_io.h"
#include "nctools/reformat.h"

namespace zantor::cli {

namespace {

// Each option left out takes the current machine's setting (RFREGS,
// RFBFREGS, RFBCGHG, RFBCHGCMT, RFBUSESUB, Nmname and the substitution list).
struct ReformatArguments : UtilityArguments {
    std::optional<std::string> to;
    std::optional<std::string> registers;
    bool noRegisters = false, noCodes = false, noComments = false, noSubstitutions = false,
         noMixed = false;
};

ReformatSettings settingsOf(const ReformatArguments& a, const UtilityDefaults& defaults) {
    ReformatSettings settings = reformatSettingsOf(defaults);
    if (a.registers) settings.registerLetters = *a.registers;
    settings.registers = settings.registers && !a.noRegisters;
    settings.motionCodes = settings.motionCodes && !a.noCodes;
    settings.comments = settings.comments && !a.noComments;
    settings.useSubstitutions = settings.useSubstitutions && !a.noSubstitutions;
    settings.allowMixed = !a.noMixed;
    return settings;
}

int runReformat(CliContext& context, const ReformatArguments& a) {
    std::string fromName;
    const MachineSettings from = loadMachine(context, a.machine, fromName);
    const std::string toName = a.to.value_or(from.Utilities.ReformatOtherMachine);
    if (toName.empty()) throw CliError{"no new machine: name one with --to"};
    if (toName == fromName) throw CliError{"Current Machine & New Machine Are the Same"};
    std::string loadedName;
    const MachineSettings to = loadMachine(context, toName, loadedName);
    passProgram(context, a.file, a.output, [&](editor::TextDocument& program) {
        NoProgress progress;
        Reformat(program, progress, settingsOf(a, from.Utilities), reformatMachineOf(from.Format),
                 reformatMachineOf(to.Format));
    });
    return 0;
}

}  // namespace

void addReformatCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<ReformatArguments>();
    CLI::App* command = commands.add(
        app, "reformat",
        "Convert the program from the current machine (--machine) to another one: register "
        "values in its number format, the motion G-codes, the comment marks and the "
        "machine's substitution list.",
        [a](CliContext& context) { return runReformat(context, *a); });
    command->add_option("--to", a->to,
                        "The new machine (default: the current machine's new machine)");
    command->add_option("--registers", a->registers, "Registers To Reformat");
    command->add_flag("--no-registers", a->noRegisters, "Leave the register values alone");
    command->add_flag("--no-g-codes", a->noCodes, "Leave the motion G-codes alone");
    command->add_flag("--no-comments", a->noComments, "Leave the comment marks alone");
    command->add_flag("--no-substitutions", a->noSubstitutions, "Skip the substitution list");
    command->add_flag("--no-mixed", a->noMixed,
                      "A word without a point in a decimal program is a whole number, not "
                      "an implied-decimal one");
    addUtilityArguments(command, *a);
}

}  // namespace zantor::cli
