#include "dnc/ui/status_lamp.h"

namespace zantor {

StatusLamp::StatusLamp(const QString& word, QWidget* parent) : QLabel(word, parent) {
    setObjectName("Lamp" + word);
    setAlignment(Qt::AlignCenter);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setLit(false);
}

void StatusLamp::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    QPalette p = palette();
    p.setColor(QPalette::Window, lit ? QColor(255, 40, 40) : QColor(64, 0, 0));
    p.setColor(QPalette::WindowText, lit ? Qt::white : QColor(160, 160, 160));
    setPalette(p);
}

}  // namespace zantor
