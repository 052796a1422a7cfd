#pragma once

#include <QDialog>
#include <array>

#include "machines/machine_settings.h"
#include "nctools/file_cleanup.h"

class QCheckBox;

namespace zantor {

// "File Cleanup": which of the six operations run. Every machine load sets
// the boxes from the machine (FCOPT1..FCOPT6); otherwise they keep what the
// user ticked, and the DNC's cleanup before a send uses them as they stand.
class TFcleanDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 122;

    explicit TFcleanDlg(QWidget* parent = nullptr);
    CleanupChoice choice() const;
    void setChoice(const CleanupChoice& choice);
    // The boxes as the machine's defaults (FCOPT1..FCOPT6).
    void setDefaults(const UtilityDefaults& machine) { setChoice(machine.CleanupOptions); }
    void storeDefaults(UtilityDefaults& machine) const { machine.CleanupOptions = choice(); }
    QCheckBox* box(CleanupOperation operation) const { return boxes_[size_t(operation)]; }

signals:
    void helpRequested(int context);

private:
    std::array<QCheckBox*, kCleanupOperations> boxes_{};
};

}  // namespace zantor
