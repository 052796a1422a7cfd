#include <CLI/CLI.hpp>

#include "cli/command_set.h"

namespace zantor::cli {

CLI::App* CommandSet::add(CLI::App& parent, const std::string& name,
                          const std::string& description, CommandRun run) {
    CLI::App* command = parent.add_subcommand(name, description);
    // Mistakes are reported by the command line's own one-line messages;
    // --home and --system may come after the command too.
    command->allow_extras();
    command->fallthrough();
    commands_.emplace_back(command, std::move(run));
    return command;
}

const CLI::App* CommandSet::chosen(const CLI::App& app) const {
    const CLI::App* at = &app;
    for (;;) {
        const auto subcommands = at->get_subcommands();
        if (subcommands.empty()) return at == &app ? nullptr : at;
        at = subcommands.front();
    }
}

const CommandRun* CommandSet::runOf(const CLI::App* command) const {
    for (const auto& [app, run] : commands_)
        if (app == command && run) return &run;
    return nullptr;
}

}  // namespace zantor::cli
