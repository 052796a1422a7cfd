#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_set.h"
#include "cli/port_options.h"
#include "cli/utility_io.h"
#include "core/text_util.h"
#include "nctools/file_splitter.h"
#include "nctools/machine_values.h"
#include "nctools/make_columns.h"
#include "nctools/nc_file_info.h"

namespace zantor::cli {

namespace {

// Fields left out take the machine's (MCREGORDER, MCTABW).
struct ColumnsArguments : UtilityArguments {
    std::optional<std::string> order;
    std::optional<int> width;
};

int runColumns(CliContext& context, const ColumnsArguments& a) {
    return changeProgram(context, a, [&](editor::TextDocument& program, const MachineSettings& m) {
        const UtilityDefaults& d = m.Utilities;
        const std::optional<int> width = a.width ? a.width : parseInt(d.ColumnWidth);
        if (!width) throw CliError{"'" + d.ColumnWidth + "' is not a valid integer value"};
        const ColumnLayout layout{a.order.value_or(d.ColumnRegisterOrder), *width};
        NoProgress progress;
        MakeColumns(program, progress, layout, machineCommentMarks(m.Format));
    });
}

struct SplitArguments {
    std::optional<std::string> machine;
    std::string file;
    std::optional<std::string> folder, extension;
    std::string prefix = "%", suffix = "%";
    bool overwrite = false;
};

int runSplit(CliContext& context, const SplitArguments& a) {
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    editor::NcDocument program;
    readProgram(program, a.file);
    SplitSettings settings;
    settings.folder = a.folder.value_or(machine.Format.LoadSaveFolder);
    settings.extension = a.extension.value_or(machine.Format.DefaultExt);
    settings.prefix = a.prefix;
    settings.suffix = a.suffix;
    settings.programId = machine.Format.ProgramId;
    settings.alwaysOverwrite = a.overwrite;
    NoProgress progress;
    // No one to ask on a command line: an existing file stops the split.
    const SplitResult result =
        SplitPrograms(program, progress, settings, [](const std::string& path) -> std::optional<std::string> {
            throw CliError{path + " exists; nothing more was written (--overwrite replaces it)"};
        });
    for (const std::string& file : result.files) context.out << file << "\n";
    return 0;
}

int runInfo(CliContext& context, const std::string& file) {
    editor::NcDocument program;
    readProgram(program, file);
    program.SetFileName(file);
    program.SetModified(false);
    for (const auto& [caption, value] : ncFileInfoRows(ncFileInfo(program)))
        context.out << caption << (caption.ends_with(' ') ? "" : " ") << value << "\n";
    return 0;
}

}  // namespace

void addProgramUtilityCommands(CLI::App& app, CommandSet& commands) {
    auto c = std::make_shared<ColumnsArguments>();
    CLI::App* columns = commands.add(
        app, "columns",
        "Lay the words of every line out in columns, one per register letter in the given "
        "order; comments go to the end of the line.",
        [c](CliContext& context) { return runColumns(context, *c); });
    columns->add_option("--order", c->order, "Alpha Order of Registers (default: the machine's)");
    columns->add_option("--width", c->width, "Tab Width: characters per column");
    addUtilityArguments(columns, *c);

    auto s = std::make_shared<SplitArguments>();
    CLI::App* split = commands.add(
        app, "split",
        "Write every program of FILE (from each line starting with the machine's program "
        "character) to its own file named after its number; prints the files written.",
        [s](CliContext& context) { return runSplit(context, *s); });
    split->add_option("--dir", s->folder, "Output Folder (default: the machine's load/save folder)");
    split->add_option("--ext", s->extension, "Output File Extension (default: the machine's)");
    split->add_option("--prefix", s->prefix, "Output File Prefix, written first (default: %)");
    split->add_option("--suffix", s->suffix, "Output File Suffix, written last (default: %)");
    split->add_flag("--overwrite", s->overwrite,
                    "Replace existing files (without it an existing file stops the split)");
    split->add_option("--machine", s->machine, "The machine whose program character counts");
    split->add_option("FILE", s->file, "The NC program")->required();

    auto file = std::make_shared<std::string>();
    CLI::App* info = commands.add(
        app, "info", "The NC-File Information box: name, lines, characters, tape length.",
        [file](CliContext& context) { return runInfo(context, *file); });
    info->add_option("FILE", *file, "The NC program")->required();
}

}  // namespace zantor::cli
