#pragma once

#include <optional>
#include <string>
#include <vector>

#include "users/user_record.h"

namespace zantor {

class Interaction;

inline constexpr const char* kUserFileName = "VXNPWL.INI";

// The user file: section "Index" lists the users, "Defaults" counts them,
// and each user has a section of its own. Names match without regard to case.
// Names are UTF-8 here and Latin-1 in the file; a record's Pword is the
// scrambled Latin-1 password as stored.
// Failures are shown through `interaction`; a file that cannot be written
// raises FileError.
class UserDatabase {
public:
    explicit UserDatabase(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Creates the file with no users when it does not exist.
    void ensureExists() const;
    std::vector<std::string> ListUsers() const;
    bool contains(const std::string& name) const;
    // The "Index" section lists nobody while the file holds user sections:
    // a damaged file, which must not read as "no users, no security".
    bool holdsUnlistedUsers() const;
    std::optional<UserRec> GetUser(const std::string& name, Interaction& interaction) const;
    bool AddUser(const UserRec& user, Interaction& interaction) const;
    // Refuses a rename onto another user's name before anything is deleted.
    bool UpdateUser(const std::string& oldName, const UserRec& user,
                    Interaction& interaction) const;
    void DeleteUser(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace zantor
