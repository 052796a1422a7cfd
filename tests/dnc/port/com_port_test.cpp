#include "dnc/port/com_port.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include "fake_port_fixture.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using testing::FakePortTest;

constexpr LineSettings k9600e71{9600, 7, TParity::pEven, 1};
constexpr LineSettings k9600n81{9600, 8, TParity::pNone, 1};

using ComPortTest = FakePortTest;

TEST_F(ComPortTest, StartsWithTheTerminalWindowsInitialSettings) {
    EXPECT_EQ(port.ComNumber(), 1);
    EXPECT_EQ(port.Baud(), 4800);
    EXPECT_EQ(port.DataBits(), 7);
    EXPECT_EQ(port.Parity(), TParity::pEven);
    EXPECT_EQ(port.StopBits(), 1);
    EXPECT_EQ(port.InSize(), 8192);
    EXPECT_EQ(port.OutSize(), 8192);
    EXPECT_EQ(port.BufferFull(), 6140);
    EXPECT_EQ(port.BufferResume(), 2048);
    EXPECT_EQ(port.SWFlowOptions(), TSWFlowOptions::swfBoth);
    EXPECT_EQ(port.HWFlowOptions(), 0);
    EXPECT_EQ(port.XOnChar(), 0x11);
    EXPECT_EQ(port.XOffChar(), 0x13);
    EXPECT_TRUE(port.DTR());
    EXPECT_TRUE(port.RTS());
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.trace().Tracing());
    EXPECT_FALSE(port.trace().Logging());
    EXPECT_EQ(port.trace().TraceName, "APD.TRC");
    EXPECT_EQ(port.trace().LogName, "APD.LOG");
    EXPECT_EQ(port.trace().LogSize, 65000u);
    EXPECT_EQ(port.devicePath(), "/dev/ttyS0");
}

TEST_F(ComPortTest, BytesCrossTheLineOneCharacterTimeApart) {
    openAt(k9600e71);
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(port.sendText("G01 X1\r\n"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "G01 X1\r\n");
    const auto& a = peer().arrivals();
    const auto ct = characterTime(k9600e71);
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].at, ct * long(i + 1)) << i;
    EXPECT_EQ(port.outputQueued(), 0u);

    peer().write("N10 M30\r");
    runSeconds(0.1);
    EXPECT_GT(dataEvents, 0);
    EXPECT_EQ(port.bytesWaiting(), 8u);
    EXPECT_EQ(port.readByte(), 'N');
    EXPECT_EQ(port.readAvailable(), "10 M30\r");
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

TEST_F(ComPortTest, StopBitsOnTheWire) {
    struct Case {
        LineSettings line;
        double bits;  // per character, start and parity included
    };
    const Case cases[] = {
        {{9600, 7, TParity::pEven, 1}, 10},  {{9600, 7, TParity::pEven, 2}, 11},
        {{9600, 7, TParity::pEven, 5}, 11},  {{9600, 8, TParity::pNone, 1}, 10},
        {{9600, 5, TParity::pNone, 1}, 7.5}, {{9600, 5, TParity::pNone, 2}, 7.5},
    };
    for (const Case& c : cases) {
        port.close();
        peer().clearReceived();
        openAt(c.line);
        const auto start = clock.now();
        ASSERT_EQ(port.sendText("\x01\x02\x03\x04"), SendResult::Sent);
        runSeconds(0.1);
        ASSERT_EQ(peer().arrivals().size(), 4u) << frameText(c.line);
        const auto perChar = (peer().arrivals().back().at - start) / 4;
        EXPECT_NEAR(double(perChar.count()), c.bits * 1e9 / 9600, 1.0) << frameText(c.line);
    }
}

TEST_F(ComPortTest, ParityAndFramingAsTheReceiverSeesThem) {
    openAt(k9600e71);
    peer().setLineSettings(k9600n81);
    ASSERT_EQ(port.sendText("AC"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "A\xC3");  // 'C' has odd ones: the parity bit shows as bit 7

    peer().setLineSettings(LineSettings{9600, 7, TParity::pOdd, 1});
    peer().write("A");
    runSeconds(0.1);
    EXPECT_EQ(port.lineErrors().parity, 1u);
    EXPECT_EQ(port.readAvailable(), "A");  // a parity error does not drop the byte
    EXPECT_TRUE(allLineEvents() & kLineError);

    lineEvents.clear();
    peer().setLineSettings(LineSettings{19200, 7, TParity::pEven, 1});
    peer().write("B");
    runSeconds(0.1);
    EXPECT_EQ(port.lineErrors().framing, 1u);
    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_TRUE(allLineEvents() & kLineError);

    lineEvents.clear();
    peer().sendBreak();
    runSeconds(0.1);
    EXPECT_EQ(port.lineErrors().breaks, 1u);
    EXPECT_EQ(allLineEvents(), kBreak);
    EXPECT_TRUE(port.Open());  // line errors never close the port
}

TEST_F(ComPortTest, NewLineSettingsWaitForTheQueueAndEighteenCharacters) {
    openAt(k9600e71);
    peer().setLineSettings(k9600e71);
    ASSERT_EQ(port.sendText("ABCDEFGH"), SendResult::Sent);
    port.setBaud(19200);
    // Every byte queued before the change left with the old framing...
    EXPECT_EQ(peer().received(), "ABCDEFGH");
    EXPECT_EQ(peer().lineErrors().framing, 0u);
    // ...and the line then rested 18 characters (18.75 ms, rounded up).
    EXPECT_EQ(clock.now() - peer().arrivals().back().at, milliseconds(19));
    EXPECT_EQ(device.lineSettings().Baud, 19200);
    EXPECT_EQ(port.Baud(), 19200);

    const auto before = clock.now();
    port.setBaud(19200);  // no change: no wait
    port.setDataBits(7);
    EXPECT_EQ(clock.now(), before);

    port.setParity(TParity::pNone);
    port.setDataBits(8);
    port.setStopBits(2);
    EXPECT_EQ(device.lineSettings(), (LineSettings{19200, 8, TParity::pNone, 2}));
}

TEST_F(ComPortTest, SendingMoreThanTheFreeRoomQueuesNothing) {
    EXPECT_EQ(port.sendText("x"), SendResult::PortClosed);
    port.setOutSize(16);
    openAt(k9600e71);
    peer().write("\x13");  // hold our output so the queue stays as filled
    runSeconds(0.01);
    ASSERT_EQ(port.sendText("0123456789ABCDEF"), SendResult::Sent);
    EXPECT_EQ(port.outputFree(), 0u);
    EXPECT_EQ(port.sendByte('!'), SendResult::OutputBufferFull);
    ASSERT_EQ(port.sendText(""), SendResult::Sent);
    peer().write("\x11");
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "0123456789ABCDEF");
    EXPECT_EQ(port.outputFree(), 16u);
}

TEST_F(ComPortTest, XoffFromTheMachineHoldsOutputUntilXon) {
    openAt(k9600e71);
    EXPECT_EQ(port.flowState(), FlowState::On);
    std::string text(300, 'X');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char('A' + i % 26);
    Clock::Duration xoffAt{};
    peer().onByte = [&](uint8_t) {
        if (peer().arrivals().size() == 50) {
            xoffAt = clock.now();
            peer().write("\x13");
        }
    };
    ASSERT_EQ(port.sendText(text), SendResult::Sent);
    runSeconds(1);
    const auto& a = peer().arrivals();
    const auto late =
        std::count_if(a.begin(), a.end(), [&](const auto& x) { return x.at > xoffAt; });
    EXPECT_LE(late, 4);
    EXPECT_EQ(port.flowState(), FlowState::TransmitHeldByXoff);
    EXPECT_EQ(port.bytesWaiting(), 0u);  // XOFF is not data

    // Held: a send still returns at once, and a wait for the queue gives up.
    EXPECT_EQ(port.sendText("END"), SendResult::Sent);
    EXPECT_GT(port.outputQueued(), 200u);
    EXPECT_FALSE(clock.waitUntil([&] { return port.outputQueued() == 0; }, std::chrono::seconds(5),
                                 WaitMode::Responsive));

    peer().onByte = nullptr;
    peer().write("\x11");
    runSeconds(1);
    EXPECT_EQ(peer().received(), text + "END");
    EXPECT_EQ(port.flowState(), FlowState::On);
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

TEST_F(ComPortTest, WithoutSoftwareFlowXonAndXoffAreData) {
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    openAt(k9600e71);
    EXPECT_EQ(port.flowState(), FlowState::Off);
    peer().write(
        "\x13"
        "A\x11");
    runSeconds(0.1);
    EXPECT_EQ(port.readAvailable(),
              "\x13"
              "A\x11");
    ASSERT_EQ(port.sendText("B"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "B");
    EXPECT_EQ(port.flowState(), FlowState::Off);
}

TEST_F(ComPortTest, ThresholdsAreCheckedWhenSoftwareFlowIsSwitchedOn) {
    port.setInSize(4096);
    port.setBufferFull(0);
    port.setSWFlowOptions(TSWFlowOptions::swfBoth);
    EXPECT_EQ(port.BufferFull(), 3072);
    EXPECT_EQ(port.BufferResume(), 1024);
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    port.setBufferFull(0);
    EXPECT_EQ(port.BufferFull(), 0);  // only switching it on examines them
}

TEST_F(ComPortTest, ReceiveSideSendsXoffOnceAboveFullAndXonAtResume) {
    port.setInSize(100);
    port.setBufferFull(0);
    port.setBufferResume(0);
    port.setSWFlowOptions(TSWFlowOptions::swfBoth);
    ASSERT_EQ(port.BufferFull(), 75);
    ASSERT_EQ(port.BufferResume(), 25);
    openAt(k9600e71);

    size_t queuedWhenXoffArrived = 0;
    peer().onByte = [&](uint8_t b) {
        if (b == 0x13) queuedWhenXoffArrived = port.bytesWaiting();
    };
    peer().write(std::string(90, 'd'));
    runSeconds(1);
    EXPECT_EQ(peer().received(), "\x13");
    EXPECT_GE(queuedWhenXoffArrived, 76u);
    EXPECT_EQ(port.bytesWaiting(), 90u);
    EXPECT_EQ(port.flowState(), FlowState::ReceiveHeldXoffSent);

    // Both ways held at once.
    peer().write("\x13");
    runSeconds(0.1);
    EXPECT_EQ(port.flowState(), FlowState::BothHeld);
    peer().write("\x11");
    runSeconds(0.1);

    port.readAvailable(65);  // 25 left: above resume? no, at resume
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "\x13\x11");
    EXPECT_EQ(port.flowState(), FlowState::On);
}

TEST_F(ComPortTest, ReceiveSideWaitsForResumeLevelBeforeXon) {
    port.setInSize(100);
    port.setBufferFull(0);
    port.setSWFlowOptions(TSWFlowOptions::swfReceive);
    openAt(k9600e71);
    peer().write(std::string(80, 'd'));
    runSeconds(1);
    port.readAvailable(54);  // 26 left
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "\x13");
    port.readByte();  // 25: XON
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "\x13\x11");
    // swfReceive does not obey the machine's XOFF.
    peer().write("\x13");
    runSeconds(0.1);
    EXPECT_EQ(port.readAvailable(), std::string(25, 'd') + "\x13");
    ASSERT_EQ(port.sendText("go"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "\x13\x11go");
}

// An XOFF the driver refused waits to be sent; when the queue drains before
// it goes, the XON takes its place and the stale XOFF must never follow it,
// or the machine would wait for an XON that never comes.
TEST_F(ComPortTest, RefusedXoffNeverFollowsTheXonThatReplacedIt) {
    port.setInSize(100);
    port.setBufferFull(0);
    port.setSWFlowOptions(TSWFlowOptions::swfBoth);
    openAt(k9600e71);
    device.setWritesRefused(true);
    peer().write(std::string(80, 'd'));
    runSeconds(1);
    ASSERT_EQ(port.flowState(), FlowState::ReceiveHeldXoffSent);
    EXPECT_EQ(peer().received(), "");

    device.setWritesRefused(false);
    port.readAvailable();
    ASSERT_EQ(port.sendText("go"), SendResult::Sent);
    runSeconds(0.1);
    const std::string got = peer().received();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), 'o');
    EXPECT_EQ(got.find_last_of("\x11\x13"), got.find_last_of('\x11')) << "the machine is left held";
    EXPECT_EQ(port.flowState(), FlowState::On);
}

TEST_F(ComPortTest, HardwareFlowControl) {
    port.setInSize(100);
    port.setBufferFull(75);
    port.setBufferResume(25);
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    port.setHWFlowOptions(hwfUseRTS | hwfRequireCTS);
    openAt(k9600e71);
    EXPECT_EQ(port.flowState(), FlowState::On);

    peer().setRts(false);  // our CTS drops
    EXPECT_EQ(port.flowState(), FlowState::HeldByCts);
    EXPECT_TRUE(allLineEvents() & kCtsChanged);
    ASSERT_EQ(port.sendText("abc"), SendResult::Sent);
    runSeconds(1);
    EXPECT_EQ(peer().received(), "");
    peer().setRts(true);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "abc");

    peer().write(std::string(76, 'r'));
    runSeconds(1);
    EXPECT_FALSE(peer().lines().cts);  // our RTS dropped above BufferFull
    EXPECT_TRUE(port.RTS());           // the requested state is unchanged
    port.readAvailable(50);
    EXPECT_FALSE(peer().lines().cts);  // 26 left
    port.readByte();
    EXPECT_TRUE(peer().lines().cts);

    // Hardware flow state is reported before software flow state.
    port.setSWFlowOptions(TSWFlowOptions::swfBoth);
    peer().write("\x13");
    runSeconds(0.1);
    EXPECT_EQ(port.flowState(), FlowState::On);

    port.setHWFlowOptions(hwfRequireDSR);
    peer().setDtr(false);
    EXPECT_EQ(port.flowState(), FlowState::HeldByDsr);
}

TEST_F(ComPortTest, DtrAndRtsReachThePeer) {
    openAt(k9600e71);
    EXPECT_TRUE(peer().lines().dsr);
    EXPECT_TRUE(peer().lines().cts);
    port.setDtr(false);
    port.setRts(false);
    EXPECT_FALSE(peer().lines().dsr);
    EXPECT_FALSE(peer().lines().dcd);
    EXPECT_FALSE(peer().lines().cts);
    EXPECT_FALSE(port.DTR());
    port.setDtr(true);
    EXPECT_TRUE(peer().lines().dsr);
    port.setBreak(true);
    port.setBreak(false);
    EXPECT_EQ(peer().lineErrors().breaks, 1u);
    port.close();
    EXPECT_FALSE(peer().lines().dsr);

    lineEvents.clear();
    port.open();
    peer().setRing(true);
    peer().setDtr(false);
    EXPECT_TRUE(allLineEvents() & kRing);
    EXPECT_TRUE(allLineEvents() & kDsrChanged);
    EXPECT_TRUE(allLineEvents() & kDcdChanged);
    EXPECT_FALSE(port.modemLines().dsr);
}

TEST_F(ComPortTest, TimersFireOnceAfterTheirTicks) {
    std::vector<std::pair<int, Clock::Duration>> fired;
    QObject::connect(&port, &ComPort::timerFired,
                     [&](int handle) { fired.emplace_back(handle, clock.now()); });
    const int a = port.addTimer();
    const int b = port.addTimer();
    EXPECT_NE(a, b);
    port.armTimer(a, 36);
    port.armTimer(b, 1);
    runSeconds(10);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0], std::make_pair(b, ticksToDuration(1)));
    EXPECT_EQ(fired[1], std::make_pair(a, ticksToDuration(36)));

    // Armed again it fires again; armed while running it starts over.
    fired.clear();
    const auto start = clock.now();
    port.armTimer(a, 36);
    run(std::chrono::seconds(1));
    port.armTimer(a, 36);
    runSeconds(10);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].second, start + std::chrono::seconds(1) + ticksToDuration(36));
}

TEST_F(ComPortTest, WaitForAnyStringReturnsTheFirstToArrive) {
    openAt(k9600e71);
    clock.callAfter(milliseconds(100), [&] { peer().write("menu\x1b"); });
    clock.callAfter(milliseconds(300), [&] { peer().write("\r"); });
    EXPECT_EQ(port.waitForAnyString("\r/\x1b", "/", 36, true), 2);
    EXPECT_LT(clock.now(), milliseconds(300));
    EXPECT_EQ(port.bytesWaiting(), 0u);  // what it read is gone from the queue

    EXPECT_EQ(port.waitForAnyString("\r/\x1b", "/", 36, true), 1);

    const auto start = clock.now();
    EXPECT_EQ(port.waitForAnyString("\r/\x1b", "/", 36, true), ComPort::kWaitTimedOut);
    EXPECT_EQ(clock.now() - start, ticksToDuration(36));

    clock.callAfter(milliseconds(10), [&] { peer().write("xx%ok"); });
    EXPECT_EQ(port.waitForAnyString("READY|OK", "|", 36, true), 2);
    clock.callAfter(milliseconds(10), [&] { peer().write("ok"); });
    EXPECT_EQ(port.waitForAnyString("READY|OK", "|", 10, false), ComPort::kWaitTimedOut);
}

// The window may close the port while something waits on it; the wait ends
// at once, and a reopened port starts clean.
TEST_F(ComPortTest, ClosingDuringAWaitEndsIt) {
    // The window's timers keep ticking, so a wait that missed the close
    // would go on to its timeout, or for ever.
    std::function<void()> heartbeat = [&] { clock.callAfter(ticksToDuration(1), heartbeat); };
    heartbeat();
    openAt(k9600e71);
    clock.callAfter(milliseconds(100), [&] { port.close(); });
    EXPECT_EQ(port.waitForAnyString("\r/\x1b", "/", -1, true), ComPort::kWaitTimedOut);
    EXPECT_EQ(clock.now(), milliseconds(100));

    // A settings change waiting for a queue held by XOFF.
    ASSERT_FALSE(port.open().has_value());
    peer().write("\x13");
    runSeconds(0.01);
    ASSERT_EQ(port.sendText("held"), SendResult::Sent);
    const Clock::Duration before = clock.now();
    clock.callAfter(milliseconds(100), [&] { port.close(); });
    port.setBaud(19200);
    EXPECT_LT(clock.now() - before, milliseconds(200));
    ASSERT_FALSE(port.open().has_value());
    EXPECT_EQ(device.lineSettings().Baud, 19200);
    EXPECT_EQ(port.flowState(), FlowState::On);
}

TEST_F(ComPortTest, ReopeningWhileTimersArePendingSendsNothingTwice) {
    openAt(k9600e71);
    const int timer = port.addTimer();
    int fired = 0;
    QObject::connect(&port, &ComPort::timerFired, [&](int h) { fired += h == timer; });
    port.armTimer(timer, 1);
    ASSERT_EQ(port.sendText("ABCDEFGH"), SendResult::Sent);
    runSeconds(0.0025);  // two characters on their way, the writer's wake-up pending
    port.close();
    ASSERT_FALSE(port.open().has_value());
    ASSERT_EQ(port.sendText("xyz"), SendResult::Sent);
    runSeconds(1);
    const std::string got = peer().received();
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got.substr(got.size() - 3), "xyz");
    EXPECT_TRUE(std::string("ABCDEFGH").starts_with(got.substr(0, got.size() - 3))) << got;
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(port.outputQueued(), 0u);
}

TEST_F(ComPortTest, AVanishingDeviceClosesThePortWithoutHanging) {
    openAt(k9600e71);
    int lost = 0;
    QObject::connect(&port, &ComPort::portLost, [&] { ++lost; });
    ASSERT_EQ(port.sendText(std::string(500, 'z')), SendResult::Sent);
    clock.callAfter(milliseconds(50), [&] { peer().unplug(); });
    EXPECT_EQ(port.waitForAnyString("\r", "/", -1, false), ComPort::kWaitTimedOut);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.sendText("x"), SendResult::PortClosed);
    EXPECT_EQ(port.outputQueued(), 0u);
    EXPECT_TRUE(port.open().has_value());  // still gone
}

TEST_F(ComPortTest, FailedOpensSayWhyAndLeaveThePortClosed) {
    port.setComNumber(7);
    auto failure = port.open();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, "/dev/ttyS6 does not exist");
    EXPECT_FALSE(port.Open());

    port.setComNumber(1);
    device.setAccessDenied(true);
    failure = port.open();
    ASSERT_TRUE(failure.has_value());
    // What grants access depends on the device node; OpenFailure tests that advice.
    EXPECT_TRUE(failure->message.starts_with("No permission to open /dev/ttyS0: "));
    device.setAccessDenied(false);

    ASSERT_FALSE(port.open().has_value());
    ComPort second(clock, bank);
    failure = second.open();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, "/dev/ttyS0 is in use by another program");
    EXPECT_TRUE(port.Open());

    port.setDevicePath("/dev/ttyUSB9");
    EXPECT_EQ(port.devicePath(), "/dev/ttyUSB9");
    bank.add("/dev/ttyUSB9");
    EXPECT_FALSE(port.open().has_value());
    EXPECT_FALSE(device.isOpen());  // opening another device closed the first
}

// Paced by the device, the port fills the driver far beyond the line
// clock's few characters, but no further than its cap; the line is busy
// without a gap either way and every byte arrives.
TEST_F(ComPortTest, DevicePacingWritesAheadOfTheLineUpToItsCap) {
    struct Case {
        OutputPacing pacing;
        bool lineClockOnly;
        size_t leastAhead, mostAhead;  // the most the driver held at any moment
    };
    const Case cases[] = {
        {OutputPacing::LineClock, false, 1, 2},
        {OutputPacing::Device, false, ComPort::kDeviceLeadBytes, ComPort::kDeviceLeadBytes},
        {OutputPacing::Device, true, 1, 2},
    };
    std::string text(6000, ' ');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7 % 251);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.pacing) << " " << c.lineClockOnly);
        port.close();
        peer().clearReceived();
        port.setSWFlowOptions(TSWFlowOptions::swfNone);
        port.setOutputPacing(c.pacing);
        port.setLineClockOnly(c.lineClockOnly);
        openAt(k9600n81);
        size_t mostAhead = 0;
        peer().onByte = [&](uint8_t) { mostAhead = std::max(mostAhead, *device.outputQueued()); };
        ASSERT_EQ(port.sendText(text), SendResult::Sent);
        mostAhead = std::max(mostAhead, *device.outputQueued());
        runSeconds(8);
        EXPECT_GE(mostAhead, c.leastAhead);
        EXPECT_LE(mostAhead, c.mostAhead);
        ASSERT_EQ(peer().received(), text);
        const auto& a = peer().arrivals();
        const auto ct = characterTime(k9600n81);
        EXPECT_EQ(a.back().at - a.front().at, ct * long(a.size() - 1)) << "the line idled";
        EXPECT_EQ(port.outputQueued(), 0u);
    }
}

// Output flow control holds the line within a character or two whatever
// the pacing asked for; released, the rest follows byte for byte.
TEST_F(ComPortTest, HoldsStopDevicePacedOutputAtOnce) {
    struct Case {
        const char* what;
        TSWFlowOptions software;
        HWFlowSet hardware;
        std::function<void(FakeSerialDevice::Peer&, bool hold)> apply;
    };
    const Case cases[] = {
        {"CTS", TSWFlowOptions::swfNone, hwfRequireCTS,
         [](FakeSerialDevice::Peer& p, bool hold) { p.setRts(!hold); }},
        {"DSR", TSWFlowOptions::swfNone, hwfRequireDSR,
         [](FakeSerialDevice::Peer& p, bool hold) { p.setDtr(!hold); }},
        {"XOFF", TSWFlowOptions::swfBoth, 0,
         [](FakeSerialDevice::Peer& p, bool hold) { p.write(hold ? "\x13" : "\x11"); }},
    };
    const std::string text(3000, 'Q');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        port.close();
        peer().clearReceived();
        peer().onByte = nullptr;
        c.apply(peer(), false);
        port.setSWFlowOptions(c.software);
        port.setHWFlowOptions(c.hardware);
        port.setOutputPacing(OutputPacing::Device);
        openAt(k9600n81);
        Clock::Duration heldAt{};
        peer().onByte = [&](uint8_t) {
            if (peer().arrivals().size() == 50) {
                heldAt = clock.now();
                c.apply(peer(), true);
            }
        };
        ASSERT_EQ(port.sendText(text), SendResult::Sent);
        runSeconds(2);
        const auto& a = peer().arrivals();
        EXPECT_LE(std::count_if(a.begin(), a.end(), [&](const auto& x) { return x.at > heldAt; }),
                  4);
        peer().onByte = nullptr;
        c.apply(peer(), false);
        runSeconds(5);
        EXPECT_EQ(peer().received(), text);
    }
    port.setHWFlowOptions(0);
}

// What a protocol sends after dropping its output (its cancel) does not
// wait behind what the driver held, paced by the device; paced by the line
// clock there was never more than a character or two in it.
TEST_F(ComPortTest, DiscardingDevicePacedOutputEmptiesTheDriverToo) {
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    port.setOutputPacing(OutputPacing::Device);
    openAt(k9600n81);
    ASSERT_EQ(port.sendText(std::string(4000, 'D')), SendResult::Sent);
    runSeconds(0.1);
    ASSERT_GT(port.outputQueued(), 1000u);
    port.discardOutput();
    EXPECT_LE(port.outputQueued(), 1u);
    const Clock::Duration cancelledAt = clock.now();
    ASSERT_EQ(port.sendText("STOP"), SendResult::Sent);
    runSeconds(1);
    const std::string got = peer().received();
    ASSERT_TRUE(got.ends_with("DSTOP"));
    EXPECT_LE(peer().arrivals().back().at - cancelledAt, characterTime(k9600n81) * 5);
}

TEST_F(ComPortTest, TraceAndLogFilesWhenSwitchedOn) {
    testing::TempFolder folder;
    port.trace().setFolder(folder.path());
    port.trace().LogSize = 10;
    openAt(k9600e71);
    ASSERT_EQ(port.sendText("AB"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("APD.TRC")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("APD.LOG")));

    ASSERT_TRUE(port.trace().setTracing(true));
    ASSERT_TRUE(port.trace().setLogging(true));
    ASSERT_EQ(port.sendText("AB"), SendResult::Sent);
    runSeconds(0.1);
    peer().write("Z");
    runSeconds(0.1);
    ASSERT_EQ(port.sendText("0123456789"), SendResult::Sent);
    runSeconds(0.1);
    const std::string trace = folder.read("APD.TRC");
    EXPECT_NE(trace.find(" TX 41"), std::string::npos);
    EXPECT_NE(trace.find(" RX 5A\n"), std::string::npos);
    EXPECT_LE(folder.read("APD.LOG").size(), 10u);
    EXPECT_TRUE(folder.read("APD.LOG").ends_with("9"));
    port.trace().setTracing(false);
    EXPECT_FALSE(port.trace().Tracing());
}

}  // namespace
}  // namespace zantor
