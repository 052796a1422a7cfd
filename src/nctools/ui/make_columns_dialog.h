#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "machines/machine_settings.h"
#include "nctools/make_columns.h"

class QLineEdit;

namespace zantor {

class Interaction;

// "Make Columns": the register order and the column width. Every machine
// load fills them (MCREGORDER, MCTABW); otherwise they keep what was typed.
// OK stays in the dialog, with the error box, while the width is no whole
// number: no run and no machine default could use it.
class TMakeColsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 110;

    explicit TMakeColsDlg(Interaction& interaction, QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    // The fields as the machine's defaults (the setup dialog edits them here).
    void storeDefaults(UtilityDefaults& machine) const;
    // Empty when the width is a whole number; else the message to show.
    std::optional<std::string> readLayout(ColumnLayout& layout) const;
    // The layout OK accepted.
    ColumnLayout layout() const { return layout_; }

    QLineEdit* Regorder;
    QLineEdit* tabw;

public slots:
    void accept() override;

signals:
    void helpRequested(int context);

private:
    Interaction& interaction_;
    ColumnLayout layout_;
};

}  // namespace zantor
