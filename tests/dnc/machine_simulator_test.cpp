#include <gtest/gtest.h>

#include "fake_line_simulator.h"
#include "port/fake_port_fixture.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using testing::FakeLineSimulator;
using testing::LineFault;
using testing::MachineProfile;
using testing::PunchOptions;

constexpr LineSettings k9600n81{9600, 8, TParity::pNone, 1};

class MachineSimulatorTest : public testing::FakePortTest {
protected:
    MachineSimulatorTest() { openAt(k9600n81); }
};

TEST_F(MachineSimulatorTest, BufferFillsSendsXoffAndDrainsToXon) {
    MachineProfile profile;
    profile.bufferSize = 400;
    profile.blocksPerSecond = 10;  // 10 blocks of 10 bytes: 100 bytes a second, line 960
    FakeLineSimulator machine(device, clock, profile);
    std::string program;
    for (int n = 100; n < 200; ++n) program += "N" + std::to_string(n) + " G1\r\n";  // 10 bytes
    ASSERT_EQ(port.sendText(program), SendResult::Sent);
    runSeconds(2);
    EXPECT_EQ(machine.xoffsSent(), 1);
    EXPECT_EQ(port.flowState(), FlowState::TransmitHeldByXoff);
    EXPECT_GE(machine.peakFill(), 300u);
    EXPECT_LE(machine.peakFill(), 310u);  // the port stops within a few characters
    runSeconds(30);
    EXPECT_EQ(machine.received(), program);
    EXPECT_EQ(machine.blocksExecuted(), 100u);
    EXPECT_EQ(machine.xonsSent(), machine.xoffsSent());
    EXPECT_GT(machine.xoffsSent(), 1);
    EXPECT_TRUE(machine.faults().empty());
}

TEST_F(MachineSimulatorTest, ChecksTapeCodeAndParity) {
    struct Case {
        TapeCode code;
        std::string bytes;
        std::vector<LineFault> faults;
    };
    const Case cases[] = {
        {TapeCode::Eia, std::string("\x00\x45\x01\x80\x03\x11", 6),
         {{4, 0x03, "parity"}, {5, 0x11, "parity"}}},
        {TapeCode::Eia, "\x1F\x5D\x7A", {{2, 0x7A, "no EIA code"}}},  // odd, but no code
        {TapeCode::Ascii, "\x47\xB1\x8D\x0A\x31", {{4, 0x31, "parity"}}},
        {TapeCode::Iso, "G1\r\n\xB1", {{4, 0xB1, "8th bit set"}}},
    };
    for (const Case& c : cases) {
        MachineProfile profile;
        profile.code = c.code;
        FakeLineSimulator machine(device, clock, profile);
        ASSERT_EQ(port.sendText(c.bytes), SendResult::Sent);
        runSeconds(0.1);
        EXPECT_EQ(machine.received(), c.bytes);
        EXPECT_EQ(machine.faults(), c.faults) << c.bytes;
    }
}

TEST_F(MachineSimulatorTest, NoiseBurstDamagesTheNextBytesAndEachIsReported) {
    struct Case {
        TapeCode code;
        const char* what;
    };
    for (const Case c : {Case{TapeCode::Iso, "8th bit set"}, Case{TapeCode::Ascii, "parity"}}) {
        MachineProfile profile;
        profile.code = c.code;
        FakeLineSimulator machine(device, clock, profile);
        const std::string sent = FakeLineSimulator::tapeOf("G1 X5\r\nM30\r\n", c.code, 0);
        machine.onReceivedCount(2, [](testing::MachineSimulator& m) { m.garbleNextReceived(3); });
        ASSERT_EQ(port.sendText(sent), SendResult::Sent);
        runSeconds(0.1);
        std::string expected = sent;
        std::vector<LineFault> faults;
        for (size_t i = 2; i < 5; ++i) {
            expected[i] = char(uint8_t(sent[i]) ^ 0x80);
            faults.push_back({i, uint8_t(expected[i]), c.what});
        }
        EXPECT_EQ(machine.received(), expected);
        EXPECT_EQ(machine.faults(), faults);
    }
}

TEST_F(MachineSimulatorTest, PunchesInItsTapeCodeWithLeaderAndPauses) {
    EXPECT_EQ(FakeLineSimulator::tapeOf("N1\r\nG2\n%", TapeCode::Eia, 1),
              std::string(10, '\0') + "\x45\x01\x80\x67\x02\x80\x0B" + std::string(10, '\0'));
    EXPECT_EQ(FakeLineSimulator::tapeOf("G1\r\n", TapeCode::Ascii, 0), "\x47\xB1\x8D\x0A");
    EXPECT_EQ(FakeLineSimulator::tapeOf("G1\rG2\n", TapeCode::Iso, 0), "G1\r\nG2\r\n");

    MachineProfile profile;
    profile.code = TapeCode::Iso;
    FakeLineSimulator machine(device, clock, profile);
    machine.punch("G1\r\nG2\r\n", PunchOptions{0, {{4, milliseconds(500)}}});
    runSeconds(0.4);
    EXPECT_EQ(port.readAvailable(), "G1\r\n");
    EXPECT_FALSE(machine.outputDone());
    runSeconds(0.2);
    EXPECT_EQ(port.readAvailable(), "G2\r\n");
    EXPECT_TRUE(machine.outputDone());
    EXPECT_EQ(machine.sentCount(), 8u);
}

TEST_F(MachineSimulatorTest, PunchStopsAtTheXoffOfThePc) {
    MachineProfile profile;
    FakeLineSimulator machine(device, clock, profile);
    machine.punch(std::string(2000, 'P'));
    runSeconds(0.5);
    ASSERT_EQ(port.sendByte(0x13), SendResult::Sent);
    runSeconds(0.01);
    const size_t atXoff = machine.sentCount();
    runSeconds(2);
    EXPECT_LE(machine.sentCount(), atXoff + 16);  // the chunk on its way
    EXPECT_FALSE(machine.outputDone());
    ASSERT_EQ(port.sendByte(0x11), SendResult::Sent);
    runSeconds(3);
    EXPECT_TRUE(machine.outputDone());
    EXPECT_EQ(port.readAvailable(), std::string(2000, 'P'));
    EXPECT_EQ(machine.received(), "\x13\x11");
    EXPECT_TRUE(machine.faults().empty());  // flow control is not program data
}

TEST_F(MachineSimulatorTest, ReactsToWhatItReceivesAndTypes) {
    MachineProfile profile;
    FakeLineSimulator machine(device, clock, profile);
    machine.onReceived("SND", [](testing::MachineSimulator& m) { m.type("READY\r"); });
    ASSERT_EQ(port.sendText("xxSN"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(port.bytesWaiting(), 0u);
    ASSERT_EQ(port.sendText("D"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(port.readAvailable(), "READY\r");
    ASSERT_EQ(port.sendText("SND"), SendResult::Sent);  // once only
    runSeconds(0.1);
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

}  // namespace
}  // namespace zantor
