#include "cli/event_loop.h"

#include <QCoreApplication>

namespace zantor::cli {

void ensureEventLoop() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "zantor-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

}  // namespace zantor::cli
