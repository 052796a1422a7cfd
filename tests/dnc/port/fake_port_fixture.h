#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "qt_test_app.h"

namespace zantor::testing {

// A ComPort on COM1 wired to an in-memory null modem, on simulated time.
class FakePortTest : public ::testing::Test {
protected:
    FakePortTest() {
        ensureQtApplication();
        QObject::connect(&port, &ComPort::lineStatusChanged,
                         [this](unsigned e) { lineEvents.push_back(e); });
        QObject::connect(&port, &ComPort::dataAvailable, [this] { ++dataEvents; });
    }

    void openAt(const LineSettings& settings) {
        port.setLineSettings(settings);
        ASSERT_FALSE(port.open().has_value());
    }
    void run(Clock::Duration d) { clock.advance(d); }
    void runSeconds(double s) {
        clock.advance(
            std::chrono::duration_cast<Clock::Duration>(std::chrono::duration<double>(s)));
    }
    FakeSerialDevice::Peer& peer() { return device.peer(); }
    unsigned allLineEvents() const {
        unsigned all = 0;
        for (unsigned e : lineEvents) all |= e;
        return all;
    }

    ManualClock clock;
    FakeDeviceBank bank{clock};
    FakeSerialDevice& device = bank.add("/dev/ttyS0");
    ComPort port{clock, bank};
    std::vector<unsigned> lineEvents;
    int dataEvents = 0;
};

}  // namespace zantor::testing
