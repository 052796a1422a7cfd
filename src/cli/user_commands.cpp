#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <array>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/command_set.h"
#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "core/text_util.h"
#include "session/settings_file.h"
#include "users/activity_log.h"
#include "users/password_manager_model.h"
#include "users/user_database.h"

namespace zantor::cli {

namespace {

constexpr int kNewUserLevel = 255;  // all eight boxes, as the password manager starts a new user

// Short names of the privileges, in bit order, for --privileges.
constexpr std::array<const char*, 8> kPrivilegeWords = {
    "settings", "overwrite", "folders", "passwords", "edit", "dnc", "jobs-read", "jobs"};

int parsePrivileges(const std::string& list) {
    int level = 0;
    size_t at = 0;
    while (at <= list.size()) {
        const size_t comma = std::min(list.find(',', at), list.size());
        const std::string word = toLowerAscii(trimBlanks(std::string_view(list).substr(at, comma - at)));
        at = comma + 1;
        if (word.empty() || word == "none") continue;
        if (word == "all") {
            level |= kNewUserLevel;
            continue;
        }
        bool known = false;
        for (size_t bit = 0; bit < kPrivilegeWords.size(); ++bit) {
            if (word == kPrivilegeWords[bit] || word == std::to_string(bit)) {
                level |= 1 << bit;
                known = true;
            }
        }
        if (!known)
            throw CliError{"--privileges takes a comma-separated list of settings, overwrite, "
                           "folders, passwords, edit, dnc, jobs-read, jobs (or 0 to 7, all, none)"};
    }
    return level;
}

// Echo off while a password is typed at a terminal; restored however the read ends.
class EchoOff {
public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        active_ = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

std::string readLine(const std::string& prompt, std::ostream& err) {
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    std::string line;
    bool gotLine = false;
    {
        std::optional<EchoOff> echoOff;
        if (terminal) {
            err << prompt << std::flush;
            echoOff.emplace();
        }
        gotLine = bool(std::getline(std::cin, line));
    }
    if (terminal) err << "\n";
    // An empty line is an empty password; no line at all is a mistake, not a wish.
    if (!gotLine) throw CliError{"no password was given on standard input"};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The password from standard input; at a terminal it is asked twice.
std::string readPassword(const std::string& name, std::ostream& err) {
    const std::string password = readLine("Password for " + name + ": ", err);
    if (::isatty(STDIN_FILENO) && readLine("Type it again: ", err) != password)
        throw CliError{"the two passwords differ; nothing was changed"};
    return password;
}

struct UserCommand {
    UserCommand(const CliContext& context, const std::string& action)
        : users(context.systemFolder + kUserFileName),
          interaction(context.err, "zantor-cli user " + action + ": "),
          log(context.programFolder + kActivityLogFileName),
          context_(context) {}

    // The change is logged as the password manager logs being opened.
    void logChange() {
        log.LoggingEnabled =
            readLoggingSetting(*IniStore::read(context_.programFolder + kSettingsFileName));
        log.WriteLog("Modify Passwords");
    }
    void requireListed(const std::string& name) const {
        if (!users.contains(name)) throw CliError{"no user named '" + name + "'"};
    }

    UserDatabase users;
    ConsoleInteraction interaction;
    ActivityLog log;

private:
    const CliContext& context_;
};

struct UserOptions {
    std::string name;
    std::optional<int> level;
    std::optional<std::string> privileges;
};

int addUser(CliContext& context, const UserOptions& options) {
    UserCommand command(context, "add");
    const int level = options.privileges ? parsePrivileges(*options.privileges)
                                         : options.level.value_or(kNewUserLevel);
    PasswordManagerModel::Outcome refusal{};
    // The name is checked before a password is asked for.
    const auto named = userRecordFromEntries(options.name, "", 0, command.interaction, refusal);
    if (!named) return 1;
    command.users.ensureExists();
    if (command.users.contains(named->Name)) {
        command.interaction.showError("A record with that name already exists");
        return 1;
    }
    const auto user = userRecordFromEntries(options.name, readPassword(named->Name, context.err),
                                            level, command.interaction, refusal);
    if (!user || !command.users.AddUser(*user, command.interaction)) return 1;
    command.logChange();
    return 0;
}

int deleteUser(CliContext& context, const UserOptions& options) {
    UserCommand command(context, "delete");
    command.requireListed(options.name);
    command.users.DeleteUser(options.name);
    command.logChange();
    return 0;
}

int setPassword(CliContext& context, const UserOptions& options) {
    UserCommand command(context, "password");
    command.requireListed(options.name);
    const auto current = command.users.GetUser(options.name, command.interaction);
    if (!current) return 1;
    PasswordManagerModel::Outcome refusal{};
    const auto user = userRecordFromEntries(current->Name, readPassword(current->Name, context.err),
                                            current->Level, command.interaction, refusal);
    if (!user || !command.users.UpdateUser(current->Name, *user, command.interaction)) return 1;
    command.logChange();
    return 0;
}

}  // namespace

void addUserCommands(CLI::App& app, CommandSet& commands) {
    CLI::App* user = commands.add(
        app, "user",
        "user add NAME [--level N | --privileges LIST] | user delete NAME | user password NAME: "
        "manage the users of the user file with the password manager's rules. The password is "
        "read from standard input (asked twice, not shown, at a terminal); an empty line sets an "
        "empty password, which accepts any.");
    user->require_subcommand(1);
    auto options = std::make_shared<UserOptions>();
    const auto named = [&](CLI::App* command) {
        command->add_option("NAME", options->name, "The user's name")->required();
        return command;
    };
    CLI::App* add = named(commands.add(
        *user, "add", "Add a user, by default with every privilege.",
        [options](CliContext& context) { return addUser(context, *options); }));
    CLI::Option* level =
        add->add_option("--level", options->level, "The privilege bits, 0 to 255")
            ->check(CLI::Range(0, 255));
    add->add_option("--privileges", options->privileges,
                    "A comma-separated list of settings, overwrite, folders, passwords, edit, "
                    "dnc, jobs-read, jobs (or 0 to 7, all, none)")
        ->excludes(level);
    named(commands.add(*user, "delete", "Delete a user.",
                       [options](CliContext& context) { return deleteUser(context, *options); }));
    named(commands.add(*user, "password", "Set a user's password.",
                       [options](CliContext& context) { return setPassword(context, *options); }));
}

}  // namespace zantor::cli
