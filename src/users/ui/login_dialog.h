#pragma once

#include <QDialog>
#include <optional>

#include "users/security.h"

class QLineEdit;

namespace zantor {

// "Login": user name and password, both empty each time it opens.
class TLoginDlg : public QDialog {
    Q_OBJECT
public:
    explicit TLoginDlg(QWidget* parent = nullptr);
    std::optional<Credentials> ask();

    QLineEdit* nameBox() const { return name_; }
    QLineEdit* passwordBox() const { return password_; }

private:
    QLineEdit* name_;
    QLineEdit* password_;
};

}  // namespace zantor
