#include "nctools/ui/reformat_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

namespace {

QCheckBox* checkBox(QWidget* parent, const char* text, const char* name) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(true);
    return box;
}

std::string cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text().left(int(kSubstitutionTextLimit)).toLatin1().toStdString()
                : std::string();
}

}  // namespace

TReformatDlg::TReformatDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      Regs(new QLineEdit("XYZIJKRF", this)),
      Cbrefreg(checkBox(this, "Reformat Registers", "Cbrefreg")),
      Cbgcode(checkBox(this, "Change -G- Codes", "Cbgcode")),
      Cbcmt(checkBox(this, "Change Comment Start/End", "Cbcmt")),
      Cbusesub(checkBox(this, "Use Substition List", "Cbusesub")),
      CBMixok(checkBox(this, "Allow Mixed Decimal/Trailing", "CBMixok")),
      Mnames(new QComboBox(this)),
      SubGrid(new QTableWidget(kSubstitutionEntries, 2, this)),
      interaction_(interaction) {
    setObjectName("TReformatDlg");
    setWindowTitle("Reformat NC-Code");
    Regs->setObjectName("Regs");
    Mnames->setObjectName("Mnames");
    SubGrid->setObjectName("SubGrid");
    SubGrid->setHorizontalHeaderLabels({"Old", "New"});
    QStringList numbers;
    for (int i = 1; i <= kSubstitutionEntries; ++i) numbers << QString::number(i);
    SubGrid->setVerticalHeaderLabels(numbers);
    SubGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(this);
    auto* rows = new QFormLayout;
    rows->addRow("Registers To Reformat", Regs);
    rows->addRow("New Machine ", Mnames);
    layout->addLayout(rows);
    for (QCheckBox* box : {Cbrefreg, Cbgcode, Cbcmt, Cbusesub, CBMixok}) layout->addWidget(box);
    auto* group = new QGroupBox("Substitution List", this);
    (new QVBoxLayout(group))->addWidget(SubGrid);
    layout->addWidget(group);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
    connect(Cbusesub, &QCheckBox::toggled, SubGrid, &QWidget::setEnabled);
}

void TReformatDlg::setDefaults(const UtilityDefaults& machine) {
    Regs->setText(latin1Text(machine.ReformatRegisterLetters));
    Cbrefreg->setChecked(machine.ReformatRegisters);
    Cbgcode->setChecked(machine.ReformatGCodes);
    Cbcmt->setChecked(machine.ReformatComments);
    Cbusesub->setChecked(machine.ReformatUseSubstitutions);
    SubGrid->setEnabled(machine.ReformatUseSubstitutions);
    for (int i = 0; i < kSubstitutionEntries; ++i) {
        SubGrid->setItem(i, 0, new QTableWidgetItem(latin1Text(machine.SubstituteOld[size_t(i)])));
        SubGrid->setItem(i, 1, new QTableWidgetItem(latin1Text(machine.SubstituteNew[size_t(i)])));
    }
}

void TReformatDlg::storeDefaults(UtilityDefaults& machine) const {
    machine.ReformatRegisterLetters = latin1Of(Regs);
    machine.ReformatRegisters = Cbrefreg->isChecked();
    machine.ReformatGCodes = Cbgcode->isChecked();
    machine.ReformatComments = Cbcmt->isChecked();
    machine.ReformatUseSubstitutions = Cbusesub->isChecked();
    machine.ReformatOtherMachine = newMachine();
    for (int i = 0; i < kSubstitutionEntries; ++i) {
        machine.SubstituteOld[size_t(i)] = cellText(SubGrid, i, 0);
        machine.SubstituteNew[size_t(i)] = cellText(SubGrid, i, 1);
    }
}

void TReformatDlg::setMachines(const std::vector<std::string>& names,
                               const std::string& currentMachine, const std::string& newMachine,
                               Use use) {
    currentMachine_ = currentMachine;
    use_ = use;
    CBMixok->setEnabled(use == Use::Run);
    Mnames->clear();
    if (use == Use::EditDefaults) Mnames->addItem(QString());  // none chosen
    for (const std::string& name : names) Mnames->addItem(latin1Text(name));
    Mnames->setCurrentIndex(Mnames->findText(latin1Text(newMachine), Qt::MatchFixedString));
}

ReformatSettings TReformatDlg::settings() const {
    ReformatSettings settings;
    settings.registerLetters = latin1Of(Regs);
    settings.registers = Cbrefreg->isChecked();
    settings.motionCodes = Cbgcode->isChecked();
    settings.comments = Cbcmt->isChecked();
    settings.useSubstitutions = Cbusesub->isChecked();
    settings.allowMixed = CBMixok->isChecked();
    for (int i = 0; i < kSubstitutionEntries; ++i)
        settings.substitutions.emplace_back(cellText(SubGrid, i, 0), cellText(SubGrid, i, 1));
    return settings;
}

std::string TReformatDlg::newMachine() const {
    return Mnames->currentIndex() < 0 ? std::string() : Mnames->currentText().toLatin1().toStdString();
}

void TReformatDlg::accept() {
    if (newMachine().empty() && use_ == Use::Run) {
        interaction_.showError("Choose the New Machine first");
        return;
    }
    if (newMachine() == currentMachine_) {
        interaction_.showError("Current Machine & New Machine Are the Same");
        return;
    }
    QDialog::accept();
}

}  // namespace zantor
