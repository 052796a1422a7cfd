#include "qt_test_app.h"

#include <QCoreApplication>

namespace zantor::testing {

void ensureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zantor-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void wakeEventLoop() {
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] {}, Qt::QueuedConnection);
}

}  // namespace zantor::testing
