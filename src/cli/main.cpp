// zantor-cli: the command-line face of the workstation's logic.
#include <CLI/CLI.hpp>
#include <iostream>
#include <regex>
#include <string>

#include "cli/command_set.h"
#include "core/file_io.h"
#include "core/folders.h"
#include "core/version.h"

namespace {

// The command's name as the user typed it, "machine show".
std::string pathOf(const CLI::App* command) {
    std::string path;
    for (; command && command->get_parent(); command = command->get_parent())
        path = command->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

// CLI11's messages, said the way zantor-cli says its own.
std::string describe(const CLI::ParseError& error) {
    static const std::regex missingValue(R"(^(\S+): \d+ required .* missing$)");
    std::smatch m;
    const std::string text = error.what();
    if (std::regex_match(text, m, missingValue)) return "option " + m[1].str() + " needs a value";
    return text;
}

// What no option and no argument took, at any level from `command` up
// (unknown options fall through to the levels above), said as an error;
// empty when all was taken. "--" only ends the options.
std::string leftOver(const CLI::App* command) {
    for (const CLI::App* level = command; level; level = level->get_parent()) {
        for (const std::string& extra : level->remaining()) {
            if (extra == "--") continue;
            if (extra.starts_with("-") && extra.size() > 1) return "unknown option '" + extra + "'";
            if (!command->get_subcommands([](const CLI::App*) { return true; }).empty())
                return "unknown command '" + extra + "'";
            return "unexpected argument '" + extra + "'";
        }
    }
    return {};
}

int fail(const std::string& where, const std::string& message) {
    std::cerr << "zantor-cli" << (where.empty() ? "" : " " + where) << ": " << message << "\n";
    // compare keeps 1 for "the files differ", as diff and cmp do.
    return where == "compare" ? 2 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("The command-line face of the workstation: machines, settings, files, tape "
                 "codes and the DNC station's send and receive.",
                 "zantor-cli");
    std::string home, system;
    app.add_option("--home", home,
                   "Program folder (ZTR2013.INI, ZTRDNC.LOG); default $ZANTOR_HOME or "
                   "~/.config/zantor");
    app.add_option("--system", system,
                   "Folder of WPOSTS.INI and VXNPWL.INI; default $ZANTOR_SYSTEM_DIR or the "
                   "program folder");
    app.allow_extras();
    app.set_version_flag("--version", std::string("zantor-cli ") + ZANTOR_VERSION,
                         "Print the version and exit");
    app.footer("'zantor-cli COMMAND --help' describes one command.");

    zantor::cli::CommandSet commands;
    zantor::cli::addMachineCommands(app, commands);
    zantor::cli::addAppCommands(app, commands);
    zantor::cli::addUserCommands(app, commands);
    zantor::cli::addTermCommand(app, commands);
    zantor::cli::addViewCommand(app, commands);
    zantor::cli::addTapeCommands(app, commands);
    zantor::cli::addTransferCommands(app, commands);
    zantor::cli::addRemoteCommand(app, commands);
    zantor::cli::addSimulateCommand(app, commands);
    zantor::cli::addEvalCommand(app, commands);
    zantor::cli::addNumberCommands(app, commands);
    zantor::cli::addCleanupCommands(app, commands);
    zantor::cli::addResequenceCommand(app, commands);
    zantor::cli::addLineEndsCommand(app, commands);
    zantor::cli::addArithmeticCommands(app, commands);
    zantor::cli::addReformatCommand(app, commands);
    zantor::cli::addProgramUtilityCommands(app, commands);
    zantor::cli::addBMacroCommand(app, commands);
    zantor::cli::addCalculatorCommands(app, commands);
    zantor::cli::addCompareCommand(app, commands);

    if (argc < 2) {
        std::cerr << app.help();
        return 1;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::cout << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::CallForVersion& version) {
        std::cout << version.what() << "\n";
        return 0;
    } catch (const CLI::ParseError& error) {
        const CLI::App* command = commands.chosen(app);
        const std::string extra = leftOver(command);
        return fail(pathOf(command), extra.empty() ? describe(error) : extra);
    }

    const CLI::App* command = commands.chosen(app);
    if (!command) {
        const auto extra = app.remaining();
        if (extra.empty()) return fail("", "no command given (see zantor-cli --help)");
        return fail("", (extra.front().starts_with("-") ? "unknown option '"
                                                         : "unknown command '") +
                            extra.front() + "' (see zantor-cli --help)");
    }
    const std::string where = pathOf(command);
    if (const std::string extra = leftOver(command); !extra.empty()) return fail(where, extra);
    const zantor::cli::CommandRun* run = commands.runOf(command);
    if (!run) return fail(where, "needs one of its commands (see zantor-cli " + where + " --help)");

    zantor::cli::CliContext context{
        home.empty() ? zantor::defaultProgramFolder() : zantor::withTrailingSeparator(home), "",
        std::cout, std::cerr};
    context.systemFolder = system.empty() ? zantor::defaultSystemFolder(context.programFolder)
                                          : zantor::withTrailingSeparator(system);
    try {
        return (*run)(context);
    } catch (const zantor::cli::CliError& error) {
        return fail(where, error.message);
    } catch (const zantor::FileError& error) {
        return fail(where, error.path() + ": " + error.what());
    } catch (const std::exception& error) {
        return fail(where, error.what());
    }
}
