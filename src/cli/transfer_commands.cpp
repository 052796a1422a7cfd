#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/cli_station.h"
#include "cli/command_set.h"
#include "cli/port_options.h"
#include "core/file_io.h"
#include "dnc/dnc_receive.h"
#include "dnc/dnc_send.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/work_files.h"

namespace zantor::cli {

namespace {

struct TransferArguments {
    std::optional<std::string> machine, port, protocol;
    std::string file;
};

// The machine's line record with --protocol in place of its own.
MachComRec withProtocol(MachComRec record, const std::optional<std::string>& protocol) {
    static const char* const kNames[] = {"ascii", "xmodem", "ymodem", "zmodem", "kermit"};
    for (int index = 0; protocol && index < 5; ++index)
        if (*protocol == kNames[index]) record.Protocol = index;
    return record;
}

// The end of a transfer as the command reports it: a line on stdout and
// status 0 for success, one line on stderr and status 1 otherwise.
int report(CliContext& context, int code) {
    if (code != transfer_code::kSuccess)
        throw CliError{"Protocol Error: " + std::to_string(code) + " " + protocolErrorText(code)};
    context.out << "0 Down/Up Load Successful\n";
    return 0;
}

int runSend(CliContext& context, const TransferArguments& a) {
    checkPortOption(a.port);
    const std::string file = std::filesystem::absolute(a.file).string();
    CliStation cli(context, a.machine, a.port);
    const MachineSettings& machine = cli.machine();
    const WorkFiles work(cli.state().TempDir);
    const TapeOptions options = tapeOptionsFor(machine, cli.state().Settings);
    try {
        prepareDiskFile(file, work.WorkFile(), work.SendFile(), options);
        if (!singleSend(cli.station(), withProtocol(machine.Comm, a.protocol), cli.machineName(),
                        cli.state().Settings.RtsLowForWrite, work.SendFile(), file))
            throw CliError{"stopped before the send: nothing was sent"};
    } catch (const TapeCodeError& error) {
        throw CliError{error.what()};
    }
    const int code = cli.waitForEnd();
    runRtsDelays(cli.station(), machine.Comm);
    return report(context, code);
}

int runReceive(CliContext& context, const TransferArguments& a) {
    checkPortOption(a.port);
    const std::string file = std::filesystem::absolute(a.file).string();
    CliStation cli(context, a.machine, a.port);
    const MachineSettings& machine = cli.machine();
    ReceiveResult result;
    try {
        result = portReceive(cli.station(), withProtocol(machine.Comm, a.protocol), cli.machineName(),
                             cli.state().Settings.RtsLowForWrite, {file, fileExists(file)});
    } catch (const TapeCodeError& error) {
        throw CliError{error.what()};
    }
    cli.drain();
    runRtsDelays(cli.station(), machine.Comm);
    if (!result.conversionError.empty())
        throw CliError{"the program was received but not converted: " + result.conversionError};
    return report(context, result.code);
}

void addOptions(CLI::App* command, TransferArguments& a, const char* fileHelp) {
    command->add_option("--machine", a.machine, "The machine (default: the current one)");
    command->add_option("--port", a.port,
                        "Port number or device path (default: the machine's, through its DNC "
                        "hub when it has one)");
    command
        ->add_option("--protocol", a.protocol,
                     "ascii, xmodem, ymodem, zmodem or kermit (default: the machine's)")
        ->check(CLI::IsMember({"ascii", "xmodem", "ymodem", "zmodem", "kermit"}));
    command->add_option("FILE", a.file, fileHelp)->required();
}

}  // namespace

void addTransferCommands(CLI::App& app, CommandSet& commands) {
    auto send = std::make_shared<TransferArguments>();
    addOptions(commands.add(app, "send",
                            "Send a program to a machine as the DNC station's Send does: the "
                            "send file in the machine's tape code, its init string, the wait "
                            "for its XON when it asks for one, then the file with its pacing "
                            "and flow control. Ctrl-C cancels.",
                            [send](CliContext& context) { return runSend(context, *send); }),
               *send, "The program to send");

    auto receive = std::make_shared<TransferArguments>();
    addOptions(
        commands.add(app, "receive",
                     "Receive a program that a machine punches out, as the DNC station's Receive "
                     "does: its start string, the wait for the first character when it asks for "
                     "one, the capture until the line is quiet for its EOF time-out, its end "
                     "string, and the conversion back from EIA or ASCII. An existing FILE is "
                     "replaced only when something was received. With YMODEM and ZMODEM a FILE "
                     "that is a folder takes the files under their sent names, and files after "
                     "the first go beside FILE; a sent name that would leave the folder is "
                     "skipped. Ctrl-C cancels.",
                     [receive](CliContext& context) { return runReceive(context, *receive); }),
        *receive, "The file to receive into");
}

}  // namespace zantor::cli
