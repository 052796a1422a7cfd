#include "nctools/ui/arithmetic_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bmacro/evaluate_field.h"
#include "core/interaction.h"
#include "core/real_text.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

namespace {

QRadioButton* choice(const char* caption, const char* name) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(name);
    return button;
}

}  // namespace

TArithDlg::TArithDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      Regs(new QLineEdit("XYZIJKR", this)),
      RBadd(choice("Add", "RBadd")),
      RBsub(choice("Subtract", "RBsub")),
      RBmul(choice("Multiply", "RBmul")),
      RBdiv(choice("Divide", "RBdiv")),
      Amount(new QLineEdit("1.0", this)),
      interaction_(interaction) {
    setObjectName("TArithDlg");
    setWindowTitle("Arithmetic");
    Regs->setObjectName("Regs");
    Amount->setObjectName("Amount");
    RBadd->setChecked(true);
    auto* operation = new QGroupBox("Operation", this);
    operation->setObjectName("RadioGroup1");
    auto* choices = new QVBoxLayout(operation);
    for (QRadioButton* button : {RBadd, RBsub, RBmul, RBdiv}) choices->addWidget(button);
    auto* fields = new QFormLayout;
    fields->addRow("Registers To Adjust ", Regs);
    fields->addRow(operation);
    fields->addRow("Amount ", Amount);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
    connect(Amount, &QLineEdit::editingFinished, this, [this] {
        if (Amount->isModified()) evaluateAmount();
    });
}

void TArithDlg::setDefaults(const UtilityDefaults& machine) {
    Regs->setText(latin1Text(machine.ArithmeticRegisters));
    QRadioButton* const operations[] = {RBadd, RBsub, RBmul, RBdiv};
    if (machine.ArithmeticOperation >= 1 && machine.ArithmeticOperation <= 4)
        operations[machine.ArithmeticOperation - 1]->setChecked(true);
    Amount->setText(latin1Text(machine.ArithmeticAmount));
}

void TArithDlg::storeDefaults(UtilityDefaults& machine) const {
    machine.ArithmeticRegisters = latin1Of(Regs);
    machine.ArithmeticOperation = int(operation());
    machine.ArithmeticAmount = latin1Of(Amount);
}

ArithmeticOperation TArithDlg::operation() const {
    if (RBsub->isChecked()) return ArithmeticOperation::Subtract;
    if (RBmul->isChecked()) return ArithmeticOperation::Multiply;
    if (RBdiv->isChecked()) return ArithmeticOperation::Divide;
    return ArithmeticOperation::Add;
}

bool TArithDlg::evaluateAmount() {
    std::string text = latin1Of(Amount);
    const FieldValue value = EvaluateField(text, interaction_);
    Amount->setModified(false);
    if (value.ok) Amount->setText(latin1Text(text));
    failedAmount_ = value.ok ? std::nullopt : std::optional<std::string>(text);
    return value.ok;
}

void TArithDlg::showEvent(QShowEvent* event) {
    // An amount refused while the dialog was last open and still standing
    // there is told again at OK, not refused without a word.
    failedAmount_.reset();
    QDialog::showEvent(event);
}

void TArithDlg::accept() {
    // A failed expression would run with an amount of 0: multiplying by it
    // would wipe every coordinate.
    // Leaving the field for OK (or Return in it) has just shown the error of
    // the same text: no second box.
    const bool toldAlready = !Amount->isModified() && failedAmount_ == latin1Of(Amount);
    if (toldAlready || !evaluateAmount()) {
        Amount->setFocus();
        return;
    }
    const double amount = ParseRealOrWarn(latin1Of(Amount), interaction_);
    if (divisionRefused(operation(), amount)) {
        interaction_.showError(kCannotDivideByZero);
        return;
    }
    settings_ = {latin1Of(Regs), operation(), amount};
    QDialog::accept();
}

}  // namespace zantor
