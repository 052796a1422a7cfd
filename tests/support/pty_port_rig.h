#pragma once

// Header only: for test and benchmark programs that link zantor_dnc_port.

#include "dnc/port/clock.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "pty_pair.h"
#include "qt_test_app.h"

namespace zantor::testing {

// A ComPort on the slave of a fresh pty pair, on the system clock.
struct PtyPortRig {
    PtyPortRig() {
        ensureQtApplication();
        port.setDevicePath(pty.slavePath());
    }

    SystemClock clock;
    TermiosDeviceProvider devices{clock};
    PtyPair pty;
    ComPort port{clock, devices};
};

}  // namespace zantor::testing
