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

void writeUser(IniFile& ini, const UserRec& user) {
    writeField(ini, user.Name, "Pword", user.Pword);
    writeField(ini, user.Name, "Level", std::to_string(user.Level));
}

bool listed(const IniFile& ini, const std::string& name) {
    return ini.find(kIndex, name).has_value();
}

void addTo(IniFile& ini, const UserRec& user) {
    ini.writeString(kIndex, user.Name, kListed);
    writeUser(ini, user);
    ini.writeInt(kDefaults, kEntries, ini.readInt(kDefaults, kEntries, 0) + 1);
}

void removeFrom(IniFile& ini, const std::string& name) {
    ini.deleteKey(kIndex, name);
    ini.eraseSection(name);
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
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lessIgnoreCase(a, b);
    });
    return names;
}

bool UserDatabase::contains(const std::string& name) const {
    return listed(*IniStore::read(path_), name);
}

std::optional<UserRec> UserDatabase::GetUser(const std::string& name,
                                             Interaction& interaction) const {
    const auto ini = IniStore::read(path_);
    if (!listed(*ini, name)) {
        interaction.showError("Record not found in database");
        return std::nullopt;
    }
    auto field = [&](const char* key) {
        std::string value = ini->readString(name, key, ini->readString(kDefaults, key, ""));
        return value == kListed ? std::string() : value;
    };
    return UserRec{name, field("Pword"), parseIntOr(field("Level"), 0)};
}

bool UserDatabase::AddUser(const UserRec& user, Interaction& interaction) const {
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
        IniStore::update(path_, [&](IniFile& file) {
            UserRec inPlace = user;
            inPlace.Name = oldName;  // the section keeps its name
            writeUser(file, inPlace);
        });
        return true;
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
