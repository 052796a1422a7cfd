#pragma once

#include <QDialog>
#include <array>

#include "users/password_manager_model.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zantor {

class ActivityLog;

// "Zantor Password Manager": edits the user file. Logging is switched when
// the window closes.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(const UserDatabase& users, const ActivityLog& log, Interaction& interaction,
                 QWidget* parent = nullptr);

    // Shows the manager modally; returns the state of the logging switch.
    bool run(bool loggingEnabled);

    QListWidget* userList() const { return list_; }
    QLineEdit* nameBox() const { return name_; }
    QLineEdit* passwordBox() const { return password_; }
    QCheckBox* privilegeBox(int index) const { return privileges_[size_t(index)]; }
    QCheckBox* loggingBox() const { return logging_; }

signals:
    void viewLogRequested(const QString& logFile);
    void helpRequested(int context);

private:
    void showModel();
    void takeBoxes();
    void act(PasswordManagerModel::Outcome (PasswordManagerModel::*command)());
    void viewLog();

    PasswordManagerModel model_;
    const ActivityLog& log_;
    Interaction& interaction_;
    QListWidget* list_;
    QLineEdit* name_;
    QLineEdit* password_;
    std::array<QCheckBox*, 8> privileges_{};
    QCheckBox* logging_;
    bool updating_ = false;
};

}  // namespace zantor
