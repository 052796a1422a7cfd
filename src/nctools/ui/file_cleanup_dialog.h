#pragma once

#include <QDialog>
#include <array>

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
    QCheckBox* box(CleanupOperation operation) const { return boxes_[size_t(operation)]; }

signals:
    void helpRequested(int context);

private:
    std::array<QCheckBox*, kCleanupOperations> boxes_{};
};

}  // namespace zantor
