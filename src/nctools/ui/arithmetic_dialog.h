#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "machines/machine_settings.h"
#include "nctools/register_arithmetic.h"

class QLineEdit;
class QRadioButton;

namespace zantor {

class Interaction;

// "Arithmetic": the registers, the operation and the amount. The amount is
// an expression field: leaving it (or OK) writes its value back with five
// decimals. OK stays in the dialog while the amount is no expression, and
// for a division by an amount too near zero ("Cannot Divide by Zero").
// Every machine load fills the fields (ARREGSTR, AROPPR, ARAMOUNT).
class TArithDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 105;

    explicit TArithDlg(Interaction& interaction, QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    void storeDefaults(UtilityDefaults& machine) const;
    // The settings OK accepted.
    ArithmeticSettings settings() const { return settings_; }

    QLineEdit* Regs;
    QRadioButton* RBadd;
    QRadioButton* RBsub;
    QRadioButton* RBmul;
    QRadioButton* RBdiv;
    QLineEdit* Amount;

public slots:
    void accept() override;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    ArithmeticOperation operation() const;
    bool evaluateAmount();

    Interaction& interaction_;
    ArithmeticSettings settings_;
    std::optional<std::string> failedAmount_;  // the amount text whose error was shown last
};

}  // namespace zantor
