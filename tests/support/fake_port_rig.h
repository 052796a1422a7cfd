#pragma once

// Header only: for test and benchmark programs that link zantor_dnc_port.

#include "dnc/port/clock.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"

namespace zantor::testing {

// A ComPort on COM1 wired to an in-memory null modem, on simulated time.
struct FakePortRig {
    ManualClock clock;
    FakeDeviceBank bank{clock};
    FakeSerialDevice& device = bank.add("/dev/ttyS0");
    ComPort port{clock, bank};
};

}  // namespace zantor::testing
