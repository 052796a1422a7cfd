#include "cli/user_commands.h"

#include <termios.h>
#include <unistd.h>

#include <array>
#include <iostream>
#include <optional>

#include "cli/console_interaction.h"
#include "core/ini_store.h"
#include "core/text_util.h"
#include "session/run_state.h"
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

struct UserCommandSetup {
    UserDatabase users;
    ConsoleInteraction interaction;
    ActivityLog log;
};

// The change is logged as the password manager logs being opened.
void logChange(const CliContext& context, ActivityLog& log) {
    log.LoggingEnabled =
        readLoggingSetting(*IniStore::read(context.programFolder + kSettingsFileName));
    log.WriteLog("Modify Passwords");
}

int addUser(CliContext& context, UserCommandSetup& setup, const std::string& name,
            const std::vector<std::string>& options) {
    std::optional<int> level;
    for (size_t i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size()) throw CliError{"option " + options[i] + " needs a value"};
        if (level) throw CliError{"give --level or --privileges, once"};
        if (options[i] == "--level") {
            const auto number = parseInt(options[i + 1]);
            if (!number || *number < 0 || *number > 255)
                throw CliError{"--level takes the privilege bits, 0 to 255"};
            level = number;
        } else if (options[i] == "--privileges") {
            level = parsePrivileges(options[i + 1]);
        } else {
            throw CliError{"unknown option '" + options[i] + "'"};
        }
    }
    PasswordManagerModel::Outcome refusal{};
    // The name is checked before a password is asked for.
    const auto named = userRecordFromEntries(name, "", 0, setup.interaction, refusal);
    if (!named) return 1;
    setup.users.ensureExists();
    if (setup.users.contains(named->Name)) {
        setup.interaction.showError("A record with that name already exists");
        return 1;
    }
    const auto user = userRecordFromEntries(name, readPassword(named->Name, context.err),
                                            level.value_or(kNewUserLevel), setup.interaction,
                                            refusal);
    if (!user || !setup.users.AddUser(*user, setup.interaction)) return 1;
    logChange(context, setup.log);
    return 0;
}

}  // namespace

int runUser(CliContext& context) {
    const auto& args = context.args;
    if (args.size() < 2) throw CliError{"expected: user add|delete|password NAME"};
    const std::string& action = args[0];
    const std::string& name = args[1];
    const std::vector<std::string> options(args.begin() + 2, args.end());
    UserCommandSetup setup{UserDatabase(context.systemFolder + kUserFileName),
                           ConsoleInteraction(context.err, "zantor-cli user: "),
                           ActivityLog(context.programFolder + kActivityLogFileName)};
    if (action == "add") return addUser(context, setup, name, options);
    if (!options.empty()) throw CliError{"unknown option '" + options.front() + "'"};
    if (action == "delete") {
        if (!setup.users.contains(name)) throw CliError{"no user named '" + name + "'"};
        setup.users.DeleteUser(name);
        logChange(context, setup.log);
        return 0;
    }
    if (action == "password") {
        if (!setup.users.contains(name)) throw CliError{"no user named '" + name + "'"};
        const auto current = setup.users.GetUser(name, setup.interaction);
        if (!current) return 1;
        PasswordManagerModel::Outcome refusal{};
        const auto user = userRecordFromEntries(current->Name, readPassword(name, context.err),
                                                current->Level, setup.interaction, refusal);
        if (!user || !setup.users.UpdateUser(current->Name, *user, setup.interaction)) return 1;
        logChange(context, setup.log);
        return 0;
    }
    throw CliError{"unknown action '" + action + "' (add, delete or password)"};
}

}  // namespace zantor::cli
