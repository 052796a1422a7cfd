#include "users/security.h"

#include "core/file_io.h"
#include "core/interaction.h"
#include "core/text_util.h"

namespace zantor {

bool Security::HasPrivilege(int index, bool report) {
    if (!useSecure_) return true;
    const bool granted = index >= 0 && index < 32 && ((unsigned(CurrentRights) >> index) & 1u);
    if (!granted && report) {
        interaction_.showMessage("Insufficient Priviliges for this Function");
        if (index >= 0 && size_t(index) < kPrivileges.size())
            log_.WriteLog(std::string(kPrivileges[size_t(index)].refusedLogText));
    }
    return granted;
}

namespace {

// Letters compared without regard to case, the accented ones of Latin-1 too.
std::string upperLatin1(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) ch = char(c - 0x20);
    }
    return out;
}

bool passwordMatches(const UserRec& user, const std::string& typed) {
    const std::string stored = ScramblePassword(user.Pword);
    if (stored.empty()) return true;
    const auto typedLatin1 = utf8ToLatin1(typed);
    return typedLatin1 && upperLatin1(stored) == upperLatin1(*typedLatin1);
}

}  // namespace

bool Security::Login(const UserDatabase& users, const CredentialsPrompt& prompt) {
    try {
        return loginWith(users, prompt);
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the user file " + users.path() + ":\n" + error.what() +
                               "\nNobody can log in until it can be read.");
        return false;
    }
}

bool Security::loginWith(const UserDatabase& users, const CredentialsPrompt& prompt) {
    if (users.ListUsers().empty()) {
        if (users.holdsUnlistedUsers()) {
            interaction_.showError(
                "The user file " + users.path() +
                " holds user records but lists no users; it may be damaged.\n"
                "Nobody can log in until it is repaired (restore it from a backup, or list the "
                "users in its [Index] section).");
            return false;
        }
        CurrentRights = kAllPrivileges;
        return true;
    }
    for (;;) {
        const std::optional<Credentials> typed = prompt();
        if (!typed) return false;
        CurrentUser = typed->name;
        if (!users.contains(typed->name)) {
            interaction_.showMessage("Invalid User Name");
            log_.WriteLog("Login Failed, Invalid User Name [" + typed->name + "]");
            continue;
        }
        const std::optional<UserRec> user = users.GetUser(typed->name, interaction_);
        if (!user) continue;
        if (!passwordMatches(*user, typed->password)) {
            interaction_.showMessage("Invalid Password");
            // The typed password never goes into the log: it may be a real one mistyped.
            log_.WriteLog("Login Failed, Invalid Password [" + typed->name + "]");
            continue;
        }
        log_.WriteLog(">>> Login: User Name [" + typed->name + "] <<<");
        CurrentRights = user->Level;
        return true;
    }
}

void Security::Logoff() {
    log_.WriteLog("Log Off: User Name [" + CurrentUser + "]");
    CurrentRights = 0;
    CurrentUser.clear();
}

}  // namespace zantor
