#include "users/security.h"

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

bool Security::Login(const UserDatabase& users, const CredentialsPrompt& prompt) {
    if (users.ListUsers().empty()) {
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
        const std::string stored = ScramblePassword(user->Pword);
        if (!stored.empty() && toUpperAscii(stored) != toUpperAscii(typed->password)) {
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
