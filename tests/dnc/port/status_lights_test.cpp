#include "dnc/port/status_lights.h"

#include "fake_port_fixture.h"

namespace zantor {
namespace {

class StatusLightsTest : public testing::FakePortTest {
protected:
    StatusLightsTest() {
        QObject::connect(&port, &ComPort::timerFired, [this](int h) { windowTimers.push_back(h); });
        port.setLineSettings({9600, 7, TParity::pEven, 1});
    }
    // The moment `light` went dark, measured from `from`.
    Clock::Duration darkAfter(bool LightStates::*light, Clock::Duration from) {
        clock.waitUntil([&] { return !(lights.lights().*light); }, std::chrono::seconds(10),
                        WaitMode::Responsive);
        return clock.now() - from;
    }

    StatusLights lights{port};
    std::vector<int> windowTimers;  // every timer event the window would get
};

TEST_F(StatusLightsTest, ReceiveAndTransmitLightsFollowTheQueues) {
    ASSERT_FALSE(port.open().has_value());
    lights.setMonitoring(true);
    EXPECT_TRUE(lights.lights().cts);
    EXPECT_TRUE(lights.lights().dsr);
    EXPECT_TRUE(lights.lights().dcd);

    ASSERT_EQ(port.sendText("0123456789"), SendResult::Sent);
    EXPECT_TRUE(lights.lights().txd);
    const auto sent = clock.now();
    // Out within a tick of the last character leaving.
    const auto txdDark = darkAfter(&LightStates::txd, sent);
    EXPECT_GE(txdDark, characterTime(port.lineSettings()) * 10);
    EXPECT_LE(txdDark, characterTime(port.lineSettings()) * 10 + ticksToDuration(1));

    peer().write("AB");
    clock.advance(std::chrono::milliseconds(5));
    EXPECT_TRUE(lights.lights().rxd);
    clock.advance(std::chrono::seconds(1));
    EXPECT_TRUE(lights.lights().rxd);  // still unread
    port.readAvailable();
    clock.advance(ticksToDuration(1));
    EXPECT_FALSE(lights.lights().rxd);
    EXPECT_FALSE(windowTimers.empty());  // the lights' timers reach the window too

    // No data moving: no timers running.
    clock.advance(std::chrono::seconds(1));
    EXPECT_FALSE(clock.hasPending());
}

TEST_F(StatusLightsTest, ErrorBreakAndRingLightsGoOutOnTime) {
    ASSERT_FALSE(port.open().has_value());
    lights.setMonitoring(true);
    peer().injectLineErrors({0, 1, 0, 0});
    EXPECT_TRUE(lights.lights().err);
    EXPECT_EQ(darkAfter(&LightStates::err, clock.now()), ticksToDuration(36));

    peer().sendBreak();
    clock.advance(characterTime(port.lineSettings()));
    EXPECT_TRUE(lights.lights().brk);
    EXPECT_EQ(darkAfter(&LightStates::brk, clock.now()), ticksToDuration(36));

    peer().setRing(true);
    EXPECT_TRUE(lights.lights().ring);
    EXPECT_EQ(darkAfter(&LightStates::ring, clock.now()), ticksToDuration(8));

    peer().setRts(false);
    EXPECT_FALSE(lights.lights().cts);
    peer().setDtr(false);
    EXPECT_FALSE(lights.lights().dsr);
    EXPECT_FALSE(lights.lights().dcd);
}

TEST_F(StatusLightsTest, MonitoringOffIgnoresThePort) {
    ASSERT_FALSE(port.open().has_value());
    lights.setMonitoring(true);
    lights.setMonitoring(false);
    EXPECT_EQ(lights.lights(), LightStates{});
    peer().injectLineErrors({1, 0, 0, 0});
    peer().write("A");
    clock.advance(std::chrono::milliseconds(5));
    EXPECT_EQ(lights.lights(), LightStates{});
    lights.setMonitoring(true);
    EXPECT_TRUE(lights.lights().rxd);  // the unread byte shows once monitoring is back
    EXPECT_TRUE(lights.lights().cts);
}

}  // namespace
}  // namespace zantor
