#include "cli/utility_io.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/port_options.h"

#include "editor/program_file.h"

namespace zantor::cli {

void readProgram(editor::NcDocument& program, const std::string& file) {
    const editor::ProgramFileReport report = program.LoadDocument(file);
    if (report.linesCut > 0) {
        std::string warning = editor::linesCutWarning(report);
        warning = warning.substr(0, warning.find('\r'));
        throw CliError{file + ": " + warning + " Nothing was written."};
    }
}

void writeProgram(const CliContext& context, editor::NcDocument& program,
                  const std::optional<std::string>& output) {
    if (output) {
        program.SaveDocument(*output, false);
        return;
    }
    editor::writeProgramLines(
        program.ParagraphCount(),
        [&program](int paragraph) { return program.ParagraphView(paragraph); },
        [&](std::string_view bytes) {
            context.out.write(bytes.data(), std::streamsize(bytes.size()));
        });
    context.out.flush();
}

void addUtilityArguments(CLI::App* command, UtilityArguments& arguments) {
    command->add_option("--machine", arguments.machine,
                        "The machine whose number format, comment marks and defaults count "
                        "(default: the current one)");
    command->add_option("-o,--output", arguments.output,
                        "Where the program goes (default: standard output); may be FILE itself");
    command->add_option("FILE", arguments.file, "The NC program")->required();
}

int changeProgram(const CliContext& context, const UtilityArguments& arguments,
                  const ProgramChange& change) {
    std::string name;
    const MachineSettings machine = loadMachine(context, arguments.machine, name);
    editor::NcDocument program;
    program.SetUndoKept(false);  // written out, never undone
    readProgram(program, arguments.file);
    change(program, machine);
    writeProgram(context, program, arguments.output);
    return 0;
}

}  // namespace zantor::cli
