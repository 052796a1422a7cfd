#include "dnc/port/line_settings.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "dnc/port/any_string_matcher.h"
#include "dnc/port/clock.h"
#include "dnc/port/flow_control.h"
#include "dnc/port/port_map.h"
#include "dnc/port/serial_frame.h"

namespace zantor {
namespace {

using std::chrono::nanoseconds;

TEST(LineSettings, StopBitsAndCharacterTime) {
    struct Case {
        LineSettings line;
        int halfBits;  // stop bits on the wire, in half bits
        int frameHalfBits;
    };
    const Case cases[] = {
        {{9600, 7, TParity::pEven, 1}, 2, 20},
        {{9600, 7, TParity::pEven, 2}, 4, 22},
        {{9600, 7, TParity::pEven, 5}, 4, 22},  // the dialog's "1.5" is two stop bits
        {{9600, 8, TParity::pNone, 1}, 2, 20},
        {{9600, 5, TParity::pNone, 1}, 3, 15},  // five data bits: always 1.5
        {{9600, 5, TParity::pOdd, 2}, 3, 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stopHalfBits(c.line), c.halfBits) << frameText(c.line);
        EXPECT_EQ(frameHalfBits(c.line), c.frameHalfBits) << frameText(c.line);
    }
    EXPECT_EQ(characterTime({9600, 7, TParity::pEven, 1}), nanoseconds(1'041'666));
    EXPECT_EQ(characterTime({115200, 8, TParity::pNone, 1}), nanoseconds(86'805));
    EXPECT_EQ(characterTime({110, 7, TParity::pEven, 2}), nanoseconds(100'000'000));
    EXPECT_EQ(frameText({4800, 7, TParity::pEven, 1}), "7E1");
    EXPECT_EQ(frameText({4800, 8, TParity::pSpace, 2}), "8S2");
    EXPECT_TRUE(isSupportedBaud(115200));
    EXPECT_TRUE(isSupportedBaud(921600));
    EXPECT_FALSE(isSupportedBaud(1843200));
    EXPECT_FALSE(isSupportedBaud(14400));
}

TEST(SerialFrame, ReceiverSeesWhatItsFramingMakesOfTheBits) {
    const LineSettings e71{9600, 7, TParity::pEven, 1};
    const LineSettings o71{9600, 7, TParity::pOdd, 1};
    const LineSettings n81{9600, 8, TParity::pNone, 1};
    const LineSettings m71{9600, 7, TParity::pMark, 1};
    const LineSettings s71{9600, 7, TParity::pSpace, 1};
    struct Case {
        uint8_t sent;
        LineSettings sender, receiver;
        uint8_t got;
        bool parityError, framingError;
    };
    const Case cases[] = {
        {'A', e71, e71, 'A', false, false},
        {0xC1, e71, e71, 'A', false, false},  // the eighth bit does not exist at 7 bits
        {'A', e71, n81, 'A', false, false},   // 0x41: two ones, even parity bit 0
        {'C', e71, n81, 0xC3, false, false},  // three ones: parity bit lands in bit 7
        {'C', o71, n81, 'C', false, false},
        {'A', e71, o71, 'A', true, false},
        {'A', m71, n81, 0xC1, false, false},
        {'A', s71, n81, 'A', false, false},
        {'A', m71, s71, 'A', true, false},
        {0x7F, n81, e71, 0x7F, true, false},  // bit 7 (0) read as parity of 7 ones: wrong
        {0xFF, n81, e71, 0x7F, false, false},
        // The sender's stop bit is read as parity; the idle line after it as stop bit.
        {'A', n81, {9600, 8, TParity::pEven, 1}, 'A', true, false},
        {'C', n81, {9600, 8, TParity::pEven, 1}, 'C', false, false},
        {'A', e71, {19200, 7, TParity::pEven, 1}, 0, false, true},
    };
    for (const Case& c : cases) {
        const ReceivedChar r = decodeFrame(encodeFrame(c.sent, c.sender), c.sender, c.receiver);
        EXPECT_EQ(r.parityError, c.parityError) << int(c.sent) << " " << frameText(c.sender);
        EXPECT_EQ(r.framingError, c.framingError) << int(c.sent) << " " << frameText(c.sender);
        if (!c.framingError) {
            EXPECT_EQ(r.byte, c.got) << int(c.sent) << " " << frameText(c.sender);
        }
    }
    EXPECT_TRUE(decodeFrame(breakFrame(e71), e71, e71).isBreak);
}

TEST(FlowControl, ThresholdRule) {
    struct Case {
        int inSize;
        Thresholds requested, expected;
    };
    const Case cases[] = {
        {4096, {0, 0}, {3072, 1024}},
        {4096, {0, 500}, {3072, 1024}},
        {4096, {0, 2048}, {3072, 1024}},
        {4096, {5000, 2048}, {3072, 1024}},
        {4096, {2000, 2500}, {2000, 1024}},  // resume above full
        {4096, {3500, 100}, {3500, 100}},
        {1001, {0, 0}, {751, 250}},  // 750.75 and 250.25 rounded
        {1002, {0, 0}, {752, 251}},  // 751.5 and 250.5 round up
    };
    for (const Case& c : cases) {
        const Thresholds t = checkedThresholds(c.inSize, c.requested);
        EXPECT_EQ(t.bufferFull, c.expected.bufferFull) << c.inSize;
        EXPECT_EQ(t.bufferResume, c.expected.bufferResume) << c.inSize;
    }
}

int feedAll(AnyStringMatcher& matcher, std::string_view bytes) {
    int found = 0;
    for (const char c : bytes)
        if (!found) found = matcher.feed(uint8_t(c));
    return found;
}

TEST(AnyStringMatcher, FirstArrivedStringWins) {
    {
        AnyStringMatcher m("\r/\x1b", "/", true);
        EXPECT_EQ(feedAll(m, "abc\x1b\r"), 2);
    }
    {
        AnyStringMatcher m("\r/\x1b", "/", true);
        EXPECT_EQ(feedAll(m, "abc\r"), 1);
    }
    {
        AnyStringMatcher m("READY|ok", "|", true);
        EXPECT_EQ(feedAll(m, "xxre"), 0);
        EXPECT_EQ(feedAll(m, "ady"), 1);
    }
    {
        AnyStringMatcher m("READY|ok", "|", false);
        EXPECT_EQ(feedAll(m, "ready OK"), 0);
        EXPECT_EQ(feedAll(m, "ok"), 2);
    }
    {
        AnyStringMatcher m("//X", "/", false);  // empty entries never match
        EXPECT_EQ(feedAll(m, "abX"), 3);
    }
}

TEST(PortMap, NumbersMapToDevicesAndPathsAreAccepted) {
    const IniFile ini = IniFile::parse(
        "[GENERAL]\nX=1\n[Ports]\n1=/dev/ttyUSB0\n3=/dev/serial/by-id/usb-FTDI-if00\nfoo=/x\n"
        "0=/dev/null\n");
    const PortMap map = PortMap::fromSettings(ini);
    EXPECT_EQ(map.devicePath(1), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath(2), "/dev/ttyS1");
    EXPECT_EQ(map.devicePath(3), "/dev/serial/by-id/usb-FTDI-if00");
    EXPECT_EQ(map.devicePath(16), "/dev/ttyS15");

    struct Case {
        std::string text;
        bool valid;
        int number;
        std::string path;
    };
    const Case cases[] = {{"1", true, 1, ""},
                          {"256", true, 256, ""},
                          {"/dev/ttyUSB1", true, 0, "/dev/ttyUSB1"},
                          {"0", false, 0, ""},
                          {"COM1", false, 0, ""},
                          {"-2", false, 0, ""},
                          {"", false, 0, ""},
                          {"99999999999", false, 0, ""}};
    for (const Case& c : cases) {
        const auto choice = parsePortChoice(c.text);
        ASSERT_EQ(choice.has_value(), c.valid) << c.text;
        if (!choice) continue;
        EXPECT_EQ(choice->number, c.number);
        EXPECT_EQ(choice->path, c.path);
    }
    EXPECT_EQ(comName(1), "COM1");
    EXPECT_EQ(comName(12), "COM12");
}

TEST(ManualClock, RunsCallbacksInTimeOrderAndNeverHangs) {
    ManualClock clock;
    std::string order;
    clock.callAfter(std::chrono::milliseconds(30), [&] { order += "c"; });
    const auto cancelled = clock.callAfter(std::chrono::milliseconds(10), [&] { order += "x"; });
    clock.callAfter(std::chrono::milliseconds(20), [&] { order += "b"; });
    clock.callAfter(std::chrono::milliseconds(20), [&] { order += "B"; });
    clock.cancel(cancelled);
    clock.advance(std::chrono::milliseconds(25));
    EXPECT_EQ(order, "bB");
    EXPECT_EQ(clock.now(), std::chrono::milliseconds(25));

    // A wait jumps straight to the callback that makes it true.
    EXPECT_TRUE(
        clock.waitUntil([&] { return order.size() == 3; }, Clock::kForever, WaitMode::Responsive));
    EXPECT_EQ(clock.now(), std::chrono::milliseconds(30));
    // With nothing left to happen, an endless wait gives up instead of hanging.
    EXPECT_FALSE(clock.waitUntil([] { return false; }, Clock::kForever, WaitMode::Responsive));
    EXPECT_FALSE(
        clock.waitUntil([] { return false; }, std::chrono::seconds(30), WaitMode::Responsive));
    EXPECT_EQ(clock.now(), std::chrono::milliseconds(30) + std::chrono::seconds(30));
}

TEST(Ticks, ThirtySixTicksAreAboutTwoSeconds) {
    EXPECT_EQ(ticksToDuration(36), nanoseconds(1'977'313'432));
    EXPECT_EQ(ticksToDuration(1675), std::chrono::seconds(92));
}

}  // namespace
}  // namespace zantor
