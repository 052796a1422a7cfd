#include "cli/utility_io.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/port_options.h"

#include "editor/program_file.h"
#include "editor/streamed_program.h"

namespace zantor::cli {

namespace {

// Writing it back would shorten the lines a read had to cut.
void refuseCutLines(const std::string& file, const editor::ProgramFileReport& report) {
    if (report.linesCut == 0) return;
    std::string warning = editor::linesCutWarning(report);
    warning = warning.substr(0, warning.find('\r'));
    throw CliError{file + ": " + warning + " Nothing was written."};
}

// Standard output in large pieces: a stream write per line end would cost as
// much as the whole utility.
class StandardOutputPieces {
public:
    explicit StandardOutputPieces(std::ostream& out) : out_(out) { piece_.reserve(kPiece); }
    void write(std::string_view bytes) {
        if (piece_.size() + bytes.size() > kPiece) handOn();
        piece_.append(bytes);
    }
    void finish() {
        handOn();
        out_.flush();
    }

private:
    static constexpr size_t kPiece = 256 * 1024;
    void handOn() {
        out_.write(piece_.data(), std::streamsize(piece_.size()));
        piece_.clear();
    }
    std::ostream& out_;
    std::string piece_;
};

// Hands `produce` where the program's bytes go: `output` (replaced
// atomically) or standard output.
void writeProgramBytes(const CliContext& context, const std::optional<std::string>& output,
                       const std::function<void(const editor::ProgramBytesSink&)>& produce) {
    if (output) {
        editor::writeProgramFile(*output, produce, false);
        return;
    }
    StandardOutputPieces out(context.out);
    produce([&out](std::string_view bytes) { out.write(bytes); });
    out.finish();
}

}  // namespace

void readProgram(editor::NcDocument& program, const std::string& file) {
    refuseCutLines(file, program.LoadDocument(file));
}

void writeProgram(const CliContext& context, editor::NcDocument& program,
                  const std::optional<std::string>& output) {
    writeProgramBytes(context, output, [&program](const editor::ProgramBytesSink& write) {
        editor::writeProgramLines(
            program.ParagraphCount(),
            [&program](int paragraph) { return program.ParagraphView(paragraph); }, write);
    });
}

void passProgram(const CliContext& context, const std::string& file,
                 const std::optional<std::string>& output,
                 const std::function<void(editor::TextDocument& program)>& change) {
    editor::StreamedProgram program(file);
    refuseCutLines(file, program.report());
    writeProgramBytes(context, output, [&](const editor::ProgramBytesSink& write) {
        program.passThrough(write, change);
    });
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
    passProgram(context, arguments.file, arguments.output,
                [&](editor::TextDocument& program) { change(program, machine); });
    return 0;
}

}  // namespace zantor::cli
