#include "dnc/port/termios_device.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <fstream>

#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/open_failure.h"
#include "pty_peer.h"
#include "pty_port_rig.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A ComPort on the slave of a pty pair, the peer thread on the master.
class PtyPortTest : public ::testing::Test, protected testing::PtyPortRig {
protected:
    PtyPortTest() { peer.setOnReceive(testing::wakeEventLoop); }
    bool peerHas(size_t count) {
        return waitFor([&] { return peer.receivedCount() >= count; });
    }
    bool waitFor(const std::function<bool()>& done) {
        return clock.waitUntil(done, seconds(10), WaitMode::Responsive);
    }

    testing::PtyPeer peer{pty.masterFd()};
};

std::string everyByte(int times) {
    std::string bytes;
    for (int t = 0; t < times; ++t)
        for (int b = 0; b < 256; ++b) bytes.push_back(char(b));
    return bytes;
}

TEST_F(PtyPortTest, EveryByteValuePassesUnchangedBothWaysAtTheHighestRate) {
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    port.setLineSettings({921600, 8, TParity::pNone, 1});
    ASSERT_FALSE(port.open().has_value());
    termios line{};
    ASSERT_EQ(::tcgetattr(pty.masterFd(), &line), 0);  // the master reports the slave's settings
    EXPECT_EQ(::cfgetospeed(&line), speed_t(B921600));
    const std::string bytes = everyByte(4);
    ASSERT_EQ(port.sendText(bytes), SendResult::Sent);
    ASSERT_TRUE(peerHas(bytes.size()));
    EXPECT_EQ(peer.received(), bytes);

    peer.write(bytes);
    std::string got;
    ASSERT_TRUE(waitFor([&] {
        got += port.readAvailable();
        return got.size() >= bytes.size();
    }));
    EXPECT_EQ(got, bytes);
    EXPECT_TRUE(waitFor([&] { return port.outputQueued() == 0; }));
}

TEST_F(PtyPortTest, XoffStopsTheWriterAndXonResumesIt) {
    port.setLineSettings({9600, 8, TParity::pNone, 1});
    ASSERT_FALSE(port.open().has_value());
    std::string text;
    for (int i = 0; i < 1200; ++i) text.push_back(char('A' + i % 26));
    peer.setLineRate(960);  // the machine reads as a 9600-baud line delivers
    peer.respondAfter(100, "\x13");
    ASSERT_EQ(port.sendText(text), SendResult::Sent);

    ASSERT_TRUE(waitFor([&] { return port.flowState() == FlowState::TransmitHeldByXoff; }));
    clock.sleep(milliseconds(300), WaitMode::Responsive);
    ASSERT_TRUE(peer.lastReplyAt());
    EXPECT_LE(peer.receivedAfter(*peer.lastReplyAt()), 64u);
    const size_t heldAt = peer.receivedCount();
    EXPECT_LT(heldAt, text.size());

    // A write to a held port returns at once.
    EXPECT_EQ(port.sendText("END"), SendResult::Sent);
    clock.sleep(milliseconds(100), WaitMode::Responsive);
    EXPECT_EQ(peer.receivedCount(), heldAt);

    peer.write("\x11");
    ASSERT_TRUE(peerHas(text.size() + 3));
    EXPECT_EQ(peer.received(), text + "END");
    EXPECT_EQ(port.bytesWaiting(), 0u);  // the flow characters were not data
}

TEST_F(PtyPortTest, FlowCharactersAmongDataInOneReadAreTakenOut) {
    port.setLineSettings({9600, 8, TParity::pNone, 1});
    ASSERT_FALSE(port.open().has_value());
    peer.write(
        "ab\x13"
        "cd\x11"
        "ef\x13"
        "gh");
    std::string got;
    ASSERT_TRUE(waitFor([&] {
        got += port.readAvailable();
        return got.size() >= 8;
    }));
    EXPECT_EQ(got, "abcdefgh");
    EXPECT_EQ(port.flowState(), FlowState::TransmitHeldByXoff);  // the last one was XOFF
    peer.write("\x11");
    EXPECT_TRUE(waitFor([&] { return port.flowState() == FlowState::On; }));
}

TEST_F(PtyPortTest, ClosingAPortHeldByXoffReturns) {
    port.setLineSettings({9600, 8, TParity::pNone, 1});
    ASSERT_FALSE(port.open().has_value());
    peer.write("\x13");
    ASSERT_TRUE(waitFor([&] { return port.flowState() == FlowState::TransmitHeldByXoff; }));
    ASSERT_EQ(port.sendText(std::string(4000, 'q')), SendResult::Sent);
    port.close();
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(peer.receivedCount(), 0u);
}

TEST_F(PtyPortTest, AHungUpLineClosesThePort) {
    ASSERT_FALSE(port.open().has_value());
    int lost = 0;
    QObject::connect(&port, &ComPort::portLost, [&] { ++lost; });
    ASSERT_EQ(port.sendText("hello"), SendResult::Sent);
    ASSERT_TRUE(peerHas(5));
    peer.stop();
    pty.closeSlave();
    pty.closeMaster();
    EXPECT_TRUE(waitFor([&] { return lost > 0; }));
    clock.sleep(milliseconds(100), WaitMode::Responsive);
    EXPECT_EQ(lost, 1);  // the window tells the user once
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.sendText("x"), SendResult::PortClosed);
}

// Another station may not open a port while we hold it, but once we let it
// go, it (or our own hub switch) can: the claim ends with our close.
TEST_F(PtyPortTest, ClosingGivesUpTheClaimOnTheLine) {
    const auto exclusive = [&] {
        int on = -1;
        EXPECT_EQ(::ioctl(pty.slaveFd(), TIOCGEXCL, &on), 0);
        return on;
    };
    ASSERT_FALSE(port.open().has_value());
    EXPECT_EQ(exclusive(), 1);
    port.close();
    EXPECT_EQ(exclusive(), 0);
    // An open that fails half way leaves no claim either.
    port.setBaud(14400);
    const auto refused = port.open();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->message, pty.slavePath() + ": Invalid argument");
    EXPECT_EQ(exclusive(), 0);
    port.setBaud(9600);
    const auto failure = port.open();
    ASSERT_FALSE(failure.has_value()) << failure->message;
    EXPECT_EQ(port.sendText("again"), SendResult::Sent);
    EXPECT_TRUE(peerHas(5));
    EXPECT_EQ(peer.received(), "again");
}

// A pseudo-terminal carries 8 bits without parity whatever is asked: it
// opens, and opens again, with the framing of any machine.
TEST_F(PtyPortTest, APseudoTerminalOpensWithAnyFraming) {
    const LineSettings framings[] = {{4800, 7, TParity::pEven, 1},
                                     {9600, 8, TParity::pNone, 1},
                                     {2400, 7, TParity::pOdd, 2},
                                     {19200, 8, TParity::pMark, 1},
                                     {4800, 7, TParity::pEven, 1}};
    std::string sent;
    for (const LineSettings& framing : framings) {
        port.setLineSettings(framing);
        const auto failure = port.open();
        ASSERT_FALSE(failure.has_value()) << failure->message << " at " << frameText(framing);
        sent += frameText(framing);
        ASSERT_EQ(port.sendText(frameText(framing)), SendResult::Sent);
        ASSERT_TRUE(peerHas(sent.size()));
        port.close();
    }
    EXPECT_EQ(peer.received(), sent);
}

TEST_F(PtyPortTest, FailedOpensSayWhy) {
    ASSERT_FALSE(port.open().has_value());
    ComPort second(clock, devices);
    second.setDevicePath(pty.slavePath());
    auto failure = second.open();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, pty.slavePath() + " is in use by another program");

    second.setDevicePath("/dev/zantor-no-such-tty");
    failure = second.open();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, "/dev/zantor-no-such-tty does not exist");

    second.setDevicePath("/dev/null");
    failure = second.open();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, "/dev/null is not a serial device");
    EXPECT_FALSE(second.Open());
}

TEST(OpenFailure, PermissionDeniedSaysWhatWouldGrantAccess) {
    testing::TempFolder folder;
    const std::string device = folder.write("ttyFAKE", "");
    struct Case {
        mode_t mode;
        bool joiningHelps;
    };
    for (const Case& c : {Case{0660, true}, Case{0600, false}, Case{0640, false}}) {
        ASSERT_EQ(::chmod(device.c_str(), c.mode), 0);
        const OpenFailure failure = describeOpenFailure(device, EACCES);
        EXPECT_EQ(failure.errorNumber, EACCES);
        EXPECT_TRUE(failure.message.starts_with("No permission to open " + device));
        EXPECT_EQ(failure.message.find("sudo usermod -aG ") != std::string::npos, c.joiningHelps)
            << std::oct << c.mode << ": " << failure.message;
        EXPECT_EQ(failure.message.find("joining a group will not help") != std::string::npos,
                  !c.joiningHelps)
            << failure.message;
        if (!c.joiningHelps) {
            EXPECT_NE(failure.message.find("udev rule"), std::string::npos);
            EXPECT_NE(failure.message.find("sudo chmod 660 " + device), std::string::npos);
        }
    }
    // A device that is gone names the usual group.
    EXPECT_NE(describeOpenFailure("/dev/zantor-gone", EACCES).message.find("\"dialout\""),
              std::string::npos);
}

}  // namespace
}  // namespace zantor
