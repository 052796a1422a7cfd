#pragma once

namespace zantor::cli {

// Makes sure the Qt application of zantor-cli exists, for the commands that
// run the serial port in its event loop (term, send, receive).
void ensureEventLoop();

}  // namespace zantor::cli
