#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/data_packet.h"
#include "dnc/port/packet_manager.h"

namespace zantor {
namespace {

// A packet that records what it delivers and when it times out.
struct Watched {
    std::unique_ptr<DataPacket> packet;
    std::vector<std::string> delivered;
    int timeouts = 0;
};

class DataPacketTest : public ::testing::Test {
protected:
    ManualClock clock;
    PacketManager manager{clock};
    std::vector<std::unique_ptr<Watched>> watched;

    // A request packet as the remote station makes them.
    Watched& request(const std::string& start, const std::string& end = ")") {
        auto w = std::make_unique<Watched>();
        w->packet = std::make_unique<DataPacket>(manager);
        DataPacket& p = *w->packet;
        p.StartString = start;
        p.EndCond = ecString;
        p.EndString = end;
        p.IncludeStrings = false;
        p.TimeOut = 200;
        Watched* raw = w.get();
        p.OnStringPacket = [raw](const std::string& data) { raw->delivered.push_back(data); };
        p.OnTimeout = [raw] { ++raw->timeouts; };
        watched.push_back(std::move(w));
        return *raw;
    }
    void ticks(int n) { clock.advance(ticksToDuration(n)); }
};

struct MatchCase {
    const char* name;
    const char* start;
    const char* end;
    const char* input;
    std::vector<std::string> expected;
};

class PacketMatching : public DataPacketTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(PacketMatching, DeliversTheBytesBetweenTheFirstStartAndEnd) {
    const MatchCase& c = GetParam();
    Watched& w = request(c.start, c.end);
    w.packet->setEnabled(true);
    manager.feed(c.input);
    EXPECT_EQ(w.delivered, c.expected) << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Strings, PacketMatching,
    ::testing::Values(
        MatchCase{"StartInNoise", "SND", ")", "xxSNDPROG1)", {"PROG1"}},
        MatchCase{"FalseStart", "SND", ")", "SNSND7)", {"7"}},
        MatchCase{"SmallLetters", "SND", ")", "snd7)", {"7"}},
        MatchCase{"AnyByte", "N?", ";", "xNZ12;", {"12"}},
        MatchCase{"QuotedQuestionMark", "\\?", ";", "N?5;", {"5"}},
        MatchCase{"QuotedBackslash", "\\\\", ";", "?\\5;", {"5"}},
        MatchCase{"EndAfterFalseEnd", "S", "ABAC", "SABABAC", {"AB"}},
        MatchCase{"AutoEnabledAgain", "SND", ")", "SNDA)..SNDB)", {"A", "B"}},
        MatchCase{"StartWithoutEnd", "SND", ")", "SND", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataPacketTest, NulBytesAndRequestsSplitAcrossReadsAreCollected) {
    Watched& w = request("SND");
    w.packet->setEnabled(true);
    using namespace std::string_literals;
    for (const std::string& chunk : {"S"s, "N"s, "DPR"s, "\0G"s, "1"s, ")"s}) manager.feed(chunk);
    manager.feed("SND\0X)"s);
    EXPECT_EQ(w.delivered, (std::vector<std::string>{"PR\0G1"s, "\0X"s}));
}

TEST_F(DataPacketTest, TheFirstPacketToStartTakesTheBytesAndTheOthersRestart) {
    Watched& send = request("SND");
    Watched& dir = request("DIR");
    send.packet->setEnabled(true);
    dir.packet->setEnabled(true);
    manager.feed("DIRSND)");
    EXPECT_EQ(dir.delivered, std::vector<std::string>{"SND"});
    EXPECT_TRUE(send.delivered.empty());
}

TEST_F(DataPacketTest, APartialStartIsForgottenWhenAnotherPacketStartsCollecting) {
    Watched& bc = request("BC");
    Watched& abc = request("ABC");
    bc.packet->setEnabled(true);
    abc.packet->setEnabled(true);
    manager.feed("ABC)");  // BC starts while ABC holds "AB"
    manager.feed("C)");
    EXPECT_EQ(bc.delivered, std::vector<std::string>{""});
    EXPECT_TRUE(abc.delivered.empty());
}

TEST_F(DataPacketTest, IncludeStringsDeliversTheStartAndEndAsTheyArrived) {
    Watched& w = request("snd");
    w.packet->IncludeStrings = true;
    w.packet->setEnabled(true);
    manager.feed("xSnDab)");
    EXPECT_EQ(w.delivered, std::vector<std::string>{"SnDab)"});
}

TEST_F(DataPacketTest, PacketSizeCountsFromTheFirstByteOfTheStartString) {
    Watched& w = request("S");
    w.packet->EndCond = ecString | ecPacketSize;
    w.packet->PacketSize = 4;
    w.packet->setEnabled(true);
    manager.feed("xSABCDE");
    manager.feed("SA)");
    EXPECT_EQ(w.delivered, (std::vector<std::string>{"ABC", "A"}));
}

TEST_F(DataPacketTest, EmptyEndConditionCompletesRightAfterTheStartString) {
    Watched& w = request("GO");
    w.packet->EndCond = 0;
    w.packet->setEnabled(true);
    manager.feed("xGOGO");
    EXPECT_EQ(w.delivered, (std::vector<std::string>{"", ""}));
}

TEST_F(DataPacketTest, AnyDataStartsAtOnceOrWhenTheCollectingPacketEnds) {
    Watched& send = request("SND");
    send.packet->setEnabled(true);
    manager.feed("SNDA");
    Watched& line = request("");
    line.packet->StartCond = StartCondition::scAnyData;
    line.packet->EndString = "\r";
    line.packet->setEnabled(true);  // SND collects: the line packet waits for it
    manager.feed(")D\r");
    EXPECT_EQ(send.delivered, std::vector<std::string>{"A"});
    EXPECT_EQ(line.delivered, std::vector<std::string>{"D"});
}

TEST_F(DataPacketTest, ATimeOutDeliversNothingAndOffersTheBytesToTheOthers) {
    Watched& send = request("SND");
    Watched& dir = request("DIR");
    send.packet->setEnabled(true);
    dir.packet->setEnabled(true);
    // The owner re-enables a timed-out request packet at once.
    send.packet->OnTimeout = [&] {
        ++send.timeouts;
        send.packet->setEnabled(true);
    };
    manager.feed("SNDAB DIRx");
    ticks(199);
    EXPECT_EQ(send.timeouts, 0);
    ticks(1);
    EXPECT_EQ(send.timeouts, 1);
    EXPECT_TRUE(send.delivered.empty());
    // DIR was offered the bytes again and collects from its start.
    EXPECT_EQ(manager.collecting(), dir.packet.get());
    manager.feed("y)SNDz)");
    EXPECT_EQ(dir.delivered, std::vector<std::string>{"xy"});
    EXPECT_EQ(send.delivered, std::vector<std::string>{"z"});
}

TEST_F(DataPacketTest, DataArrivingWhileAHandlerRunsIsHeldBackAndOfferedAfterIt) {
    Watched& w = request("SND");
    std::vector<std::string> seenInHandler;
    w.packet->OnStringPacket = [&](const std::string& data) {
        w.delivered.push_back(data);
        if (data == "A") {
            manager.feed("SNDB)");  // the machine typed on while we worked
            seenInHandler = w.delivered;
        }
    };
    w.packet->setEnabled(true);
    manager.feed("SNDA)");
    EXPECT_EQ(seenInHandler, std::vector<std::string>{"A"});
    EXPECT_EQ(w.delivered, (std::vector<std::string>{"A", "B"}));
}

TEST_F(DataPacketTest, WithoutAutoEnableOnePacketIsDeliveredAndTheRestIgnored) {
    Watched& w = request("RCV");
    w.packet->AutoEnable = false;
    w.packet->setEnabled(true);
    manager.feed("RCVA)RCVB)");
    EXPECT_EQ(w.delivered, std::vector<std::string>{"A"});
    EXPECT_FALSE(w.packet->Enabled());
}

TEST_F(DataPacketTest, EndlessGarbageAfterAStartStringEndsAsATimeOutWithBoundedMemory) {
    Watched& w = request("SND");
    w.packet->setEnabled(true);
    manager.feed("SND");
    const std::string garbage(PacketManager::kMaxPacketBytes / 4, 'G');
    for (int i = 0; i < 8; ++i) manager.feed(garbage);
    EXPECT_EQ(w.timeouts, 1);
    EXPECT_EQ(manager.collecting(), nullptr);
    w.packet->setEnabled(true);
    manager.feed("SNDok)");
    EXPECT_EQ(w.delivered, std::vector<std::string>{"ok"});
}

TEST_F(DataPacketTest, APacketDestroyedInItsOwnHandlerIsNotTouchedAgain) {
    Watched& w = request("SND");
    w.packet->OnStringPacket = [&](const std::string&) { w.packet.reset(); };
    w.packet->setEnabled(true);
    manager.feed("SNDA)SNDB)");
    EXPECT_EQ(w.packet, nullptr);
}

struct DefinitionCase {
    StartCondition start;
    const char* startString;
    unsigned end;
    const char* endString;
    int size;
    const char* error;
};

TEST_F(DataPacketTest, UnusableDefinitionsAreRefusedWithTheirTexts) {
    const DefinitionCase cases[] = {
        {StartCondition::scString, "", ecString, ")", 0, "Start string is empty"},
        {StartCondition::scString, "SND", ecPacketSize, "", 2,
         "Packet size cannot be smaller than start string"},
        {StartCondition::scAnyData, "", 0, "", 0, "CharCount packets must have an end-condition"},
        {StartCondition::scString, "SND", ecString, "", 0, "End string is empty"},
        {StartCondition::scAnyData, "", ecPacketSize, "", 0, "Packet size cannot be zero"},
    };
    for (const DefinitionCase& c : cases) {
        DataPacket p(manager);
        p.StartCond = c.start;
        p.StartString = c.startString;
        p.EndCond = c.end;
        p.EndString = c.endString;
        p.PacketSize = c.size;
        try {
            p.setEnabled(true);
            ADD_FAILURE() << "enabled: " << c.error;
        } catch (const PacketDefinitionError& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
        EXPECT_FALSE(p.Enabled());
    }
}

}  // namespace
}  // namespace zantor
