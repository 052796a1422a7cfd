#pragma once

namespace zantor::testing {

// Makes sure a QCoreApplication exists for the rest of the test program, so
// that timers, socket notifiers and queued signals have an event loop.
void ensureQtApplication();

}  // namespace zantor::testing
