// Kermit's building blocks: block checks, packets on the line, the
// prefixing of data fields, the Send-Init exchange and the windows.
#include "dnc/port/kermit_packet.h"

#include <gtest/gtest.h>

#include "dnc/port/kermit_check.h"
#include "dnc/port/kermit_data.h"
#include "dnc/port/kermit_init.h"
#include "dnc/port/kermit_window.h"

namespace zantor::kermit {
namespace {

std::string everyByte() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += char(b);
    return bytes;
}

std::vector<std::pair<PacketReader::Result, Packet>> readAll(PacketReader& reader,
                                                             const std::string& line) {
    std::vector<std::pair<PacketReader::Result, Packet>> out;
    for (const char c : line) {
        const auto r = reader.feed(uint8_t(c));
        if (r != PacketReader::Result::None) out.emplace_back(r, reader.packet());
    }
    return out;
}

TEST(KermitCheck, TheThreeBlockChecks) {
    EXPECT_EQ(crc16Reflected("123456789"), 0x2189);
    // An empty acknowledgement, seq 0: "# Y" sums to 156; 156 + 2 folded in
    // is 158, whose low six bits are 30.
    EXPECT_EQ(blockCheck("# Y", 1), ">");
    // 156 in twelve bits: 2 and 28.
    EXPECT_EQ(blockCheck("# Y", 2), std::string({toChar(2), toChar(28)}));
    const uint16_t crc = crc16Reflected("# Y");
    EXPECT_EQ(blockCheck("# Y", 3),
              std::string({toChar(crc >> 12), toChar((crc >> 6) & 63), toChar(crc & 63)}));
    // Bytes above 127 count with all eight bits.
    EXPECT_NE(blockCheck("A\xC1", 2), blockCheck("AA", 2));
}

TEST(KermitPacket, NormalAndLongPacketsOnTheLine) {
    EXPECT_EQ(encodePacket({0, kAck, ""}, 1), "\x01# Y>\r");
    EXPECT_EQ(encodePacket({0, kAck, ""}, 1, {2, 0x7F, '\n'}), "\x7F\x7F\x01# Y>\n");
    // 90 data characters with a 3-character check fill a normal packet
    // (LEN 95 would not fit); one more makes it long.
    const std::string line90 = encodePacket({5, kData, std::string(89, 'x')}, 3);
    EXPECT_EQ(line90[1], toChar(94));
    const std::string line91 = encodePacket({5, kData, std::string(90, 'x')}, 3);
    EXPECT_EQ(line91[1], ' ');
    EXPECT_EQ(line91[4], toChar(93 / 95));
    EXPECT_EQ(line91[5], toChar(93 % 95));
    EXPECT_EQ(line91[6], blockCheck(line91.substr(1, 5), 1)[0]);
}

TEST(KermitPacket, ReaderTakesBackWhatWasWrittenWithEachCheck) {
    const std::string sizes[] = {"", "A", std::string(91, 'q'), std::string(5000, 'z')};
    for (int check = 1; check <= 3; ++check) {
        for (const std::string& data : sizes) {
            SCOPED_TRACE(std::to_string(check) + " " + std::to_string(data.size()));
            PacketReader reader;
            reader.setCheckType(check);
            const auto got = readAll(reader, "noise\r" + encodePacket({63, kData, data}, check));
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].first, PacketReader::Result::Packet);
            EXPECT_EQ(got[0].second.seq, 63);
            EXPECT_EQ(got[0].second.type, kData);
            EXPECT_EQ(got[0].second.data, data);
        }
    }
}

TEST(KermitPacket, ReaderReportsDamageAndRecoversAtTheNextMark) {
    PacketReader reader;
    reader.setCheckType(3);
    std::string good = encodePacket({7, kData, "G1 X1"}, 3);
    std::string flipped = good;
    flipped[5] ^= 0x02;
    std::string cut = encodePacket({8, kData, std::string(200, 'a')}, 3).substr(0, 120);
    std::string badHeader = encodePacket({9, kData, std::string(200, 'a')}, 3);
    badHeader[4] ^= 0x01;  // LENX1: the header check no longer fits
    const auto got = readAll(reader, flipped + cut + badHeader + good);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].first, PacketReader::Result::Damaged);
    EXPECT_EQ(got[1].first, PacketReader::Result::Damaged);  // cut short by the next MARK
    EXPECT_EQ(got[2].first, PacketReader::Result::Damaged);
    EXPECT_EQ(got[3].first, PacketReader::Result::Packet);
    EXPECT_EQ(got[3].second.seq, 7);

    // A long packet longer than the reader takes is damage, not a wait.
    reader.setLongest(1000);
    const auto tooLong = readAll(reader, encodePacket({1, kData, std::string(2000, 'b')}, 3));
    ASSERT_FALSE(tooLong.empty());
    EXPECT_EQ(tooLong[0].first, PacketReader::Result::Damaged);
}

TEST(KermitPacket, SendInitAndErrorAreReadWithTheFirstCheckWhateverIsAgreed) {
    PacketReader reader;
    reader.setCheckType(3);
    const auto got = readAll(reader, encodePacket({0, kSendInit, "~* @-#Y3~"}, 1) +
                                         encodePacket({4, kError, "Disk full"}, 1) +
                                         encodePacket({4, kData, "x"}, 1));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].second.type, kSendInit);
    EXPECT_EQ(got[1].second.data, "Disk full");
    EXPECT_EQ(got[2].first, PacketReader::Result::Damaged);
}

TEST(KermitPacket, SevenBitReaderDropsParity) {
    PacketReader reader;
    reader.setSevenBit(true);
    std::string line = encodePacket({3, kAck, "X"}, 1);
    for (char& c : line)
        if (__builtin_parity(uint8_t(c))) c = char(uint8_t(c) | 0x80);  // even parity
    const auto got = readAll(reader, line);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].second.data, "X");
}

TEST(KermitData, Prefixing) {
    struct Case {
        const char* name;
        Quoting quoting;
        std::string bytes, field;
    };
    const Quoting plain{'#', 0, 0}, seven{'#', '&', 0}, repeats{'#', 0, '~'};
    const Case cases[] = {
        {"line ends", plain, "G1\r\n", "G1#M#J"},
        {"NUL and DEL", plain, std::string("\0\x7F", 2), "#@#?"},
        {"the prefix itself", plain, "#1=2", "##1=2"},
        {"8-bit control on an 8-bit line", plain, "\x81\xFF", "#\xC1#\xBF"},
        {"8-bit text on an 8-bit line", plain, "\xC1", "\xC1"},
        {"8th-bit prefix", seven, "\xC1\x8D", "&A&#M"},
        {"8th-bit prefix character quoted", seven, "&\xA6", "#&&#&"},
        {"ampersand is data without 8th-bit prefixing", plain, "&", "&"},
        {"repeat count", repeats, "X     Y", "X~% Y"},
        {"two are not counted", repeats, "AAB", "AAB"},
        {"three are", repeats, "AAAB", "~#AB"},
        {"repeated control", repeats, "\r\r\r\r", "~$#M"},
        {"a run longer than a count takes", repeats, std::string(100, '0'), "~~0~&0"},
        {"the repeat character quoted", repeats, "~", "#~"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string field;
        EXPECT_EQ(encodeData(c.bytes, c.quoting, 1000, field), c.bytes.size());
        EXPECT_EQ(field, c.field);
        std::string back;
        ASSERT_TRUE(decodeData(field, c.quoting, back));
        EXPECT_EQ(back, c.bytes);
    }
}

TEST(KermitData, EveryByteRoundTripsUnderEveryQuoting) {
    const std::string bytes = everyByte() + std::string(300, '\0') + "~~~&&&###";
    for (const Quoting q :
         {Quoting{'#', 0, 0}, Quoting{'#', '&', 0}, Quoting{'#', 0, '~'}, Quoting{'#', '&', '~'}}) {
        std::string field;
        ASSERT_EQ(encodeData(bytes, q, SIZE_MAX, field), bytes.size());
        for (const char c : field) {
            EXPECT_GE(uint8_t(c & 0x7F), 32);
            EXPECT_NE(uint8_t(c & 0x7F), 127);
            if (q.eighthBit) {
                EXPECT_EQ(uint8_t(c) & 0x80, 0);
            }
        }
        std::string back;
        ASSERT_TRUE(decodeData(field, q, back));
        EXPECT_TRUE(back == bytes);
    }
}

TEST(KermitData, RoomIsNeverExceededNorAPrefixSplit) {
    const Quoting q{'#', '&', '~'};
    const std::string bytes = "\x8D\x8D\x8D\x8DZ";  // "~$&#M" is five characters
    std::string field;
    EXPECT_EQ(encodeData(bytes, q, 4, field), 0u);
    EXPECT_EQ(field, "");
    EXPECT_EQ(encodeData(bytes, q, 5, field), 4u);
    EXPECT_EQ(field, "~$&#M");
    std::string back;
    EXPECT_FALSE(decodeData("AB#", q, back));  // ends inside a prefix
}

TEST(KermitInit, EncodesAndDecodesItsFields) {
    InitParams p;
    p.maxLength = 94;
    p.timeoutSeconds = 7;
    p.padCount = 1;
    p.padChar = 0x7F;
    p.eol = '\r';
    p.eighthBit = '&';
    p.checkType = 3;
    p.longPackets = p.slidingWindows = p.attributes = true;
    p.window = 31;
    p.longLength = 9024;
    const std::string d = encodeInit(p);
    EXPECT_EQ(d, std::string("~'!?-#&3~.?") + toChar(9024 / 95) + toChar(9024 % 95));
    const InitParams back = decodeInit(d);
    EXPECT_EQ(back.maxLength, 94);
    EXPECT_EQ(back.timeoutSeconds, 7);
    EXPECT_EQ(back.padCount, 1);
    EXPECT_EQ(back.padChar, 0x7F);
    EXPECT_EQ(back.eighthBit, '&');
    EXPECT_EQ(back.checkType, 3);
    EXPECT_EQ(back.repeat, '~');
    EXPECT_TRUE(back.longPackets && back.slidingWindows && back.attributes);
    EXPECT_EQ(back.window, 31);
    EXPECT_EQ(back.longLength, 9024);

    // A short init takes the defaults; a continued CAPAS is stepped over.
    const InitParams brief = decodeInit("P");
    EXPECT_EQ(brief.maxLength, 48);
    EXPECT_EQ(brief.checkType, 1);
    EXPECT_EQ(brief.eighthBit, 'N');
    EXPECT_FALSE(brief.longPackets);
    const InitParams continued = decodeInit(std::string("~* @-#Y1~") + toChar(2 | 1) + toChar(0) +
                                            toChar(5) + toChar(1) + toChar(5));
    EXPECT_TRUE(continued.longPackets);
    EXPECT_EQ(continued.window, 5);
    EXPECT_EQ(continued.longLength, 100);
}

TEST(KermitInit, BothEndsAgree) {
    struct Case {
        const char* name;
        InitParams mine, theirs;
        int check, window;
        char eighthBit, repeat;
        size_t sendLength;
    };
    InitParams basic;
    InitParams full = basic;
    full.checkType = 3;
    full.longPackets = full.slidingWindows = full.attributes = true;
    full.window = 31;
    full.longLength = 9024;
    InitParams gk = basic;  // long packets without windows, no MAXLX given
    gk.checkType = 3;
    gk.longPackets = true;
    InitParams sevenBit = full;
    sevenBit.eighthBit = '&';
    InitParams noRepeat = full;
    noRepeat.repeat = ' ';
    InitParams small = full;
    small.window = 4;
    small.longLength = 2000;
    const Case cases[] = {
        {"basic", basic, basic, 1, 1, 0, '~', 94},
        {"check types differ", full, basic, 1, 1, 0, '~', 94},
        {"everything", full, full, 3, 31, 0, '~', 9024},
        {"long packets, default length", full, gk, 3, 1, 0, '~', 500},
        {"the smaller window and length", full, small, 3, 4, 0, '~', 2000},
        {"we ask for 8th-bit prefixing", sevenBit, full, 3, 31, '&', '~', 9024},
        {"they ask for it", full, sevenBit, 3, 31, '&', '~', 9024},
        {"no repeat counts", full, noRepeat, 3, 31, 0, 0, 9024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Agreement a = agree(c.mine, c.theirs);
        EXPECT_EQ(a.checkType, c.check);
        EXPECT_EQ(a.window, c.window);
        EXPECT_EQ(a.outgoing.eighthBit, c.eighthBit);
        EXPECT_EQ(a.incoming.eighthBit, c.eighthBit);
        EXPECT_EQ(a.outgoing.repeat, c.repeat);
        EXPECT_EQ(a.sendLength, c.sendLength);
        // The answer a receiver like `mine` gives leads to the same agreement.
        const InitParams answer = answerInit(c.mine, c.theirs);
        const Agreement b = agree(c.theirs, answer);
        EXPECT_EQ(b.outgoing.eighthBit, c.eighthBit);
        EXPECT_EQ(b.window, c.window);
        EXPECT_EQ(b.checkType, answer.checkType);
    }
    // A refusal of 8th-bit prefixing leaves none.
    InitParams refuses = full;
    refuses.eighthBit = 'N';
    EXPECT_EQ(agree(sevenBit, refuses).outgoing.eighthBit, 0);
}

// A receiver asks a sender without windows for the longest packets, since
// each one waits for its answer; with a window it keeps its own length.
TEST(KermitInit, ReceiverAsksForLongestPacketsOnlyWithoutAWindow) {
    InitParams ours;
    ours.checkType = 3;
    ours.longPackets = ours.slidingWindows = true;
    ours.window = 31;
    ours.longLength = 2048;
    InitParams stopAndWait;
    stopAndWait.longPackets = true;
    InitParams windowed = stopAndWait;
    windowed.slidingWindows = true;
    windowed.window = 8;

    const InitParams toStopAndWait = answerInit(ours, stopAndWait);
    EXPECT_EQ(toStopAndWait.longLength, int(kLongestPacket));
    EXPECT_EQ(agree(stopAndWait, toStopAndWait).sendLength, kLongestPacket);
    EXPECT_EQ(answerInit(ours, windowed).longLength, 2048);
    InitParams shortOnly = stopAndWait;
    shortOnly.longPackets = false;
    EXPECT_EQ(agree(shortOnly, answerInit(ours, shortOnly)).sendLength, 94u);
}

TEST(KermitInit, DataRoomFitsTheLongestPacketTheOtherEndTakes) {
    Agreement a;
    a.checkType = 3;
    a.sendLength = 94;
    EXPECT_EQ(a.dataRoom(), 89u);
    EXPECT_EQ(encodePacket({1, kData, std::string(a.dataRoom(), 'x')}, 3)[1], toChar(94));
    a.sendLength = 9024;
    EXPECT_EQ(a.dataRoom(), 9015u);
}

TEST(KermitWindow, SenderSlidesPastAcknowledgedPacketsOnly) {
    SendWindow w;
    w.setSize(3);
    for (int seq : {62, 63, 0}) w.add({seq, "p" + std::to_string(seq), 10, false});
    EXPECT_TRUE(w.full());
    EXPECT_TRUE(w.acknowledge(63));
    EXPECT_FALSE(w.acknowledge(1));
    EXPECT_EQ(w.slide(), 0u);  // 62 still open
    EXPECT_EQ(w.oldestOpen()->seq, 62);
    EXPECT_TRUE(w.acknowledge(62));
    EXPECT_EQ(w.slide(), 20u);
    EXPECT_EQ(w.inUse(), 1);
    w.acknowledgeAll();
    EXPECT_EQ(w.slide(), 10u);
    EXPECT_TRUE(w.empty());
}

TEST(KermitWindow, ReceiverPlacesPacketsAndAsksForEachGapOnce) {
    ReceiveWindow w;
    w.setSize(4);
    w.reset(62);
    using P = ReceiveWindow::Place;
    EXPECT_EQ(w.place(62), P::Next);
    EXPECT_EQ(w.place(1), P::Ahead);
    EXPECT_EQ(w.place(2), P::Outside);
    EXPECT_EQ(w.place(58), P::Behind);
    EXPECT_EQ(w.place(57), P::Outside);
    EXPECT_EQ(w.keepAhead({0, kData, "c"}), (std::vector<int>{62, 63}));
    EXPECT_EQ(w.keepAhead({1, kData, "d"}), std::vector<int>{});  // 62, 63 asked already
    EXPECT_FALSE(w.takeNext());
    w.advance();  // 62 came
    EXPECT_FALSE(w.takeNext());
    w.advance();  // 63 came
    ASSERT_TRUE(w.takeNext());
    w.advance();
    EXPECT_EQ(w.takeNext()->data, "d");
    w.advance();
    EXPECT_EQ(w.next(), 2);
    EXPECT_EQ(w.heldCount(), 0);

    // Stop and wait: the one before is behind, the one after outside.
    w.setSize(1);
    w.reset(10);
    EXPECT_EQ(w.place(9), P::Behind);
    EXPECT_EQ(w.place(11), P::Outside);
}

}  // namespace
}  // namespace zantor::kermit
