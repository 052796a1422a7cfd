#include "dnc/ui/protocol_status.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "dnc/port/file_transfer.h"

namespace zantor {

ProtocolStatus::ProtocolStatus(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Protocol Status");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& [label, value] : progressLines(TransferProgress{})) {
        const QString name = QString::fromStdString(label);
        grid->addWidget(new QLabel(name, this), row, 0);
        auto* shown = new QLabel(this);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        shown->setMinimumWidth(fontMetrics().horizontalAdvance(QString(32, '0')));
        grid->addWidget(shown, row++, 1);
        values_[name] = shown;
    }
    grid->addWidget(new QLabel("Progress:", this), row, 0);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    bar_->setTextVisible(false);
    grid->addWidget(bar_, row, 1);
    layout->addLayout(grid);
    cancel_ = new QPushButton("Cancel", this);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (transfer_) transfer_->cancel();
    });
}

void ProtocolStatus::transferStarted(FileTransfer& transfer, const TransferProgress& progress) {
    transfer_ = &transfer;
    updateProgress(progress);
    adjustSize();
    centreOnScreen();
    show();
    raise();
}

void ProtocolStatus::updateProgress(const TransferProgress& progress) {
    for (const auto& [label, value] : progressLines(progress))
        values_.at(QString::fromStdString(label))->setText(QString::fromStdString(value));
    bar_->setValue(int(progress.fraction() * 1000));
}

void ProtocolStatus::transferEnded(const TransferProgress& progress, int) {
    updateProgress(progress);
    transfer_ = nullptr;
    hide();
}

QString ProtocolStatus::valueOf(const QString& label) const {
    const auto it = values_.find(label);
    return it == values_.end() ? QString() : it->second->text();
}

void ProtocolStatus::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace zantor
