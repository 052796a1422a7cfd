#include "cli/utility_io.h"

#include <ostream>

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
        [&program, held = std::string()](int paragraph) mutable {
            held = program.GetParagraph(paragraph);
            return std::string_view(held);
        },
        [&](std::string_view bytes) {
            context.out.write(bytes.data(), std::streamsize(bytes.size()));
        });
    context.out.flush();
}

}  // namespace zantor::cli
