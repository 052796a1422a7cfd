// Kermit on the fake line, on simulated time: between two of our stations
// through a cable that damages packets, and against a scripted peer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "dnc/port/kermit_init.h"
#include "dnc/port/kermit_packet.h"
#include "protocol_test_fixture.h"

namespace zantor {
namespace {

namespace code = transfer_code;
using namespace kermit;
using std::chrono::seconds;
using testing::FakeLineRelay;
using testing::sampleFile;

// The packets in what one end sent, read with the 1-character check.
std::vector<Packet> packetsIn(const std::string& bytes) {
    PacketReader reader;
    std::vector<Packet> packets;
    for (const char c : bytes)
        if (reader.feed(uint8_t(c)) == PacketReader::Result::Packet)
            packets.push_back(reader.packet());
    return packets;
}

int countOf(const std::vector<Packet>& packets, char type) {
    return int(std::count_if(packets.begin(), packets.end(),
                             [type](const Packet& p) { return p.type == type; }));
}

class KermitTest : public testing::TwoStationTest {
protected:
    // What a scripted peer says: a packet with the 1-character check.
    void sayPacket(int seq, char type, const std::string& data = {}) {
        say(encodePacket({seq, type, data}, 1));
    }
    // A plain Send-Init or its answer: normal packets, no windows, no attributes.
    static std::string plainInit() {
        InitParams p;
        p.repeat = ' ';
        return encodeInit(p);
    }
    std::vector<Packet> sent() { return packetsIn(peer().received()); }
    // Runs until our station has sent `count` packets of `type`.
    bool runUntilSentPackets(char type, int count = 1, int waitSeconds = 30) {
        return clock.waitUntil([&] { return countOf(sent(), type) >= count; }, seconds(waitSeconds),
                               WaitMode::Responsive);
    }
    bool lastSentIs(char type) {
        const auto packets = sent();
        return !packets.empty() && packets.back().type == type;
    }
    // The error packet that tells the peer why goes out after the end.
    bool errorPacketSent() {
        return clock.waitUntil([&] { return lastSentIs(kError); }, seconds(2),
                               WaitMode::Responsive);
    }
};

TEST_F(KermitTest, OurStationsCarryFilesByteForByte) {
    FakeLineRelay cable(device, device2);
    for (const size_t size : {size_t(0), size_t(1), size_t(1024), size_t(70001)}) {
        SCOPED_TRACE(size);
        const std::string bytes = sampleFile(size);
        loopback(ptKermit, bytes);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(receiverEvents, finishOnly(0));
        EXPECT_TRUE(folder.read("RECV.NC") == bytes);
        EXPECT_EQ(transfer.progress().bytesTransferred, long(size));
        EXPECT_EQ(receiver.progress().bytesTransferred, long(size));
        EXPECT_EQ(receiver.progress().fileSize, long(size));  // from the attributes
        // Both ends offer the longest window and long packets.
        EXPECT_EQ(transfer.progress().kermitWindows, kLongestWindow);
        EXPECT_EQ(receiver.progress().kermitWindows, kLongestWindow);
        EXPECT_GT(transfer.progress().blockSize, 1000);
        EXPECT_EQ(receiver.progress().blockSize, transfer.progress().blockSize);
        EXPECT_EQ(transfer.progress().totalErrors, 0);
    }
    EXPECT_NE(folder.read("ztrprot.txt").find("Kermit transmit finished OK"), std::string::npos);
    EXPECT_NE(folder.read("ztrprot2.txt").find("Kermit receive finished OK"), std::string::npos);
}

// Seven data bits with parity: bytes with the 8th bit travel behind a prefix.
TEST_F(KermitTest, EveryByteCrossesASevenBitLine) {
    for (ComPort* p : {&port, &port2}) p->setLineSettings({115200, 7, TParity::pEven, 1});
    FakeLineRelay cable(device, device2);
    const std::string bytes = sampleFile(20000);
    loopback(ptKermit, bytes);
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(receiverEvents, finishOnly(0));
    EXPECT_TRUE(folder.read("RECV.NC") == bytes);
}

TEST_F(KermitTest, DamagedOrLostPacketsAreSentAgain) {
    struct Case {
        const char* what;
        FakeLineRelay::Alter toReceiver, toSender;
        bool receiverSeesErrors;
    };
    const auto keep = [](uint8_t b, size_t) -> std::optional<uint8_t> { return b; };
    const Case cases[] = {
        {"a data byte changed",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             return i == 20000 ? uint8_t(b ^ 0x04) : b;
         },
         keep, true},
        {"bytes lost",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             if (i >= 30000 && i < 30010) return std::nullopt;
             return b;
         },
         keep, true},
        {"damage every 7000 bytes",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             return i % 7000 == 6999 ? uint8_t(~b) : b;
         },
         keep, true},
        {"the Send-Init lost",
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             if (i < 5) return std::nullopt;
             return b;
         },
         keep, false},
        {"an acknowledgement damaged", keep,
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             return i == 60 ? uint8_t(b ^ 0x01) : b;
         },
         false},
        {"an acknowledgement lost", keep,
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             if (i >= 100 && i < 140) return std::nullopt;
             return b;
         },
         false},
        {"the answer to the Send-Init lost", keep,
         [](uint8_t b, size_t i) -> std::optional<uint8_t> {
             if (i < 10) return std::nullopt;
             return b;
         },
         false},
        // The file is whole at the receiver once it has acknowledged its end.
        {"the answer to the end of the batch lost", keep,
         [this](uint8_t b, size_t) -> std::optional<uint8_t> {
             if (!receiver.inProgress()) return std::nullopt;
             return b;
         },
         false},
    };
    const std::string bytes = sampleFile(60000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeLineRelay relay(device, device2, c.toReceiver, c.toSender);
        loopback(ptKermit, bytes);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(receiverEvents, finishOnly(0));
        EXPECT_TRUE(folder.read("RECV.NC") == bytes);
        EXPECT_EQ(receiver.progress().bytesTransferred, long(bytes.size()));
        if (c.receiverSeesErrors) {
            EXPECT_GE(receiver.progress().totalErrors, 1);
        }
    }
}

TEST_F(KermitTest, SilentPeersTimeOutAndAreToldWhy) {
    for (const bool receiving : {false, true}) {
        SCOPED_TRACE(receiving);
        events.clear();
        peer().clearReceived();
        transfer.ProtocolType = ptKermit;
        transfer.FileMask = folder.write("PART.NC", "G1\r\n");
        transfer.FileName = folder.file("RECV.NC");
        const auto startedAt = clock.now();
        receiving ? transfer.startReceive() : transfer.startTransmit();
        runToEnd();
        EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
        EXPECT_EQ(transfer.progress().statusText, "Time out in protocol");
        // It tried for the handshake wait, asking again all along.
        EXPECT_GE(clock.now() - startedAt, ticksToDuration(transfer.HandshakeWait));
        EXPECT_GE(countOf(sent(), receiving ? kNak : kSendInit), 5);
        EXPECT_TRUE(errorPacketSent());
        EXPECT_FALSE(std::filesystem::exists(folder.file("RECV.NC")));
    }
}

// A peer that stops answering in the middle: each packet goes again a
// limited number of times, then the transfer ends with a time-out.
TEST_F(KermitTest, APeerThatStopsAnsweringEndsWithATimeOut) {
    for (const bool receiving : {false, true}) {
        SCOPED_TRACE(receiving);
        events.clear();
        peer().clearReceived();
        transfer.ProtocolType = ptKermit;
        transfer.FileMask = folder.write("PART.NC", "G1\r\n");
        transfer.FileName = folder.file("RECV.NC");
        if (receiving) {
            transfer.startReceive();
            sayPacket(0, kSendInit, plainInit());
            ASSERT_TRUE(runUntilSentPackets(kAck));
        } else {
            transfer.startTransmit();
            ASSERT_TRUE(runUntilSentPackets(kSendInit));
            sayPacket(0, kAck, plainInit());
            ASSERT_TRUE(runUntilSentPackets(kFileHeader));
        }
        runToEnd();
        EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
        EXPECT_EQ(transfer.progress().statusText, "Time out in protocol");
        const auto packets = sent();
        // The packet it waited on is asked for (or sent) again, ten times in all.
        EXPECT_EQ(countOf(packets, receiving ? kNak : kFileHeader), receiving ? 9 : 10);
        EXPECT_TRUE(errorPacketSent());
    }
}

TEST_F(KermitTest, DamagedPacketFromTheSenderIsAskedForAgain) {
    transfer.ProtocolType = ptKermit;
    transfer.FileName = folder.file("RECV.NC");
    transfer.startReceive();
    sayPacket(0, kSendInit, plainInit());
    ASSERT_TRUE(runUntilSentPackets(kAck));
    sayPacket(1, kFileHeader, "PART.NC");
    ASSERT_TRUE(runUntilSentPackets(kAck, 2));
    std::string damaged = encodePacket({2, kData, "G1 X1#M#J"}, 1);
    damaged[6] ^= 0x02;
    say(damaged);
    ASSERT_TRUE(runUntilSentPackets(kNak));
    EXPECT_EQ(sent().back().seq, 2);
    EXPECT_EQ(transfer.progress().statusText, "Bad checksum or CRC");
    sayPacket(2, kData, "G1 X1#M#J");
    sayPacket(3, kEndOfFile);
    sayPacket(4, kEndOfBatch);
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("RECV.NC"), "G1 X1\r\n");
    EXPECT_EQ(transfer.progress().totalErrors, 1);
    EXPECT_TRUE(runUntilSentPackets(kAck, 5));  // S F D Z B
}

TEST_F(KermitTest, SenderSendsAPacketAgainWhenAskedAndWhenItsAnswerIsDamaged) {
    transfer.ProtocolType = ptKermit;
    transfer.FileMask = folder.write("PART.NC", "G1 X1\r\n");
    transfer.startTransmit();
    ASSERT_TRUE(runUntilSentPackets(kSendInit));
    sayPacket(0, kAck, plainInit());
    ASSERT_TRUE(runUntilSentPackets(kFileHeader));
    sayPacket(1, kNak);
    ASSERT_TRUE(runUntilSentPackets(kFileHeader, 2));
    std::string damaged = encodePacket({1, kAck, ""}, 1);
    damaged[3] = 'N';  // the check no longer fits
    say(damaged);
    ASSERT_TRUE(runUntilSentPackets(kFileHeader, 3, 60));
    sayPacket(1, kAck);
    ASSERT_TRUE(runUntilSentPackets(kData));
    const auto data = sent().back();
    EXPECT_EQ(data.seq, 2);
    EXPECT_EQ(data.data, "G1 X1#M#J");
    sayPacket(2, kAck);
    ASSERT_TRUE(runUntilSentPackets(kEndOfFile));
    sayPacket(3, kAck);
    ASSERT_TRUE(runUntilSentPackets(kEndOfBatch));
    sayPacket(4, kAck);
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(transfer.progress().bytesTransferred, 7);
    // The NAK, the damaged answer and the time-out after it.
    EXPECT_EQ(transfer.progress().totalErrors, 3);
}

TEST_F(KermitTest, CancelStopsThePeerWithAnErrorPacket) {
    for (const bool receiving : {false, true}) {
        SCOPED_TRACE(receiving);
        events.clear();
        peer().clearReceived();
        std::filesystem::remove(folder.file("RECV.NC"));
        transfer.ProtocolType = ptKermit;
        transfer.FileMask = folder.write("PART.NC", sampleFile(5000));
        transfer.FileName = folder.file("RECV.NC");
        if (receiving) {
            transfer.startReceive();
            sayPacket(0, kSendInit, plainInit());
            sayPacket(1, kFileHeader, "PART.NC");
            sayPacket(2, kData, "G1 X1#M#J");
            ASSERT_TRUE(runUntilSentPackets(kAck, 3));
        } else {
            transfer.startTransmit();
            ASSERT_TRUE(runUntilSentPackets(kSendInit));
            sayPacket(0, kAck, plainInit());
            ASSERT_TRUE(runUntilSentPackets(kFileHeader));
            sayPacket(1, kAck);
            ASSERT_TRUE(runUntilSentPackets(kData));
        }
        transfer.cancel();
        runToEnd();
        EXPECT_EQ(events, finishOnly(code::kCancelRequested));
        EXPECT_EQ(transfer.progress().statusText, "Cancel requested");
        EXPECT_TRUE(errorPacketSent());
        // A Kermit receive that did not finish keeps nothing.
        EXPECT_FALSE(std::filesystem::exists(folder.file("RECV.NC")));
    }
}

TEST_F(KermitTest, AnErrorPacketFromThePeerEndsTheTransfer) {
    transfer.ProtocolType = ptKermit;
    transfer.FileMask = folder.write("PART.NC", "G1\r\n");
    transfer.startTransmit();
    ASSERT_TRUE(runUntilSentPackets(kSendInit));
    sayPacket(0, kError, "Disk full");
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kUnrecoverable));
}

TEST_F(KermitTest, NamesThatLeaveTheFolderAreRefused) {
    transfer.ProtocolType = ptKermit;
    transfer.FileName = folder.path();  // a folder: files keep their sent names
    transfer.startReceive();
    sayPacket(0, kSendInit, plainInit());
    ASSERT_TRUE(runUntilSentPackets(kAck));
    int seq = 1;
    for (const std::string name : {"../ESCAPE.NC", "/tmp/ESCAPE.NC"}) {
        SCOPED_TRACE(name);
        peer().clearReceived();
        sayPacket(seq++, kFileHeader, name);
        sayPacket(seq++, kData, "M30");
        ASSERT_TRUE(runUntilSentPackets(kAck, 2));
        EXPECT_EQ(sent().back().data, "X");  // no more of this file
        EXPECT_EQ(transfer.progress().statusText, "File skipped");
        sayPacket(seq++, kEndOfFile, "D");
        ASSERT_TRUE(runUntilSentPackets(kAck, 3));
    }
    sayPacket(seq++, kFileHeader, "GOOD.NC");
    sayPacket(seq++, kData, "M30");
    sayPacket(seq++, kEndOfFile);
    sayPacket(seq++, kEndOfBatch);
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(folder.read("GOOD.NC"), "M30");
    EXPECT_FALSE(std::filesystem::exists(folder.file("../ESCAPE.NC")));
    EXPECT_FALSE(std::filesystem::exists("/tmp/ESCAPE.NC"));
}

}  // namespace
}  // namespace zantor
