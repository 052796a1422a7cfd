#pragma once

#include <QDialog>
#include <map>

#include "dnc/port/transfer_progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zantor {

// "Protocol Status": the non-modal progress window of a file transfer,
// centred on the screen while the transfer runs. Its "Cancel" cancels the
// transfer.
class ProtocolStatus : public QDialog, public ProtocolStatusDisplay {
    Q_OBJECT
public:
    explicit ProtocolStatus(QWidget* parent = nullptr);

    void transferStarted(FileTransfer& transfer, const TransferProgress& progress) override;
    void updateProgress(const TransferProgress& progress) override;
    void transferEnded(const TransferProgress& progress, int code) override;

    // The value shown beside a label ("Bytes transferred:").
    QString valueOf(const QString& label) const;
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void centreOnScreen();

    std::map<QString, QLabel*> values_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    FileTransfer* transfer_ = nullptr;
};

}  // namespace zantor
