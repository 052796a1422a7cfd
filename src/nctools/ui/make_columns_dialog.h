#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "machines/machine_settings.h"
#include "nctools/make_columns.h"

class QLineEdit;

namespace zantor {

// "Make Columns": the register order and the column width. Every machine
// load fills them (MCREGORDER, MCTABW); otherwise they keep what was typed.
class TMakeColsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 110;

    explicit TMakeColsDlg(QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    // The fields as the machine's defaults (the setup dialog edits them here).
    void storeDefaults(UtilityDefaults& machine) const;
    // Empty when the width is a whole number; else the message to show.
    std::optional<std::string> readLayout(ColumnLayout& layout) const;

    QLineEdit* Regorder;
    QLineEdit* tabw;

signals:
    void helpRequested(int context);
};

}  // namespace zantor
