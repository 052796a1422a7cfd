#include "app/ui/dialog_placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>

namespace zantor {

DialogPlacement::DialogPlacement(QWidget& mainWindow)
    : QObject(&mainWindow), mainWindow_(mainWindow) {
    qApp->installEventFilter(this);
}

QRect DialogPlacement::eventualGeometry(const QWidget& window) {
    if ((window.windowState() & Qt::WindowMaximized) && window.screen())
        return window.screen()->availableGeometry();
    return window.frameGeometry();
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow() && dialog->parentWidget() &&
            dialog->parentWidget()->window() == &mainWindow_) {
            const QRect frame = dialog->frameGeometry();
            dialog->move(eventualGeometry(mainWindow_).center() - frame.center() + frame.topLeft());
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zantor
