#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zantor {

// One user of the user file; Pword holds the scrambled password.
struct UserRec {
    std::string Name;
    std::string Pword;
    int Level = 0;

    bool operator==(const UserRec&) const = default;
};

inline constexpr size_t kUserFieldLimit = 21;  // stored name and password
inline constexpr size_t kUserEntryLimit = 20;  // what the password manager lets one type
inline constexpr int kMaxUsers = 999;
inline constexpr int kAllPrivileges = 65535;

enum Privilege {
    kPrivSystemSettings = 0,
    kPrivOverwriteFiles = 1,
    kPrivChangeFolders = 2,
    kPrivChangePasswords = 3,
    kPrivEditFiles = 4,
    kPrivDnc = 5,
    kPrivJobDatabaseReadOnly = 6,
    kPrivJobDatabaseFull = 7,
};

struct PrivilegeInfo {
    std::string_view checkBoxCaption;
    std::string_view refusedLogText;
    bool visible;
};

inline constexpr std::array<PrivilegeInfo, 8> kPrivileges = {{
    {"Change System Settings", "Failed Attempt to Change System Settings", true},
    {"Overwrite Files", "Failed Attempt to Overwrite File", true},
    {"Change Folders", "Failed Attempt to Change Folders", true},
    {"Change Passwords", "Failed Attempt to Change Passwords", true},
    {"Edit Files", "Failed Attempt to Edit Files", true},
    {"DNC Transfers", "Failed Attempt to Run DNC", true},
    {"Job Database (Read Only)", "Failed Attempt to Start Job Database (RO)", false},
    {"Job Database (Full Access)", "Failed Attempt to Start Job Database", false},
}};

// Exclusive-or with 0xA5: the same call scrambles and restores.
std::string ScramblePassword(std::string_view text);

// Why the user file could not hold a name or password as typed (UTF-8), or
// empty when it can. The file holds Latin-1: a name is an INI key and a
// section name, so "=" and a leading "[" or ";" would break it; a password is
// stored scrambled, and four characters scramble into bytes that a line of
// the file cannot keep (NUL, line feed, carriage return, and a tab that is
// trimmed at the end of a value).
std::string userNameProblem(std::string_view name);
std::string passwordProblem(std::string_view password);

}  // namespace zantor
