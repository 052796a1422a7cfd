#include "nctools/ui/make_columns_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "core/text_util.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

TMakeColsDlg::TMakeColsDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      Regorder(new QLineEdit("NGXYZRFSTHM", this)),
      tabw(new QLineEdit("0", this)),
      interaction_(interaction) {
    setObjectName("TMakeColsDlg");
    setWindowTitle("Make Columns");
    Regorder->setObjectName("Regorder");
    tabw->setObjectName("tabw");
    auto* layout = new QVBoxLayout(this);
    auto* rows = new QFormLayout;
    rows->addRow("Alpha Order of Registers ", Regorder);
    rows->addRow("Tab Width ", tabw);
    layout->addLayout(rows);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
}

void TMakeColsDlg::setDefaults(const UtilityDefaults& machine) {
    Regorder->setText(latin1Text(machine.ColumnRegisterOrder));
    tabw->setText(latin1Text(machine.ColumnWidth));
}

void TMakeColsDlg::storeDefaults(UtilityDefaults& machine) const {
    machine.ColumnRegisterOrder = latin1Of(Regorder);
    machine.ColumnWidth = latin1Of(tabw);
}

std::optional<std::string> TMakeColsDlg::readLayout(ColumnLayout& layout) const {
    const std::string width = latin1Of(tabw);
    const std::optional<int> value = parseInt(width);
    if (!value) return "'" + width + "' is not a valid integer value";
    layout = {latin1Of(Regorder), *value};
    return std::nullopt;
}

void TMakeColsDlg::accept() {
    if (const auto error = readLayout(layout_)) {
        interaction_.showError(*error);
        tabw->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace zantor
