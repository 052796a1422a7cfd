#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/cli_context.h"

namespace CLI {
class App;
}

namespace zantor::cli {

using CommandRun = std::function<int(CliContext&)>;

// The commands of zantor-cli, each a CLI11 subcommand with what it runs once
// the command line has been read.
class CommandSet {
public:
    // A subcommand of `parent`; `run` is empty for a command that only groups
    // subcommands of its own ("machine").
    CLI::App* add(CLI::App& parent, const std::string& name, const std::string& description,
                  CommandRun run = {});
    // The deepest command the parsed line chose, with its run; null when none.
    const CLI::App* chosen(const CLI::App& app) const;
    const CommandRun* runOf(const CLI::App* command) const;

private:
    std::vector<std::pair<CLI::App*, CommandRun>> commands_;
};

// The commands, in the order --help lists them.
void addAppCommands(CLI::App& app, CommandSet& commands);      // settings, users
void addMachineCommands(CLI::App& app, CommandSet& commands);  // machines, machine
void addTermCommand(CLI::App& app, CommandSet& commands);
void addViewCommand(CLI::App& app, CommandSet& commands);
void addTapeCommands(CLI::App& app, CommandSet& commands);      // tape, prepare
void addTransferCommands(CLI::App& app, CommandSet& commands);  // send, receive
void addUserCommands(CLI::App& app, CommandSet& commands);      // user add|delete|password
void addRemoteCommand(CLI::App& app, CommandSet& commands);     // remote
void addSimulateCommand(CLI::App& app, CommandSet& commands);
void addEvalCommand(CLI::App& app, CommandSet& commands);
void addNumberCommands(CLI::App& app, CommandSet& commands);  // number format|parse
void addBMacroCommand(CLI::App& app, CommandSet& commands);
void addCalculatorCommands(CLI::App& app, CommandSet& commands);  // triangle, speeds-feeds
void addCleanupCommands(CLI::App& app, CommandSet& commands);     // spaces, cleanup
void addResequenceCommand(CLI::App& app, CommandSet& commands);
void addLineEndsCommand(CLI::App& app, CommandSet& commands);
void addArithmeticCommands(CLI::App& app, CommandSet& commands);  // arithmetic, override
void addCompareCommand(CLI::App& app, CommandSet& commands);
void addReformatCommand(CLI::App& app, CommandSet& commands);
void addProgramUtilityCommands(CLI::App& app, CommandSet& commands);  // columns, split, info

}  // namespace zantor::cli
