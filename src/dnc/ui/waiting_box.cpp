#include "dnc/ui/waiting_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace zantor {

WaitingBox::WaitingBox(QWidget* owner) : QDialog(owner), owner_(owner) {
    setObjectName("WaitingBox");
    setWindowTitle("ZANTOR DNC");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    stop_ = new QCheckBox("Stop Waiting", this);
    layout->addWidget(text_);
    layout->addWidget(stop_);
}

void WaitingBox::showWaiting(const std::string& text) {
    text_->setText(QString::fromLatin1(text.c_str()));
    stop_->setChecked(false);
    adjustSize();
    if (owner_ && owner_->isMinimized()) {
        showMinimized();
    } else {
        show();
        raise();
    }
}

void WaitingBox::hideWaiting() {
    hide();
}

bool WaitingBox::stopWaiting() const {
    return stop_->isChecked();
}

}  // namespace zantor
