#pragma once

namespace zantor::testing {

// Makes sure a QCoreApplication exists for the rest of the test program, so
// that timers, socket notifiers and queued signals have an event loop.
void ensureQtApplication();

// Wakes the application's event loop from any thread, so that a wait on a
// condition changed by another thread looks at it again.
void wakeEventLoop();

}  // namespace zantor::testing
