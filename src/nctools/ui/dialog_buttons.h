#pragma once

#include <QDialog>
#include <QDialogButtonBox>

namespace zantor {

// OK, Cancel and Help for a utility's dialog: OK goes to the dialog's
// accept(), Help asks for `helpContext` through `onHelp`.
template <typename OnHelp>
QDialogButtonBox* utilityDialogButtons(QDialog* dialog, OnHelp onHelp) {
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog, onHelp);
    return buttons;
}

}  // namespace zantor
