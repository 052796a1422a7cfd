#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_port_rig.h"
#include "qt_test_app.h"

namespace zantor::testing {

// The fake port rig with the port's line events and data events recorded.
class FakePortTest : public ::testing::Test, protected FakePortRig {
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

    std::vector<unsigned> lineEvents;
    int dataEvents = 0;
};

}  // namespace zantor::testing
