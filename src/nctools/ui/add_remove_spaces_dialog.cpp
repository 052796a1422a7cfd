#include "nctools/ui/add_remove_spaces_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zantor {

TAddremSpaces::TAddremSpaces(QWidget* parent)
    : QDialog(parent),
      remove_(new QRadioButton("&Remove Spaces Between Registers")),
      add_(new QRadioButton("&Add Spaces Between Registers")) {
    setObjectName("TAddremSpaces");
    setWindowTitle("Add / Remove Spaces");
    remove_->setObjectName("RBremove");
    add_->setObjectName("RBAdd");
    remove_->setChecked(true);
    auto* group = new QGroupBox("Add / Remove Spaces", this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(remove_);
    groupLayout->addWidget(add_);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kHelpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

SpacesChange TAddremSpaces::change() const {
    return add_->isChecked() ? SpacesChange::Add : SpacesChange::Remove;
}

}  // namespace zantor
