#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "machines/machine_settings.h"
#include "nctools/reformat.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

namespace zantor {

class Interaction;

// "Reformat NC-Code": what to convert and the machine to convert to. Every
// machine load fills the check boxes (but the mixed one), the registers
// and the substitution list; OK refuses the current machine or none.
// Opened over a machine's defaults, it leaves the new machine open (none
// is a default too) and keeps the mixed box, which no machine stores, out
// of reach.
class TReformatDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 111;
    enum class Use { Run, EditDefaults };

    TReformatDlg(Interaction& interaction, QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    // The fields as the machine's defaults, the chosen new machine with them.
    void storeDefaults(UtilityDefaults& machine) const;
    // The machine list with the current machine's new machine chosen.
    void setMachines(const std::vector<std::string>& names, const std::string& currentMachine,
                     const std::string& newMachine, Use use = Use::Run);
    ReformatSettings settings() const;
    std::string newMachine() const;

    void accept() override;

    QLineEdit* Regs;
    QCheckBox* Cbrefreg;
    QCheckBox* Cbgcode;
    QCheckBox* Cbcmt;
    QCheckBox* Cbusesub;
    QCheckBox* CBMixok;
    QComboBox* Mnames;
    QTableWidget* SubGrid;

signals:
    void helpRequested(int context);

private:
    Interaction& interaction_;
    std::string currentMachine_;
    Use use_ = Use::Run;
};

}  // namespace zantor
