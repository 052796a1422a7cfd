#pragma once

#include <array>
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
    enum class Outcome { Done, Refused, NameMissing };

    PasswordManagerModel(const UserDatabase& users, Interaction& interaction)
        : users_(users), interaction_(interaction) {}

    // Reads the list again and shows its first user.
    void open(bool loggingEnabled);
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
    // Builds the record from the boxes; false (after telling the user) when no name.
    bool recordFromBoxes(UserRec& user);

    const UserDatabase& users_;
    Interaction& interaction_;
    std::vector<std::string> list_;
    int selected_ = -1;
};

}  // namespace zantor
