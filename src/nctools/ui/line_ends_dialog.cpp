#include "nctools/ui/line_ends_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

namespace {

QLineEdit* field(QDialog* dialog, const char* name) {
    auto* edit = new QLineEdit(dialog);
    edit->setObjectName(name);
    return edit;
}

QGroupBox* fromToGroup(const char* title, QLineEdit* from, QLineEdit* to) {
    auto* group = new QGroupBox(title);
    auto* rows = new QFormLayout(group);
    rows->addRow("From:", from);
    rows->addRow("To:", to);
    return group;
}

}  // namespace

TChgBeginEndDlg::TChgBeginEndDlg(QWidget* parent)
    : QDialog(parent),
      Bfrom(field(this, "Bfrom")),
      Bto(field(this, "Bto")),
      Efrom(field(this, "Efrom")),
      Eto(field(this, "Eto")) {
    setObjectName("TChgBeginEndDlg");
    setWindowTitle("Change Line Begining/End");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fromToGroup("Change Line Begining :", Bfrom, Bto));
    layout->addWidget(fromToGroup("Change Line End:", Efrom, Eto));
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
}

void TChgBeginEndDlg::setDefaults(const UtilityDefaults& machine) {
    Bfrom->setText(latin1Text(machine.LineBeginFrom));
    Bto->setText(latin1Text(machine.LineBeginTo));
    Efrom->setText(latin1Text(machine.LineEndFrom));
    Eto->setText(latin1Text(machine.LineEndTo));
}

LineEnds TChgBeginEndDlg::ends() const {
    return {latin1Of(Bfrom), latin1Of(Bto), latin1Of(Efrom), latin1Of(Eto)};
}

}  // namespace zantor
