#include "users/ui/password_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/file_io.h"
#include "core/interaction.h"
#include "users/activity_log.h"

namespace zantor {

namespace {
constexpr int kPasswordManagerHelpContext = 10031;
}

TPasswordDlg::TPasswordDlg(const UserDatabase& users, const ActivityLog& log,
                           Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      model_(users, interaction),
      log_(log),
      interaction_(interaction),
      list_(new QListWidget(this)),
      name_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      logging_(new QCheckBox("Enable System Activity Log", this)) {
    setWindowTitle("Zantor Password Manager");
    name_->setMaxLength(int(kUserEntryLimit));
    password_->setMaxLength(int(kUserEntryLimit));
    password_->setEchoMode(QLineEdit::Password);

    auto* listBox = new QGroupBox("User List", this);
    (new QVBoxLayout(listBox))->addWidget(list_);

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel("User &Name", this);
    nameLabel->setBuddy(name_);
    auto* passwordLabel = new QLabel("&Password", this);
    passwordLabel->setBuddy(password_);
    fields->addRow(nameLabel, name_);
    fields->addRow(passwordLabel, password_);

    auto* privilegeGroup = new QGroupBox("User Privileges", this);
    auto* privilegeLayout = new QVBoxLayout(privilegeGroup);
    for (size_t i = 0; i < privileges_.size(); ++i) {
        privileges_[i] =
            new QCheckBox(QString::fromUtf8(kPrivileges[i].checkBoxCaption.data(),
                                            qsizetype(kPrivileges[i].checkBoxCaption.size())),
                          privilegeGroup);
        privileges_[i]->setVisible(kPrivileges[i].visible);
        privileges_[i]->setEnabled(kPrivileges[i].visible);
        privilegeLayout->addWidget(privileges_[i]);
    }

    auto* insert = new QPushButton("&Insert", this);
    auto* modify = new QPushButton("&Modify", this);
    auto* remove = new QPushButton("&Delete", this);
    auto* viewLog = new QPushButton("&View Log", this);
    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {insert, modify, remove}) commands->addWidget(b);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(privilegeGroup);
    right->addLayout(commands);
    auto* top = new QHBoxLayout;
    top->addWidget(listBox);
    top->addLayout(right);

    auto* logRow = new QHBoxLayout;
    logRow->addWidget(logging_);
    logRow->addStretch();
    logRow->addWidget(viewLog);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(logRow);
    layout->addWidget(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (updating_) return;
        model_.select(row);
        showModel();
    });
    connect(insert, &QPushButton::clicked, this, [this] { act(&PasswordManagerModel::insert); });
    connect(modify, &QPushButton::clicked, this, [this] { act(&PasswordManagerModel::modify); });
    connect(remove, &QPushButton::clicked, this, [this] { act(&PasswordManagerModel::remove); });
    connect(viewLog, &QPushButton::clicked, this, &TPasswordDlg::viewLog);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kPasswordManagerHelpContext); });
}

bool TPasswordDlg::run(bool loggingEnabled) {
    if (!model_.open(loggingEnabled)) return loggingEnabled;
    logging_->setChecked(model_.logging);
    showModel();
    exec();
    return logging_->isChecked();
}

void TPasswordDlg::showModel() {
    updating_ = true;
    list_->clear();
    for (const std::string& name : model_.list()) list_->addItem(QString::fromStdString(name));
    list_->setCurrentRow(model_.selected());
    updating_ = false;
    name_->setText(QString::fromStdString(model_.boxes.name));
    password_->setText(QString::fromStdString(model_.boxes.password));
    for (size_t i = 0; i < privileges_.size(); ++i)
        privileges_[i]->setChecked(model_.boxes.privileges[i]);
}

void TPasswordDlg::takeBoxes() {
    model_.boxes.name = name_->text().toStdString();
    model_.boxes.password = password_->text().toStdString();
    for (size_t i = 0; i < privileges_.size(); ++i)
        model_.boxes.privileges[i] = privileges_[i]->isChecked();
}

void TPasswordDlg::act(PasswordManagerModel::Outcome (PasswordManagerModel::*command)()) {
    takeBoxes();
    PasswordManagerModel::Outcome outcome = PasswordManagerModel::Outcome::Refused;
    try {
        outcome = (model_.*command)();
    } catch (const FileError& error) {
        interaction_.showError("Cannot write the user file:\n" + std::string(error.what()));
    }
    if (outcome == PasswordManagerModel::Outcome::NameRefused) {
        name_->setFocus();
        return;
    }
    if (outcome == PasswordManagerModel::Outcome::PasswordRefused) {
        password_->setFocus();
        return;
    }
    if (outcome == PasswordManagerModel::Outcome::Done) showModel();
}

void TPasswordDlg::viewLog() {
    if (!fileExists(log_.logFile())) {
        interaction_.showError("LOG File is Empty");
        return;
    }
    emit viewLogRequested(QFile::decodeName(log_.logFile().c_str()));
}

}  // namespace zantor
