#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_set.h"
#include "cli/utility_io.h"
#include "nctools/line_ends.h"

namespace zantor::cli {

namespace {

// Each option left out takes the machine's default (CLBFROM, CLBTO,
// CLEFROM, CLETO); an empty text leaves that side alone.
struct LineEndsArguments : UtilityArguments {
    std::optional<std::string> beginFrom, beginTo, endFrom, endTo;
};

int runLineEnds(CliContext& context, const LineEndsArguments& a) {
    return changeProgram(context, a, [&](editor::TextDocument& program, const MachineSettings& m) {
        const UtilityDefaults& d = m.Utilities;
        const LineEnds ends{a.beginFrom.value_or(d.LineBeginFrom), a.beginTo.value_or(d.LineBeginTo),
                            a.endFrom.value_or(d.LineEndFrom), a.endTo.value_or(d.LineEndTo)};
        NoProgress progress;
        ChangeLineEnds(program, progress, ends);
    });
}

}  // namespace

void addLineEndsCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<LineEndsArguments>();
    CLI::App* command = commands.add(
        app, "line-ends",
        "Put a text at the start and at the end of every line that has characters, replacing "
        "the one it starts or ends with. Options left out take the machine's defaults.",
        [a](CliContext& context) { return runLineEnds(context, *a); });
    command->add_option("--begin-from", a->beginFrom,
                        "Replaced by --begin-to where a line starts with it");
    command->add_option("--begin-to", a->beginTo, "Put at the start of every line");
    command->add_option("--end-from", a->endFrom, "Taken away where a line ends with it");
    command->add_option("--end-to", a->endTo, "Added at the end of every line");
    addUtilityArguments(command, *a);
}

}  // namespace zantor::cli
