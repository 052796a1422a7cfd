#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "users/user_database.h"

namespace zantor {

class Interaction;

// What the password manager shows and does, apart from its widgets: the user
// list with its selection, the boxes of the shown user, and the buttons.
class PasswordManagerModel {
public:
    struct Boxes {
        std::string name;
        std::string password;  // plain text
        std::array<bool, 8> privileges{};
    };
    // NameRefused and PasswordRefused: the user was told why; the dialog puts
    // the focus on that box.
    enum class Outcome { Done, Refused, NameRefused, PasswordRefused };

    PasswordManagerModel(const UserDatabase& users, Interaction& interaction)
        : users_(users), interaction_(interaction) {}

    // Reads the list again and shows its first user; false (after telling
    // the user) when the user file cannot be read.
    bool open(bool loggingEnabled);
    void select(int index);

    Outcome insert();
    Outcome modify();
    Outcome remove();

    const std::vector<std::string>& list() const { return list_; }
    int selected() const { return selected_; }
    Boxes boxes;
    bool logging = false;

private:
    void showSelected();
    std::optional<UserRec> recordFromBoxes(Outcome& refusal);

    const UserDatabase& users_;
    Interaction& interaction_;
    std::vector<std::string> list_;
    int selected_ = -1;
};

// The record that a typed name and password (UTF-8) make: trimmed, checked
// that the user file can hold them (the user is told why not, and `refusal`
// says which entry was refused), cut to the field limits and scrambled.
std::optional<UserRec> userRecordFromEntries(const std::string& name, const std::string& password,
                                             int level, Interaction& interaction,
                                             PasswordManagerModel::Outcome& refusal);

}  // namespace zantor
