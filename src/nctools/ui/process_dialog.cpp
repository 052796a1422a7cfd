#include "nctools/ui/process_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zantor {

TProcessDlg::TProcessDlg(QWidget* parent, Now now)
    : QDialog(parent),
      now_(now ? std::move(now)
               : [] { return std::chrono::steady_clock::now().time_since_epoch(); }),
      caption_(new QLabel(this)),
      meter_(new QProgressBar(this)),
      cancel_(new QPushButton("Cancel", this)) {
    setObjectName("TProcessDlg");
    setWindowTitle("Processing");
    setWindowModality(Qt::ApplicationModal);
    meter_->setObjectName("meter");
    meter_->setRange(0, 100);
    meter_->setTextVisible(true);
    meter_->setFormat("%p%");
    meter_->setStyleSheet("QProgressBar::chunk { background-color: lime; }");
    meter_->setMinimumWidth(260);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(meter_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
}

QString TProcessDlg::caption() const {
    return caption_->text();
}

void TProcessDlg::begin(const std::string& caption) {
    cancelled_ = false;
    caption_->setText(QString::fromLatin1(caption.data(), qsizetype(caption.size())));
    setWindowTitle(caption_->text());
    meter_->setValue(0);
    show();
    raise();
    letEventsThrough();
}

void TProcessDlg::setPercent(int percent) {
    meter_->setValue(percent);
}

void TProcessDlg::keepAlive() {
    if (now_() - lastEvents_ >= kEventInterval) letEventsThrough();
}

void TProcessDlg::letEventsThrough() {
    QCoreApplication::processEvents();
    lastEvents_ = now_();
}

void TProcessDlg::end() {
    hide();
}

void TProcessDlg::reject() {
    cancelled_ = true;
}

}  // namespace zantor
