// XMODEM and YMODEM on the fake line, on simulated time: between two of
// our stations, and against a scripted peer for the error paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "dnc/port/transfer_crc.h"
#include "dnc/port/xmodem_blocks.h"
#include "protocol_test_fixture.h"

namespace zantor {
namespace {

namespace code = transfer_code;
using std::chrono::seconds;
using testing::FakeLineRelay;
using testing::sampleFile;

const std::string kAck = "\x06", kNak = "\x15", kEot = "\x04", kCan = "\x18";

class XmodemTest : public testing::TwoStationTest {
protected:
    std::string block(uint8_t number, const std::string& data, bool crc = true) {
        return xmodem::encodeBlock(number, data, false, crc);
    }
};

TEST_F(XmodemTest, BlocksCarryTheirNumberAndCheck) {
    const std::string data = "G1 X10\r\n";
    const std::string crcBlock = xmodem::encodeBlock(3, data, false, true);
    ASSERT_EQ(crcBlock.size(), 133u);
    EXPECT_EQ(crcBlock.substr(0, 3), "\x01\x03\xFC");
    EXPECT_EQ(crcBlock.substr(3, data.size()), data);
    EXPECT_EQ(crcBlock[3 + 127], '\x1A');
    const uint16_t crc = crc16(reinterpret_cast<const uint8_t*>(crcBlock.data() + 3), 128);
    EXPECT_EQ(uint8_t(crcBlock[131]), crc >> 8);
    EXPECT_EQ(uint8_t(crcBlock[132]), crc & 0xFF);
    EXPECT_EQ(crc16(reinterpret_cast<const uint8_t*>("123456789"), 9), 0x31C3);

    const std::string sumBlock = xmodem::encodeBlock(1, "AB", false, false);
    ASSERT_EQ(sumBlock.size(), 132u);
    EXPECT_EQ(uint8_t(sumBlock[131]), uint8_t('A' + 'B' + 126 * 0x1A));
    EXPECT_EQ(xmodem::encodeBlock(1, "", true, true).size(), 1029u);

    const auto header = xmodem::parseHeader(xmodem::headerData("PART.NC", 3000, 8));
    EXPECT_EQ(header.name, "PART.NC");
    EXPECT_EQ(header.size, 3000);
    EXPECT_EQ(xmodem::headerData("PART.NC", 3000, 8), std::string("PART.NC\0003000 10 100644 0", 24));
}

TEST_F(XmodemTest, OurStationsCarryFilesByteForByte) {
    FakeLineRelay cable(device, device2);
    for (const TProtocolType protocol : {ptXmodemCRC, ptYmodem}) {
        for (const size_t size : {size_t(0), size_t(1), size_t(128), size_t(1000), size_t(70000)}) {
            SCOPED_TRACE(::testing::Message() << protocolName(protocol) << " " << size);
            const std::string bytes = sampleFile(size);
            loopback(protocol, bytes);
            EXPECT_EQ(events, finishOnly(0));
            EXPECT_EQ(receiverEvents, finishOnly(0));
            EXPECT_EQ(folder.read("RECV.NC"), bytes);
            EXPECT_EQ(transfer.progress().bytesTransferred, long(size));
        }
    }
    EXPECT_NE(folder.read("ztrprot.txt").find("Ymodem transmit finished OK"), std::string::npos);
    EXPECT_NE(folder.read("ztrprot2.txt").find("XmodemCRC receive finished OK"), std::string::npos);
}

TEST_F(XmodemTest, DamagedAndLostBytesAreSentAgain) {
    for (const TProtocolType protocol : {ptXmodemCRC, ptYmodem}) {
        SCOPED_TRACE(protocolName(protocol));
        FakeLineRelay relay(
            device, device2,
            [](uint8_t b, size_t i) -> std::optional<uint8_t> {
                if (i == 700) return uint8_t(b ^ 0x20);  // a damaged block
                if (i == 3000) return std::nullopt;      // a block cut short
                return b;
            },
            [](uint8_t b, size_t i) -> std::optional<uint8_t> {
                if (i == 5) return std::nullopt;  // a lost ACK: the block comes twice
                return b;
            });
        const std::string bytes = sampleFile(20000);
        loopback(protocol, bytes);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(receiverEvents, finishOnly(0));
        EXPECT_EQ(folder.read("RECV.NC"), bytes);
        EXPECT_GE(transfer.progress().totalErrors, 2);
    }
}

TEST_F(XmodemTest, SenderUsesTheChecksumWhenTheReceiverAsksByNak) {
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileMask = folder.write("PART.NC", "G1 X1\r\n");
    transfer.startTransmit();
    say(kNak);
    ASSERT_TRUE(runUntilSent(block(1, "G1 X1\r\n", false)));
    say(kAck);
    ASSERT_TRUE(runUntilSent(kEot));
    say(kAck);
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(peer().received(), block(1, "G1 X1\r\n", false) + kEot);
}

TEST_F(XmodemTest, ReceiverFallsBackToTheChecksumWhenCrcGoesUnanswered) {
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileName = folder.file("RECV.NC");
    transfer.startReceive();
    ASSERT_TRUE(runUntilSent("CCC" + kNak));
    say(block(1, "G1 X1\r\n", false));
    ASSERT_TRUE(runUntilSent(kAck));
    say(kEot);
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("RECV.NC"), "G1 X1\r\n");
}

TEST_F(XmodemTest, SilentPeersTimeOutAndAreCancelled) {
    for (const bool receiving : {false, true}) {
        SCOPED_TRACE(receiving);
        events.clear();
        peer().clearReceived();
        transfer.ProtocolType = receiving ? ptYmodem : ptXmodemCRC;
        transfer.FileMask = folder.write("PART.NC", "G1\r\n");
        transfer.FileName = folder.file("RECV.NC");
        const auto start = clock.now();
        receiving ? transfer.startReceive() : transfer.startTransmit();
        runToEnd();
        EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
        EXPECT_EQ(transfer.progress().statusText, "Time out in protocol");
        EXPECT_GE(clock.now() - start, ticksToDuration(transfer.HandshakeWait) - seconds(3));
        EXPECT_TRUE(runUntilSent(cancelSequence()));
        EXPECT_FALSE(std::filesystem::exists(folder.file("RECV.NC")));
    }
}

TEST_F(XmodemTest, BlockOutOfSequenceEndsTheReceive) {
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileName = folder.file("RECV.NC");
    transfer.startReceive();
    ASSERT_TRUE(runUntilSent("C"));
    say(block(1, "G1\r\n"));
    ASSERT_TRUE(runUntilSent(kAck));
    say(block(3, "G3\r\n"));
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kBlockSequence));
    EXPECT_EQ(transfer.progress().statusText, "Block was out of sequence");
    EXPECT_TRUE(runUntilSent(cancelSequence()));
    EXPECT_FALSE(std::filesystem::exists(folder.file("RECV.NC")));
}

TEST_F(XmodemTest, CancelStopsThePeerAndKeepsTheOldFile) {
    const std::string old = folder.write("RECV.NC", "old program");
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileName = old;
    transfer.startReceive();
    ASSERT_TRUE(runUntilSent("C"));
    say(block(1, "G1\r\n"));
    ASSERT_TRUE(runUntilSent(kAck));
    transfer.cancel();
    runToEnd();
    EXPECT_EQ(events, finishOnly(code::kCancelRequested));
    EXPECT_TRUE(runUntilSent(cancelSequence()));
    EXPECT_EQ(folder.read("RECV.NC"), "old program");
    EXPECT_NE(folder.read("ztrprot.txt").find("XmodemCRC receive failed"), std::string::npos);
}

TEST_F(XmodemTest, PeerCancelAndCarrierLossEndTheSend) {
    transfer.ProtocolType = ptYmodem;
    transfer.FileMask = folder.write("PART.NC", sampleFile(5000));
    transfer.startTransmit();
    say("C");
    ASSERT_TRUE(clock.waitUntil([&] { return peer().received().size() >= 133; }, seconds(5),
                                WaitMode::Responsive));
    say(kCan + kCan);
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kCancelRequested));

    events.clear();
    peer().clearReceived();
    transfer.startTransmit();
    say("C");
    ASSERT_TRUE(clock.waitUntil([&] { return peer().received().size() >= 133; }, seconds(5),
                                WaitMode::Responsive));
    say(kAck + "C");
    ASSERT_TRUE(clock.waitUntil([&] { return peer().received().size() >= 700; }, seconds(5),
                                WaitMode::Responsive));
    peer().unplug();
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kCarrierLost));
    EXPECT_EQ(transfer.progress().statusText, "Aborting on carrier loss");
}

}  // namespace
}  // namespace zantor
