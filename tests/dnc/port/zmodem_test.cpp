// ZMODEM on the fake line, on simulated time: frames, between two of our
// stations through a cable that damages data, and against a scripted peer.
#include <gtest/gtest.h>

#include <filesystem>

#include "dnc/port/transfer_crc.h"
#include "dnc/port/zmodem_frames.h"
#include "protocol_test_fixture.h"

namespace zantor {
namespace {

namespace code = transfer_code;
using namespace zmodem;
using std::chrono::seconds;
using testing::FakeLineRelay;
using testing::sampleFile;

std::vector<Event> readAll(Reader& reader, const std::string& bytes) {
    std::vector<Event> events;
    for (const char c : bytes) {
        Event e = reader.feed(uint8_t(c));
        if (e.kind != Event::None) events.push_back(std::move(e));
    }
    return events;
}

class ZmodemTest : public testing::TwoStationTest {};

TEST_F(ZmodemTest, FramesReadBackAsTheyWereWritten) {
    EXPECT_EQ(~crc32Update(reinterpret_cast<const uint8_t*>("123456789"), 9, 0xFFFFFFFFu),
              0xCBF43926u);
    EXPECT_EQ(hexHeader(ZRQINIT, {}), std::string("**\x18"
                                                  "B00000000000000\r\x8a\x11"));
    EXPECT_EQ(hexHeader(ZFIN, {}).back(), '\x8a');  // no XON after ZFIN

    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += char(b);
    for (const bool crc32 : {false, true}) {
        SCOPED_TRACE(crc32);
        const std::string subpacket = dataSubpacket(everyByte, ZCRCW, crc32);
        for (const char c : {'\x10', '\x11', '\x13', '\x90', '\x91', '\x93'})
            EXPECT_EQ(subpacket.find(c), std::string::npos) << int(c);
        Reader reader;
        auto events = readAll(reader, binaryHeader(ZDATA, positionBytes(70000), crc32));
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].kind, Event::Header);
        EXPECT_EQ(events[0].type, ZDATA);
        EXPECT_EQ(positionOf(events[0].bytes), 70000u);
        reader.expectData(events[0].crc32);
        events = readAll(reader, subpacket + hexHeader(ZEOF, positionBytes(256)));
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].kind, Event::Data);
        EXPECT_EQ(events[0].data, everyByte);
        EXPECT_EQ(events[0].frameEnd, ZCRCW);
        EXPECT_EQ(events[1].type, ZEOF);

        std::string damaged = subpacket;
        damaged[100] ^= 0x01;
        reader.expectData(crc32);
        events = readAll(reader, damaged);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events[0].kind, Event::BadData);
    }
    Reader reader;
    const auto cancelled = readAll(reader, std::string(5, '\x18'));
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(cancelled[0].kind, Event::Cancel);
}

TEST_F(ZmodemTest, OurStationsCarryFilesByteForByte) {
    FakeLineRelay cable(device, device2);
    for (const size_t size : {size_t(0), size_t(1), size_t(1024), size_t(70001)}) {
        SCOPED_TRACE(size);
        const std::string bytes = sampleFile(size);
        loopback(ptZmodem, bytes);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(receiverEvents, finishOnly(0));
        EXPECT_TRUE(folder.read("RECV.NC") == bytes);
        EXPECT_EQ(transfer.progress().bytesTransferred, long(size));
        EXPECT_EQ(receiver.progress().bytesTransferred, long(size));
    }
    EXPECT_NE(folder.read("ztrprot2.txt").find("Zmodem receive finished OK"), std::string::npos);
}

TEST_F(ZmodemTest, DamagedDataIsSentAgainFromWhereItWentWrong) {
    struct Case {
        const char* what;
        FakeLineRelay::Alter alter;
    };
    const Case cases[] = {
        {"a byte changed",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             return i == 20000 ? uint8_t(b ^ 0x04) : b;
         }},
        {"bytes lost",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             if (i >= 30000 && i < 30010) return std::nullopt;
             return b;
         }},
        {"damage every 7000 bytes",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             return i % 7000 == 6999 ? uint8_t(~b) : b;
         }},
    };
    const std::string bytes = sampleFile(60000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeLineRelay relay(device, device2, c.alter);
        loopback(ptZmodem, bytes);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(receiverEvents, finishOnly(0));
        EXPECT_TRUE(folder.read("RECV.NC") == bytes);
        EXPECT_GE(receiver.progress().totalErrors, 1);
    }
}

TEST_F(ZmodemTest, SilentPeersTimeOutAndAreCancelled) {
    for (const bool receiving : {false, true}) {
        SCOPED_TRACE(receiving);
        events.clear();
        transfer.ProtocolType = ptZmodem;
        transfer.FileMask = folder.write("PART.NC", "G1\r\n");
        transfer.FileName = folder.file("RECV.NC");
        receiving ? transfer.startReceive() : transfer.startTransmit();
        runToEnd();
        EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
        EXPECT_EQ(transfer.progress().statusText, "Time out in protocol");
        EXPECT_TRUE(runUntilSent(cancelSequence()));
    }
}

// The scripted sender's side of a receive up to its first data.
class ZmodemReceiveTest : public ZmodemTest {
protected:
    void offer(const std::string& name, const std::string& info, uint8_t option = 0) {
        say(binaryHeader(ZFILE, {0, 0, 0, option}, true) +
            dataSubpacket(name + std::string(1, '\0') + info, ZCRCW, true));
    }
    std::string rpos(uint32_t at) { return hexHeader(ZRPOS, positionBytes(at)); }
};

TEST_F(ZmodemReceiveTest, CancelAndCarrierLossKeepThePartReceived) {
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        events.clear();
        std::filesystem::remove(folder.file("RECV.NC"));
        transfer.ProtocolType = ptZmodem;
        transfer.FileName = folder.file("RECV.NC");
        transfer.startReceive();
        offer("PART.NC", "9 0");
        ASSERT_TRUE(runUntilSent(rpos(0)));
        say(binaryHeader(ZDATA, positionBytes(0), true) + dataSubpacket("G1 X1\r\n", ZCRCG, true));
        ASSERT_TRUE(clock.waitUntil([&] { return transfer.progress().bytesTransferred == 7; },
                                    seconds(5), WaitMode::Responsive));
        if (cancel) {
            transfer.cancel();
            runToEnd();
            EXPECT_EQ(events, finishOnly(code::kCancelRequested));
            EXPECT_TRUE(runUntilSent(cancelSequence()));
        } else {
            peer().unplug();
            runToEnd();
            EXPECT_EQ(events, errorAndFinish(code::kCarrierLost));
        }
        EXPECT_EQ(folder.read("RECV.NC"), "G1 X1\r\n");
    }
}

TEST_F(ZmodemReceiveTest, ResumesAPartialFileWhenTheSenderAsks) {
    folder.write("RECV.NC", "G1 X1\r\n");
    transfer.ProtocolType = ptZmodem;
    transfer.FileName = folder.file("RECV.NC");
    transfer.startReceive();
    offer("PART.NC", "14 0", ZCRESUM);
    ASSERT_TRUE(runUntilSent(rpos(7)));
    say(binaryHeader(ZDATA, positionBytes(7), true) + dataSubpacket("G2 Y2\r\n", ZCRCE, true) +
        binaryHeader(ZEOF, positionBytes(14), true));
    ASSERT_TRUE(runUntilSent(hexHeader(ZRINIT, {0, 0, 0, CANFDX | CANOVIO | CANFC32})));
    say(hexHeader(ZFIN, {}));
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("RECV.NC"), "G1 X1\r\nG2 Y2\r\n");
}

TEST_F(ZmodemReceiveTest, AnOfferMadeAgainIsAnsweredAgain) {
    transfer.ProtocolType = ptZmodem;
    transfer.FileName = folder.file("RECV.NC");
    transfer.startReceive();
    offer("PART.NC", "3 0");
    ASSERT_TRUE(runUntilSent(rpos(0)));
    peer().clearReceived();
    offer("PART.NC", "3 0");  // as if our ZRPOS had been lost
    ASSERT_TRUE(runUntilSent(rpos(0)));
    say(binaryHeader(ZDATA, positionBytes(0), true) + dataSubpacket("M30", ZCRCE, true) +
        binaryHeader(ZEOF, positionBytes(3), true) + hexHeader(ZFIN, {}));
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("RECV.NC"), "M30");
}

TEST_F(ZmodemReceiveTest, NamesThatLeaveTheFolderAreSkipped) {
    transfer.ProtocolType = ptZmodem;
    transfer.FileName = folder.path();  // a folder: files keep their sent names
    transfer.startReceive();
    for (const std::string name : {"../ESCAPE.NC", "/tmp/ESCAPE.NC", "SUB/../../ESCAPE.NC", ""}) {
        SCOPED_TRACE(name);
        peer().clearReceived();
        offer(name, "3 0");
        EXPECT_TRUE(runUntilSent(hexHeader(ZSKIP, {})));
        EXPECT_EQ(transfer.progress().statusText, "File skipped");
    }
    offer("GOOD.NC", "3 0");
    ASSERT_TRUE(runUntilSent(rpos(0)));
    say(binaryHeader(ZDATA, positionBytes(0), true) + dataSubpacket("M30", ZCRCE, true) +
        binaryHeader(ZEOF, positionBytes(3), true) + hexHeader(ZFIN, {}));
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("GOOD.NC"), "M30");
    EXPECT_FALSE(std::filesystem::exists(folder.file("../ESCAPE.NC")));
    EXPECT_FALSE(std::filesystem::exists("/tmp/ESCAPE.NC"));
}

TEST_F(ZmodemTest, SenderEndsWithFileRejectedWhenTheReceiverSkips) {
    transfer.ProtocolType = ptZmodem;
    transfer.FileMask = folder.write("PART.NC", "G1\r\n");
    transfer.startTransmit();
    say(hexHeader(ZRINIT, {0, 0, 0, CANFDX | CANOVIO | CANFC32}));
    ASSERT_TRUE(
        clock.waitUntil([&] { return peer().received().find("PART.NC") != std::string::npos; },
                        seconds(5), WaitMode::Responsive));
    say(hexHeader(ZSKIP, {}));
    ASSERT_TRUE(runUntilSent(hexHeader(ZFIN, {})));
    say(hexHeader(ZFIN, {}));
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kFileRejected));
    EXPECT_EQ(transfer.progress().statusText, "File rejected");
}

// The windows and acknowledgements pace a send, not the line clock: the
// driver is kept full ahead of the line, a cancel still reaches the peer at
// once (what the driver held is dropped first), and the port is given back
// paced by its clock.
TEST_F(ZmodemTest, SendsKeepTheDriverFullAndCancelsGoAtOnce) {
    FakeLineRelay cable(device, device2);
    size_t mostAhead = 0;
    OutputPacing pacingInTransfer = OutputPacing::LineClock;
    QObject::connect(&port, &ComPort::outputProgress, [&] {
        if (!transfer.inProgress()) return;
        mostAhead = std::max(mostAhead, *device.outputQueued());
        pacingInTransfer = port.outputPacing();
    });
    const std::string bytes = sampleFile(200000);
    loopback(ptZmodem, bytes);
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_TRUE(folder.read("RECV.NC") == bytes);
    EXPECT_EQ(pacingInTransfer, OutputPacing::Device);
    EXPECT_GT(mostAhead, ComPort::kDeviceLeadBytes / 2);
    EXPECT_LE(mostAhead, ComPort::kDeviceLeadBytes);
    EXPECT_EQ(port.outputPacing(), OutputPacing::LineClock);

    // A cancel in mid-stream, with the driver full.
    events.clear();
    receiverEvents.clear();
    receiver.startReceive();
    transfer.startTransmit();
    ASSERT_TRUE(clock.waitUntil(
        [&] {
            return cable.aToBCount > 50000 &&
                   *device.outputQueued() > ComPort::kDeviceLeadBytes / 2;
        },
        seconds(30), WaitMode::Responsive));
    const Clock::Duration cancelledAt = clock.now();
    const size_t sentBefore = cable.aToBCount;
    transfer.cancel();
    EXPECT_EQ(events, finishOnly(code::kCancelRequested));
    EXPECT_EQ(port.outputPacing(), OutputPacing::LineClock);
    clock.waitUntil([&] { return !receiver.inProgress(); }, seconds(30), WaitMode::Responsive);
    EXPECT_LE(cable.aToBCount - sentBefore, cancelSequence().size() + 2);
    EXPECT_FALSE(receiverEvents.empty());
    EXPECT_LT(clock.now() - cancelledAt, seconds(1));
}

}  // namespace
}  // namespace zantor
