#pragma once

#include <functional>
#include <optional>
#include <string>

#include "users/activity_log.h"
#include "users/user_database.h"

namespace zantor {

class Interaction;

struct Credentials {
    std::string name;
    std::string password;
};
// Shows the login dialog with both boxes empty; nullopt when cancelled.
using CredentialsPrompt = std::function<std::optional<Credentials>()>;

// The login state and the privilege check.
class Security {
public:
    Security(const bool& useSecure, ActivityLog& log, Interaction& interaction)
        : useSecure_(useSecure), log_(log), interaction_(interaction) {}

    std::string CurrentUser;
    int CurrentRights = 0;

    const std::string& CurrentUserName() const { return CurrentUser; }

    // Granted always while password security is off; otherwise by the user's
    // privilege bits. A refusal with `report` tells the user and is logged.
    bool HasPrivilege(int index, bool report);
    // Asks until a listed user gives a matching password; false when
    // cancelled, and when the user file cannot be read or looks damaged (the
    // user has been told why): security never falls open.
    bool Login(const UserDatabase& users, const CredentialsPrompt& prompt);
    void Logoff();

private:
    bool loginWith(const UserDatabase& users, const CredentialsPrompt& prompt);

    const bool& useSecure_;
    ActivityLog& log_;
    Interaction& interaction_;
};

}  // namespace zantor
