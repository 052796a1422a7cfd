#include "users/user_database.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "core/text_util.h"

namespace zantor {

namespace {

constexpr const char* kIndex = "Index";
constexpr const char* kDefaults = "Defaults";
constexpr const char* kEntries = "_Entries";
constexpr const char* kListed = "#";

// An empty field is not stored; "#" stands for an empty value.
void writeField(IniFile& ini, const std::string& section, const char* key,
                const std::string& value) {
    if (!value.empty()) {
        ini.writeString(section, key, value);
        return;
    }
    if (ini.find(section, key).value_or("") != kListed) ini.deleteKey(section, key);
}

void writeUser(IniFile& ini, const std::string& section, const UserRec& user) {
    writeField(ini, section, "Pword", user.Pword);
    writeField(ini, section, "Level", std::to_string(user.Level));
}

// Names are UTF-8 in the program and Latin-1 in the file; a name with
// characters beyond Latin-1 cannot be in the file.
std::optional<std::string> fileName(const std::string& name) {
    return utf8ToLatin1(name);
}

bool listed(const IniFile& ini, const std::string& name) {
    const auto inFile = fileName(name);
    return inFile && ini.find(kIndex, *inFile).has_value();
}

void addTo(IniFile& ini, const UserRec& user) {
    const std::string section = *fileName(user.Name);
    ini.writeString(kIndex, section, kListed);
    writeUser(ini, section, user);
    ini.writeInt(kDefaults, kEntries, ini.readInt(kDefaults, kEntries, 0) + 1);
}

void removeFrom(IniFile& ini, const std::string& name) {
    const std::string section = *fileName(name);
    ini.deleteKey(kIndex, section);
    ini.eraseSection(section);
    ini.writeInt(kDefaults, kEntries, std::max(0, ini.readInt(kDefaults, kEntries, 0) - 1));
}

}  // namespace

void UserDatabase::ensureExists() const {
    if (fileExists(path_)) return;
    IniStore::update(path_, [](IniFile& ini) {
        ini.ensureSection(kIndex);
        ini.writeInt(kDefaults, kEntries, 0);
    });
}

std::vector<std::string> UserDatabase::ListUsers() const {
    std::vector<std::string> names = IniStore::read(path_)->keys(kIndex);
    for (std::string& name : names) name = latin1ToUtf8(name);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lessIgnoreCase(a, b);
    });
    return names;
}

bool UserDatabase::contains(const std::string& name) const {
    return listed(*IniStore::read(path_), name);
}

bool UserDatabase::holdsUnlistedUsers() const {
    const auto ini = IniStore::read(path_);
    if (!ini->keys(kIndex).empty()) return false;
    for (const std::string& section : ini->sectionNames())
        if (!equalsIgnoreCase(section, kIndex) && !equalsIgnoreCase(section, kDefaults)) return true;
    return false;
}

std::optional<UserRec> UserDatabase::GetUser(const std::string& name,
                                             Interaction& interaction) const {
    const auto ini = IniStore::read(path_);
    if (!listed(*ini, name)) {
        interaction.showError("Record not found in database");
        return std::nullopt;
    }
    const std::string section = *fileName(name);
    auto field = [&](const char* key) {
        std::string value = ini->readString(section, key, ini->readString(kDefaults, key, ""));
        return value == kListed ? std::string() : value;
    };
    return UserRec{name, field("Pword"), parseIntOr(field("Level"), 0)};
}

bool UserDatabase::AddUser(const UserRec& user, Interaction& interaction) const {
    if (const std::string problem = userNameProblem(user.Name); !problem.empty()) {
        interaction.showError(problem);
        return false;
    }
    const auto ini = IniStore::read(path_);
    if (listed(*ini, user.Name)) {
        interaction.showError("A record with that name already exists");
        return false;
    }
    if (int(ini->keys(kIndex).size()) >= kMaxUsers) {
        interaction.showError("Maximum database records (999) reached");
        return false;
    }
    IniStore::update(path_, [&](IniFile& file) { addTo(file, user); });
    return true;
}

bool UserDatabase::UpdateUser(const std::string& oldName, const UserRec& user,
                              Interaction& interaction) const {
    const auto ini = IniStore::read(path_);
    if (!listed(*ini, oldName)) {
        interaction.showError("Record not found in database");
        return false;
    }
    if (equalsIgnoreCase(oldName, user.Name)) {
        // The section keeps its name.
        IniStore::update(path_, [&](IniFile& file) { writeUser(file, *fileName(oldName), user); });
        return true;
    }
    if (const std::string problem = userNameProblem(user.Name); !problem.empty()) {
        interaction.showError(problem);
        return false;
    }
    if (listed(*ini, user.Name)) {
        interaction.showError("A record with that name already exists");
        return false;
    }
    // Delete and add in one write, so a failure cannot leave the user half renamed.
    IniStore::update(path_, [&](IniFile& file) {
        removeFrom(file, oldName);
        addTo(file, user);
    });
    return true;
}

void UserDatabase::DeleteUser(const std::string& name) const {
    IniStore::update(path_, [&](IniFile& file) {
        if (listed(file, name)) removeFrom(file, name);
    });
}

}  // namespace zantor
