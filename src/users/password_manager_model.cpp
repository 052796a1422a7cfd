#include "users/password_manager_model.h"

#include "core/file_io.h"
#include "core/interaction.h"
#include "core/text_util.h"

namespace zantor {

bool PasswordManagerModel::open(bool loggingEnabled) {
    logging = loggingEnabled;
    try {
        list_ = users_.ListUsers();
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the user file " + users_.path() + ":\n" + error.what());
        return false;
    }
    select(list_.empty() ? -1 : 0);
    return true;
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
    std::optional<UserRec> user;
    try {
        user = users_.GetUser(list_[size_t(selected_)], interaction_);
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the user file " + users_.path() + ":\n" + error.what());
    }
    if (!user) return;
    boxes.name = user->Name;
    boxes.password = latin1ToUtf8(ScramblePassword(user->Pword));
    for (size_t bit = 0; bit < boxes.privileges.size(); ++bit)
        boxes.privileges[bit] = (unsigned(user->Level) >> bit) & 1u;
}

std::optional<UserRec> userRecordFromEntries(const std::string& name, const std::string& password,
                                             int level, Interaction& interaction,
                                             PasswordManagerModel::Outcome& refusal) {
    const std::string trimmedName = trimRightControl(name);
    refusal = PasswordManagerModel::Outcome::NameRefused;
    if (trimmedName.empty()) {
        interaction.showError("You must enter a name");
        return std::nullopt;
    }
    if (const std::string problem = userNameProblem(trimmedName); !problem.empty()) {
        interaction.showError(problem);
        return std::nullopt;
    }
    const std::string trimmedPassword = trimRightControl(password);
    if (const std::string problem = passwordProblem(trimmedPassword); !problem.empty()) {
        refusal = PasswordManagerModel::Outcome::PasswordRefused;
        interaction.showError(problem);
        return std::nullopt;
    }
    // Both limits count characters, which are single bytes in the file.
    auto cut = [](std::string latin1) {
        if (latin1.size() > kUserFieldLimit) latin1.resize(kUserFieldLimit);
        return latin1;
    };
    return UserRec{latin1ToUtf8(cut(*utf8ToLatin1(trimmedName))),
                   cut(ScramblePassword(*utf8ToLatin1(trimmedPassword))), level};
}

std::optional<UserRec> PasswordManagerModel::recordFromBoxes(Outcome& refusal) {
    int level = 0;
    for (size_t bit = 0; bit < boxes.privileges.size(); ++bit)
        if (boxes.privileges[bit]) level |= 1 << bit;
    return userRecordFromEntries(boxes.name, boxes.password, level, interaction_, refusal);
}

PasswordManagerModel::Outcome PasswordManagerModel::insert() {
    Outcome refusal{};
    const std::optional<UserRec> record = recordFromBoxes(refusal);
    if (!record) return refusal;
    const UserRec& user = *record;
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
    Outcome refusal{};
    const std::optional<UserRec> record = recordFromBoxes(refusal);
    if (!record) return refusal;
    const UserRec& user = *record;
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
