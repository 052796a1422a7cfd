#include <gtest/gtest.h>

#include "activity_log_lines.h"
#include "core/file_io.h"
#include "core/ticks.h"
#include "dnc/dnc_receive.h"
#include "dnc/dnc_send.h"
#include "dnc/dnc_station.h"
#include "dnc/init_string.h"
#include "dnc/multi_file_send.h"
#include "dnc/port/file_transfer.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/transfer_setup.h"
#include "fake_line_simulator.h"
#include "port/fake_port_fixture.h"
#include "recording_sink.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using testing::FakeLineSimulator;
using testing::MachineProfile;
namespace code = transfer_code;

class ScriptedWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string& text) override {
        texts.push_back(text);
        shown = true;
    }
    void hideWaiting() override { shown = false; }
    bool stopWaiting() const override { return stop; }
    std::vector<std::string> texts;
    bool shown = false, stop = false;
};

class StationTest : public testing::FakePortTest {
protected:
    StationTest() {
        openAt({9600, 8, TParity::pNone, 1});
        log.LoggingEnabled = true;
        machine.TapeCode = kTapeIso;
        machine.EofTime = 1;
        QObject::connect(&transfer, &FileTransfer::OnProtocolFinish,
                         [this](int c) { finished.push_back(c); });
    }
    std::vector<std::string> logLines() {
        return testing::activityLogLines(folder.file("ZTRDNC.LOG"));
    }
    void runToEnd() {
        clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                        WaitMode::Responsive);
    }

    testing::TempFolder folder;
    FileTransfer transfer{port};
    ActivityLog log{folder.file("ZTRDNC.LOG")};
    testing::RecordingSink sink;
    ScriptedWaiting waiting;
    DncStation station{port, transfer, log, sink, waiting};
    MachComRec machine;
    std::vector<int> finished;
};

TEST_F(StationTest, SingleSendLogsSendsTheInitStringAndTheFile) {
    FakeLineSimulator control(device, clock, MachineProfile{TapeCode::Eia});
    machine.TapeCode = kTapeEia;
    machine.SendInit = "/-50%";
    const std::string sendFile = folder.write("SEND", "\x0B\x45\x01\x80");
    const auto start = clock.now();
    ASSERT_TRUE(singleSend(station, machine, "Mill", false, sendFile, "/nc/O1.TAP"));
    EXPECT_TRUE(transfer.inProgress());
    runToEnd();
    EXPECT_EQ(finished, std::vector<int>{0});
    EXPECT_EQ(control.received(), "\x0B\x0B\x45\x01\x80");  // "%" of the init string in EIA
    const auto& a = device.peer().arrivals();
    ASSERT_FALSE(a.empty());
    EXPECT_GE(a[0].at - start, milliseconds(50));  // the pause came first
    EXPECT_EQ(logLines(), std::vector<std::string>{"DNC Send File [/nc/O1.TAP]"});
    EXPECT_EQ(transfer.AsciiEOLChar, 0x80);  // set up for the machine
    EXPECT_TRUE(control.faults().empty());
}

TEST_F(StationTest, SendWaitsForTheMachinesXon) {
    FakeLineSimulator control(device, clock, MachineProfile{});
    machine.SendInit = "INIT";
    machine.SendWaitXon = 1;
    station.VerboseMode = true;
    control.onReceived("INIT", [](testing::MachineSimulator& m) { m.type("\x13\x11"); });
    const std::string sendFile = folder.write("SEND", "G1\r\n");
    ASSERT_TRUE(singleSend(station, machine, "Mill", false, sendFile, "O1.TAP"));
    runToEnd();
    EXPECT_EQ(control.received(), "INITG1\r\n");
    EXPECT_EQ(waiting.texts, std::vector<std::string>{"Waiting for Mill to send an XON ..."});
    EXPECT_FALSE(waiting.shown);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Wait Char received=[19]",
                                                    "Wait Char received=[17]"}));
    EXPECT_EQ(port.SWFlowOptions(), TSWFlowOptions::swfBoth);  // restored
    EXPECT_TRUE(sink.portInput);
}

// The terminal shows what a machine says during an ASCII send; a
// published protocol's answers are the transfer's and must reach it.
TEST_F(StationTest, ProtocolSendsKeepTheTerminalOffTheirAnswers) {
    struct Case {
        int protocol;
        bool terminalReads;
    };
    const Case cases[] = {{0, true}, {1, false}, {3, false}, {4, false}};
    const std::string sendFile = folder.write("SEND", "G1\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.protocol);
        machine.Protocol = c.protocol;
        sink.portInput = true;
        ASSERT_TRUE(singleSend(station, machine, "Mill", false, sendFile, "O1.TAP"));
        EXPECT_EQ(sink.portInput, c.terminalReads);
        transfer.cancel();

        sink.portInput = true;
        bool readsAtStart = true;
        // Nobody answers: the transfer times out (on the simulated clock).
        multiFileSend(station, machine, "Mill", false, {sendFile},
                      [&] { readsAtStart = sink.portInput; });
        EXPECT_EQ(readsAtStart, c.terminalReads);
    }
}

TEST_F(StationTest, StoppingTheXonWaitSendsNothing) {
    FakeLineSimulator control(device, clock, MachineProfile{});
    machine.SendWaitXon = 1;
    waiting.stop = true;
    const std::string sendFile = folder.write("SEND", "G1\r\n");
    EXPECT_FALSE(singleSend(station, machine, "Mill", false, sendFile, "O1.TAP"));
    runSeconds(1);
    EXPECT_FALSE(transfer.inProgress());
    EXPECT_TRUE(finished.empty());
    EXPECT_EQ(control.received(), "");
}

TEST_F(StationTest, AnInitStringWithoutEiaCodeStopsBeforeAnything) {
    machine.TapeCode = kTapeEia;
    machine.SendInit = "<ESC>";
    const std::string sendFile = folder.write("SEND", "\x01\x80");
    try {
        singleSend(station, machine, "Mill", false, sendFile, "O1.TAP");
        FAIL() << "no error";
    } catch (const TapeCodeError& e) {
        EXPECT_STREQ(e.what(), "The init string, column 1: \"<\" (0x3C) has no EIA code");
    }
    runSeconds(1);
    EXPECT_EQ(device.peer().received(), "");
    EXPECT_FALSE(fileExists(folder.file("ZTRDNC.LOG")));
}

TEST_F(StationTest, PortReceiveOfAnEiaPunch) {
    FakeLineSimulator control(device, clock, MachineProfile{TapeCode::Eia});
    machine.TapeCode = kTapeEia;
    machine.StartRecv = "%";
    machine.EndRecv = "/020";
    control.onReceived("\x0B", [](testing::MachineSimulator& m) {
        m.punch("%\r\nN1 G1 X33.3\r\nN2 M30\r\n%", testing::PunchOptions{2, {}});
    });
    const std::string path = folder.write("O1.TAP", "old");
    const ReceiveResult r = portReceive(station, machine, "Mill", false, {path, true});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.conversionError, "");
    EXPECT_EQ(folder.read("O1.TAP"), "%\r\nN1 G1 X33.3\r\nN2 M30\r\n%");
    runSeconds(0.1);
    EXPECT_EQ(control.received(), "\x0B\x14");  // start string, then the end string
    EXPECT_EQ(logLines(), (std::vector<std::string>{"DNC Receive Overwrite File [" + path + "]",
                                                    "DNC Receive File [" + path + "]"}));
    EXPECT_TRUE(sink.portInput);
    EXPECT_FALSE(port.flowCharactersAsData());
}

TEST_F(StationTest, ReceiveThatGetsNothingLeavesTheFileUnconverted) {
    FakeLineSimulator control(device, clock, MachineProfile{TapeCode::Ascii});
    machine.TapeCode = kTapeAscii;
    const std::string path = folder.write("O1.TAP", "\x47\xB1");  // not ours to convert
    const ReceiveResult r = portReceive(station, machine, "Mill", false, {path, true});
    EXPECT_EQ(r.code, code::kNothingReceived);
    EXPECT_EQ(folder.read("O1.TAP"), "\x47\xB1");
}

TEST_F(StationTest, WaitForTheFirstCharacterHoldsTheQuietTimeBack) {
    FakeLineSimulator control(device, clock, MachineProfile{TapeCode::Iso});
    machine.RecvWaitChar = 1;
    machine.EofTime = 2;
    clock.callAfter(std::chrono::seconds(40), [&] { control.punch("G1\r\nM30\r\n"); });
    const std::string path = folder.file("O2.TAP");
    const auto start = clock.now();
    const ReceiveResult r = portReceive(station, machine, "Lathe", false, {path, false});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(folder.read("O2.TAP"), "G1\r\nM30\r\n");
    EXPECT_GT(clock.now() - start, std::chrono::seconds(41));
    EXPECT_EQ(waiting.texts, std::vector<std::string>{"Waiting for Lathe to send ..."});
    EXPECT_EQ(logLines(), std::vector<std::string>{"DNC Receive File [" + path + "]"});

    // Stopped before anything came: the receive starts at once, and its
    // quiet time with it.
    waiting.stop = true;
    const auto again = clock.now();
    const ReceiveResult r2 = portReceive(station, machine, "Lathe", false, {path, true});
    EXPECT_EQ(r2.code, code::kNothingReceived);
    EXPECT_EQ(clock.now() - again, ticksToDuration(SecsToTicks(2)));
}

TEST_F(StationTest, RtsIsHeldThenDroppedAfterATransfer) {
    machine.KeepRtsDelay = 2;
    machine.DropRtsDelay = 1;
    std::vector<std::pair<double, bool>> rts;
    for (int tenth = 0; tenth < 40; ++tenth)
        clock.callAfter(milliseconds(100 * tenth + 50), [&, tenth] {
            rts.emplace_back(tenth / 10.0, device.rts());
        });
    runRtsDelays(station, machine);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Keeping RTS Up", "Done Keeping RTS Up",
                                                    "Dropping RTS", "Enable RTS"}));
    ASSERT_GE(rts.size(), 30u);
    for (const auto& [at, high] : rts) {
        if (at < 3.0) {
            EXPECT_EQ(high, at < 2.0) << at;
        }
    }
    EXPECT_TRUE(device.rts());
}

TEST_F(StationTest, MachineRecordSetsUpTheEngine) {
    machine.CharDelay = 5;
    machine.LineDelay = 7;
    machine.XoffTime = 2;
    machine.EofTime = 20;
    machine.Protocol = 3;
    machine.CrOut = kAddLfAfter;
    machine.LfOut = kAddCrBefore;
    machine.CrIn = kLineEndStrip;
    machine.LfIn = 9;  // outside the list
    setupForMachine(transfer, machine, true, TransferDirection::Sending);
    EXPECT_EQ(transfer.AsciiCharDelay, 5);
    EXPECT_EQ(transfer.AsciiLineDelay, 7);
    EXPECT_EQ(transfer.TransmitTimeout, 2184);  // two minutes in ticks
    EXPECT_EQ(transfer.AsciiEOFTimeout, 364);
    EXPECT_TRUE(transfer.RTSLowForWrite);
    EXPECT_EQ(transfer.ProtocolType, ptZmodem);
    EXPECT_EQ(transfer.AsciiCRTranslation, aetAddLFAfter);
    EXPECT_EQ(transfer.AsciiLFTranslation, aetAddCRBefore);
    EXPECT_EQ(transfer.AsciiEOLChar, 0x0D);
    EXPECT_FALSE(transfer.AsciiSuppressCtrlZ);
    EXPECT_FALSE(transfer.AsciiCtrlZIsData);

    machine.Protocol = 7;
    setupForMachine(transfer, machine, false, TransferDirection::Receiving);
    EXPECT_EQ(transfer.ProtocolType, ptZmodem);  // unchanged
    EXPECT_EQ(transfer.AsciiCRTranslation, aetStrip);
    EXPECT_EQ(transfer.AsciiLFTranslation, aetAddCRBefore);  // unchanged
    machine.Protocol = 0;

    // The tape code decides what the line end is, and under EIA the bytes
    // 0x0D and 0x1A are program data.
    const std::tuple<int, uint8_t, bool, TAsciiEOLTranslation> codes[] = {
        {kTapeEia, 0x80, true, aetNone},
        {kTapeAscii, 0x8D, false, aetStrip},
        {kTapeIso, 0x0D, false, aetStrip},
    };
    for (const auto& [tape, eol, ctrlZData, cr] : codes) {
        machine.TapeCode = tape;
        setupForMachine(transfer, machine, false, TransferDirection::Receiving);
        EXPECT_EQ(transfer.AsciiEOLChar, eol) << tape;
        EXPECT_EQ(transfer.AsciiCtrlZIsData, ctrlZData) << tape;
        EXPECT_EQ(transfer.AsciiCRTranslation, cr) << tape;
        EXPECT_EQ(transfer.ProtocolType, ptAscii);
    }
}

}  // namespace
}  // namespace zantor
