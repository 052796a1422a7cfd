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

}  // namespace zantor
