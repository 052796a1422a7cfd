#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command_set.h"
#include "cli/port_options.h"
#include "cli/settings_loader.h"
#include "dnc/received_file.h"
#include "dnc/send_file.h"
#include "dnc/tape_file.h"
#include "dnc/tape_options.h"
#include "dnc/work_files.h"

namespace zantor::cli {

namespace {

struct TapeArguments {
    std::string code;
    std::string in, out;
};

TapeCode codeOf(const std::string& name) {
    if (name == "eia") return TapeCode::Eia;
    if (name == "ascii") return TapeCode::Ascii;
    return TapeCode::Iso;
}

struct PrepareArguments {
    std::optional<std::string> machine;
    std::string in, out;
};

int runPrepare(CliContext& context, const PrepareArguments& a) {
    const LoadedSettings loaded = loadSettings(context);
    std::string name;
    const MachineSettings machine = loadMachine(context, a.machine, name);
    const WorkFiles work(loaded.state.TempDir);
    try {
        prepareDiskFile(a.in, work.WorkFile(), a.out, tapeOptionsFor(machine, loaded.state.Settings));
    } catch (const TapeCodeError& error) {
        throw CliError{error.what()};
    }
    return 0;
}

}  // namespace

void addTapeCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* tape = commands.add(
        app, "tape",
        "tape encode|decode --code eia|ascii|iso IN OUT: convert every byte into a tape code "
        "(EIA codes, ASCII with even parity), or a received tape back into text lines; ISO "
        "copies the bytes unchanged.");
    tape->require_subcommand(1);
    auto a = std::make_shared<TapeArguments>();
    const auto withFiles = [&](CLI::App* command) {
        command->add_option("--code", a->code, "eia, ascii or iso")
            ->required()
            ->check(CLI::IsMember({"eia", "ascii", "iso"}));
        command->add_option("IN", a->in, "The file to convert")->required();
        command->add_option("OUT", a->out, "Where the result goes (may be IN)")->required();
    };
    withFiles(commands.add(
        *tape, "encode",
        "Every byte into the tape code; under EIA a character without an EIA code is refused "
        "with its line and column, and nothing is written.",
        [a](CliContext&) {
            try {
                encodeTapeFile(a->in, a->out, codeOf(a->code));
            } catch (const TapeCodeError& error) {
                throw CliError{error.what()};
            }
            return 0;
        }));
    withFiles(commands.add(*tape, "decode",
                           "A received EIA or ASCII tape back into text lines ended by CR LF.",
                           [a](CliContext&) {
                               convertReceivedFile(a->in, a->out, codeOf(a->code));
                               return 0;
                           }));

    auto p = std::make_shared<PrepareArguments>();
    CLI::App* prepare = commands.add(
        app, "prepare",
        "The send file of a program for a machine: its start string, leader, the program's "
        "lines without comment lines in the machine's tape code, leader and end string.",
        [p](CliContext& context) { return runPrepare(context, *p); });
    prepare->add_option("--machine", p->machine, "The machine")->required();
    prepare->add_option("IN", p->in, "The program")->required();
    prepare->add_option("-o,--output", p->out, "The send file to write")->required();
}

}  // namespace zantor::cli
