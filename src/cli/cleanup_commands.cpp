#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_set.h"
#include "cli/port_options.h"
#include "cli/utility_io.h"
#include "nctools/add_remove_spaces.h"
#include "nctools/file_cleanup.h"

namespace zantor::cli {

namespace {

struct SpacesArguments : UtilityArguments {
    bool add = false;
    bool remove = false;
};

struct CleanupArguments : UtilityArguments {
    CleanupChoice flags{};
};

CommentMarks commentMarksOf(const MachineSettings& machine) {
    return {machine.Format.CommentStart, machine.Format.CommentEnd};
}

int runSpaces(CliContext& context, const SpacesArguments& a) {
    if (a.add == a.remove) throw CliError{"needs one of --add and --remove"};
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    passProgram(context, a.file, a.output, [&](editor::TextDocument& program) {
        NoProgress progress;
        AddRemoveSpaces(program, progress, a.add ? SpacesChange::Add : SpacesChange::Remove,
                        commentMarksOf(machine));
    });
    return 0;
}

int runCleanup(CliContext& context, const CleanupArguments& a) {
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    const bool anyFlag = std::find(a.flags.begin(), a.flags.end(), true) != a.flags.end();
    const CleanupChoice choice = anyFlag ? a.flags : machine.Utilities.CleanupOptions;
    editor::NcDocument program;
    readProgram(program, a.file);
    NoProgress progress;
    RunFileCleanup(program, progress, choice, commentMarksOf(machine));
    writeProgram(context, program, a.output);
    return 0;
}

}  // namespace

void addCleanupCommands(CLI::App& app, CommandSet& commands) {
    auto s = std::make_shared<SpacesArguments>();
    CLI::App* spaces = commands.add(
        app, "spaces",
        "Add a space before every register letter, or remove every space, outside comments.",
        [s](CliContext& context) { return runSpaces(context, *s); });
    CLI::Option* add = spaces->add_flag("--add", s->add, "Add Spaces Between Registers");
    CLI::Option* remove =
        spaces->add_flag("--remove", s->remove, "Remove Spaces Between Registers");
    add->excludes(remove);
    addUtilityArguments(spaces, *s);

    auto c = std::make_shared<CleanupArguments>();
    CLI::App* cleanup = commands.add(
        app, "cleanup",
        "File Cleanup: the chosen operations in this order; without any, those the machine ticks "
        "(FCOPT1..FCOPT6).",
        [c](CliContext& context) { return runCleanup(context, *c); });
    const struct {
        const char* flag;
        CleanupOperation operation;
    } flags[] = {{"--before-percent", CleanupOperation::DeleteBeforeFirstPercent},
                 {"--control", CleanupOperation::RemoveControlCharacters},
                 {"--comments", CleanupOperation::RemoveComments},
                 {"--blank", CleanupOperation::RemoveBlankLines},
                 {"--after-end", CleanupOperation::StripAfterProgramEnd},
                 {"--add-percent", CleanupOperation::AddPercentAtEnd}};
    for (const auto& f : flags)
        cleanup->add_flag(f.flag, c->flags[size_t(f.operation)], cleanupCaption(f.operation));
    addUtilityArguments(cleanup, *c);
}

}  // namespace zantor::cli
