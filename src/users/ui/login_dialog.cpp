#include "users/ui/login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantor {

TLoginDlg::TLoginDlg(QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)), password_(new QLineEdit(this)) {
    setWindowTitle("Login");
    name_->setObjectName("UserName");
    password_->setObjectName("Password");
    password_->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow("User Name  ", name_);
    form->addRow("Enter password:", password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::optional<Credentials> TLoginDlg::ask() {
    name_->clear();
    password_->clear();
    name_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Credentials{name_->text().toStdString(), password_->text().toStdString()};
}

}  // namespace zantor
