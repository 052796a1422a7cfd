#include <CLI/CLI.hpp>
#include <cmath>
#include <iostream>
#include <memory>
#include <ostream>

#include "bmacro/bmacro_interpreter.h"
#include "bmacro/expression_evaluator.h"
#include "cli/command_set.h"
#include "cli/port_options.h"
#include "core/file_io.h"
#include "editor/nc_document.h"

namespace zantor::cli {

namespace {

struct BMacroArguments {
    std::optional<std::string> machine;
    std::vector<std::string> defines;
    std::string stopCode = "M00";
    bool noComments = false;
    long long maxSteps = 10'000'000;
    std::string file;
    std::optional<std::string> output;
};

// Errors on stderr, as the dialog shows them in boxes; a prompt has no one
// to answer it here and takes the proposed value.
class ConsoleMacroHost : public BMacroHost {
public:
    explicit ConsoleMacroHost(std::ostream& err) : err_(err) {}
    void error(const std::string& text) override {
        std::string line = text;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        err_ << "zantor-cli bmacro: " << line << "\n";
        ++errors;
    }
    std::optional<double> askNumber(const std::string&, double proposed) override {
        return proposed;
    }
    bool lineDone(int, int, const std::string&) override { return false; }
    int errors = 0;

private:
    std::ostream& err_;
};

int runBMacro(CliContext& context, const BMacroArguments& a) {
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    editor::NcDocument program;
    program.LoadDocument(a.file);

    BMacroOptions options;
    options.CommentStart = machine.Format.CommentStart;
    options.CommentEnd = machine.Format.CommentEnd;
    const EvalResult digits = Evaluate(machine.Format.DigitsRight);
    options.decimals = digits.code == kEvalOk ? int(std::lround(digits.value)) : 4;
    options.decimals = std::clamp(options.decimals, 0, 15);
    options.keepComments = !a.noComments;
    options.stopCode = a.stopCode;
    options.predefined = a.defines;
    options.maxSteps = a.maxSteps;

    ConsoleMacroHost host(context.err);
    const std::string target = a.output.value_or(macroOutputName(a.file));
    BMacroOutcome outcome;
    if (target == "-") {
        outcome = runBMacro(program, options, host,
                            [&](const std::string& line) { context.out << line << "\r\n"; });
    } else {
        // The output replaces the file only when the run ended; a runaway
        // macro leaves nothing behind.
        AtomicFileWriter out(target);
        outcome = runBMacro(program, options, host,
                            [&](const std::string& line) { out.write(line + "\r\n"); });
        if (!outcome.stepLimitReached) out.commit();
    }
    if (outcome.stepLimitReached) throw CliError{"the macro did not end; nothing was written"};
    return 0;
}

}  // namespace

void addBMacroCommand(CLI::App& app, CommandSet& commands) {
    auto a = std::make_shared<BMacroArguments>();
    CLI::App* command = commands.add(
        app, "bmacro",
        "Run a B-Macro program (variables #n, [expressions], IF, WHILE/DO/END, GOTO) and write "
        "the expanded NC code to FILE with the extension .OUT, or to -o OUT (- for standard "
        "output). Values are written with the machine's decimals.",
        [a](CliContext& context) { return runBMacro(context, *a); });
    command->add_option("--machine", a->machine, "The machine (default: the current one)");
    command->add_option("--define", a->defines,
                        "A line run before the program, as the pre-defined variables (\"#1=2.5\")");
    command->add_option("--stop-code", a->stopCode, "An output line holding it ends the run (M00)");
    command->add_flag("--no-comments", a->noComments, "Do not keep the lines' comments");
    command->add_option("--max-steps", a->maxSteps,
                        "Executed lines at most before the run is stopped (10000000)");
    command->add_option("-o,--output", a->output, "Where the code goes (default FILE.OUT)");
    command->add_option("FILE", a->file, "The B-Macro program")->required();
}

}  // namespace zantor::cli
