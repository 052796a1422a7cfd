#include "users/password_manager_model.h"

#include "core/interaction.h"
#include "core/text_util.h"

namespace zantor {

void PasswordManagerModel::open(bool loggingEnabled) {
    logging = loggingEnabled;
    list_ = users_.ListUsers();
    select(list_.empty() ? -1 : 0);
}

void PasswordManagerModel::select(int index) {
    selected_ = (index >= 0 && size_t(index) < list_.size()) ? index : -1;
    showSelected();
}

void PasswordManagerModel::showSelected() {
    if (selected_ < 0) {
        boxes = Boxes{};
        boxes.privileges.fill(true);  // what a new user starts with
        return;
    }
    const auto user = users_.GetUser(list_[size_t(selected_)], interaction_);
    if (!user) return;
    boxes.name = user->Name;
    boxes.password = ScramblePassword(user->Pword);
    for (size_t bit = 0; bit < boxes.privileges.size(); ++bit)
        boxes.privileges[bit] = (unsigned(user->Level) >> bit) & 1u;
}

bool PasswordManagerModel::recordFromBoxes(UserRec& user) {
    user.Name = trimRightControl(boxes.name);
    if (user.Name.empty()) {
        interaction_.showError("You must enter a name");
        return false;
    }
    if (user.Name.size() > kUserFieldLimit) user.Name.resize(kUserFieldLimit);
    user.Pword = ScramblePassword(trimRightControl(boxes.password));
    if (user.Pword.size() > kUserFieldLimit) user.Pword.resize(kUserFieldLimit);
    user.Level = 0;
    for (size_t bit = 0; bit < boxes.privileges.size(); ++bit)
        if (boxes.privileges[bit]) user.Level |= 1 << bit;
    return true;
}

PasswordManagerModel::Outcome PasswordManagerModel::insert() {
    UserRec user;
    if (!recordFromBoxes(user)) return Outcome::NameMissing;
    if (!users_.AddUser(user, interaction_)) return Outcome::Refused;
    list_.push_back(user.Name);
    select(int(list_.size()) - 1);
    return Outcome::Done;
}

PasswordManagerModel::Outcome PasswordManagerModel::modify() {
    if (selected_ < 0) {
        interaction_.beep();
        return Outcome::Refused;
    }
    UserRec user;
    if (!recordFromBoxes(user)) return Outcome::NameMissing;
    if (!users_.UpdateUser(list_[size_t(selected_)], user, interaction_)) return Outcome::Refused;
    list_[size_t(selected_)] = user.Name;
    return Outcome::Done;
}

PasswordManagerModel::Outcome PasswordManagerModel::remove() {
    if (selected_ < 0) {
        interaction_.beep();
        return Outcome::Refused;
    }
    const std::string name = list_[size_t(selected_)];
    if (!interaction_.confirm("Are you sure you want to delete \"" + name + "\"?"))
        return Outcome::Refused;
    users_.DeleteUser(name);
    list_.erase(list_.begin() + selected_);
    select(std::min(selected_, int(list_.size()) - 1));
    return Outcome::Done;
}

}  // namespace zantor
