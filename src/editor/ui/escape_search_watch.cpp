#include "editor/ui/escape_search_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include "core/interaction.h"

namespace zantor::editor {

EscapeSearchWatch::EscapeSearchWatch(Interaction& interaction, std::chrono::milliseconds threshold)
    : interaction_(interaction),
      watch_([this] { return std::chrono::milliseconds(timer_.elapsed()); },
             [this] { interaction_.setBusy(true); }, [this] { return escapePressed(); },
             threshold) {
    timer_.start();
}

EscapeSearchWatch::~EscapeSearchWatch() {
    if (filtering_) QCoreApplication::instance()->removeEventFilter(this);
    if (watch_.slow()) interaction_.setBusy(false);
}

bool EscapeSearchWatch::escapePressed() {
    if (!filtering_) {
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
    QCoreApplication::processEvents();
    return escape_;
}

bool EscapeSearchWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) escape_ = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Close:
        case QEvent::ContextMenu:
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace zantor::editor
