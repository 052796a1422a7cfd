#include "dnc/machine_port_control.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/ini_store.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/status_lights.h"
#include "dnc/port_status_sink.h"
#include "dnc/record_line_settings.h"
#include "machines/machine_database.h"
#include "qt_test_app.h"
#include "recording_sink.h"
#include "scripted_interaction.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::RecordingSink;

// Keeps the title and initial text of every input box as well.
class InputRecordingInteraction : public testing::ScriptedInteraction {
public:
    std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override {
        boxes.push_back(title + "|" + prompt + "|" + initial);
        return ScriptedInteraction::inputText(title, prompt, initial);
    }
    std::vector<std::string> boxes;
};

constexpr const char* kDatabase =
    "[Machine Names]\nNumber=4\nMachine1=Mill\nMachine2=Lathe\nMachine3=Router\n"
    "Machine4=Direct\n"
    "[Mill]\nHUB=2\nPORT=3\nBAUD=9600\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=0\nSINIT=A\n"
    "[Lathe]\nHUB=1\nPORT=2\nBAUD=4800\nDATABITS=7\nPARITY=E\nSTOPBITS=1\nSINIT=A\n"
    "[Router]\nHUB=0\nPORT=9\nBAUD=19200\n"
    "[Direct]\nHUB=0\nPORT=1\nDTYPE=4\n"
    "[HUB1]\nPORT=5\nHUB=0\nBAUD=9600\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nSINIT=NOHUB/027P1\n"
    "[HUB2]\nPORT=4\nHUB=0\nBAUD=2400\nDATABITS=7\nPARITY=E\nSTOPBITS=2\n"
    "[HUB3]\nBAUD=9600\n";

class MachinePortTest : public ::testing::Test {
protected:
    MachinePortTest() {
        testing::ensureQtApplication();
        IniStore::clearCache();
        system.write("WPOSTS.INI", kDatabase);
        state.SystemFolder = system.path();
        state.DtrDelayTicks = 36;
        hubPort = &bank.add("/dev/ttyS3");    // HUB2 on COM4
        noHubPort = &bank.add("/dev/ttyS4");  // HUB1 on COM5
        directPort = &bank.add("/dev/ttyS0");
    }
    bool openMachine(const std::string& name) {
        state.CurrentMachine = name;
        state.CurrentMachComRec = machines.ReadMachComRec(name, state.CurrentSettings);
        return control.openForCurrentMachine();
    }
    std::vector<std::string> errors() const { return interaction.texts(); }

    testing::TempFolder system;
    RunState state;
    MachineDatabase machines{system.path() + "WPOSTS.INI"};
    ManualClock clock;
    FakeDeviceBank bank{clock};
    FakeSerialDevice* hubPort;
    FakeSerialDevice* noHubPort;
    FakeSerialDevice* directPort;
    ComPort port{clock, bank};
    StatusLights lights{port};
    InputRecordingInteraction interaction;
    RecordingSink sink;
    MachinePortControl control{port, lights, interaction, sink, state, machines};
};

TEST_F(MachinePortTest, DtrHubSeesOneSelectCharacterWhileDtrIsLow) {
    control.VerboseMode = true;
    ASSERT_TRUE(openMachine("Mill"));
    const auto& arrivals = hubPort->peer().arrivals();
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].byte, '2');  // hub 2, port 3
    EXPECT_FALSE(arrivals[0].deviceDtr);
    // DTRDELAY before DTR dropped, the character, DTRDELAY, DTR up, DTRDELAY / 2.
    EXPECT_GE(arrivals[0].at, ticksToDuration(36));
    EXPECT_LT(arrivals[0].at, ticksToDuration(37));
    EXPECT_EQ(clock.now(), ticksToDuration(36) * 2 + ticksToDuration(18));
    EXPECT_TRUE(hubPort->dtr());
    EXPECT_EQ(hubPort->peer().lineErrors(), LineErrorCounts{});

    // Then the same PC port again, with the machine's own line settings.
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(port.ComNumber(), 4);
    EXPECT_EQ(hubPort->lineSettings(), (LineSettings{9600, 8, TParity::pNone, 1}));
    EXPECT_EQ(sink.portStatus, " COM4 8N1 9600");
    EXPECT_TRUE(sink.portInput);
    EXPECT_TRUE(lights.monitoring());
    EXPECT_EQ(sink.focused, 1);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{
                              "Remote terminal parameter set name [Mill]",
                              "Opening port#3 HUB#2",
                              "Selecting HUB#2 Port#3",
                              "About to open the comport#4",
                              "The comport was opened",
                              "Select hub, comportset successful",
                              "SelectHub in Comportset Successful",
                              "About to open the comport#4",
                              "The comport was opened",
                              "Remote port was opened",
                          }));
    EXPECT_EQ(sink.statusTexts.front(), "Loading HUB Info ...");
    EXPECT_EQ(sink.statusTexts.back(), "Ready, On Line ...");
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(interaction.busyDepth, 0);
}

TEST_F(MachinePortTest, NoHubStringGoesOutWithItsEscapes) {
    control.VerboseMode = true;
    ASSERT_TRUE(openMachine("Lathe"));
    EXPECT_EQ(noHubPort->peer().received(),
              "\x1b"
              "P1A");
    for (const auto& a : noHubPort->peer().arrivals()) EXPECT_TRUE(a.deviceDtr);
    EXPECT_NE(std::find(sink.lines.begin(), sink.lines.end(), "NOHUB, sSendinit = [/027P1A]"),
              sink.lines.end());
    EXPECT_EQ(port.ComNumber(), 5);
    EXPECT_EQ(noHubPort->lineSettings(), (LineSettings{4800, 7, TParity::pEven, 1}));
}

// The hub is closed and reopened right after its selection: whatever is
// still on its way to the hub must get there first, however slow the hub's
// line and however short DTRDELAY is.
TEST_F(MachinePortTest, SelectionBytesReachASlowHubWhole) {
    struct Case {
        const char* machine;
        FakeSerialDevice* hub;
        const char* sent;
    };
    const std::string init(40, 'S');
    IniStore::update(machines.path(), [&](IniFile& ini) {
        ini.writeString("HUB1", "BAUD", "300");
        ini.writeString("HUB1", "SINIT", "NOHUB" + init);
        ini.writeString("Lathe", "SINIT", "");
        ini.writeString("HUB2", "BAUD", "110");
    });
    const Case cases[] = {{"Lathe", noHubPort, init.c_str()}, {"Mill", hubPort, "2"}};
    for (const int dtrDelay : {0, 2}) {
        state.DtrDelayTicks = dtrDelay;
        for (const Case& c : cases) {
            c.hub->peer().clearReceived();
            ASSERT_TRUE(openMachine(c.machine)) << c.machine;
            clock.advance(std::chrono::seconds(5));
            EXPECT_EQ(c.hub->peer().received(), c.sent) << c.machine << " " << dtrDelay;
            if (c.hub == hubPort) {
                for (const auto& a : c.hub->peer().arrivals()) EXPECT_FALSE(a.deviceDtr);
            }
        }
    }
}

TEST_F(MachinePortTest, NoHubStringEndingInAShortEscape) {
    IniStore::update(machines.path(), [](IniFile& ini) {
        ini.writeString("HUB1", "SINIT", "NOHUBX/1");
        ini.writeString("Lathe", "SINIT", "2");
    });
    ASSERT_TRUE(openMachine("Lathe"));
    EXPECT_EQ(noHubPort->peer().received(), "X12");
}

TEST_F(MachinePortTest, UndefinedHubIsAnErrorAndLeavesThePortClosed) {
    IniStore::update(machines.path(), [](IniFile& ini) { ini.writeString("Mill", "HUB", "3"); });
    control.VerboseMode = true;
    EXPECT_FALSE(openMachine("Mill"));
    EXPECT_EQ(errors(), std::vector<std::string>{"HUB #3 Has not been Defined!"});
    EXPECT_EQ(interaction.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(port.Open());
    EXPECT_NE(std::find(sink.lines.begin(), sink.lines.end(), "Error, HUB#3 has not been defined"),
              sink.lines.end());
    EXPECT_EQ(sink.lines.back(), "Remote port was NOT opened");
    EXPECT_EQ(control.hubs[2].PortNum, -1);
    EXPECT_EQ(control.hubs[1].PortNum, 3);
}

TEST_F(MachinePortTest, PortThatCannotBeOpenedShowsTheErrorBox) {
    control.VerboseMode = true;
    EXPECT_FALSE(openMachine("Router"));
    EXPECT_EQ(errors(), std::vector<std::string>{"The Selected Port Number Cannot Be Opened\r\n"
                                                 "Either the Port Does Not Exist or it is "
                                                 "Already in Use"});
    EXPECT_NE(std::find(sink.lines.begin(), sink.lines.end(), "Failed to open the comport#9"),
              sink.lines.end());
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(sink.portInput);
    EXPECT_FALSE(lights.monitoring());

    // A device the user may not use: the box also says how to get the right.
    interaction.messages.clear();
    directPort->setAccessDenied(true);
    IniStore::update(machines.path(), [](IniFile& ini) { ini.writeString("Router", "PORT", "1"); });
    EXPECT_FALSE(openMachine("Router"));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_TRUE(errors()[0].starts_with("The Selected Port Number Cannot Be Opened\r\n"));
    EXPECT_NE(errors()[0].find("\r\nNo permission to open "), std::string::npos) << errors()[0];
}

// A USB adapter is no /dev/ttyS: the settings file says which device a
// port number stands for.
TEST_F(MachinePortTest, PortsSectionGivesTheDeviceOfAPortNumber) {
    state.SettingsFile = system.write("ZTR2013.INI", "[PORTS]\n9=/dev/ttyS0\n");
    ASSERT_TRUE(openMachine("Router"));  // COM9
    EXPECT_TRUE(directPort->isOpen());
    EXPECT_EQ(port.devicePath(), "/dev/ttyS0");
    EXPECT_EQ(sink.portStatus, " COM9 7E2 19200");
    EXPECT_TRUE(errors().empty());
}

TEST_F(MachinePortTest, LineSettingsFromTheRecord) {
    struct Case {
        int baudNum, bitsNum, parityNum, stopBitsNum, xonXoff, rtsCts;
        LineSettings line;
        TSWFlowOptions software;
        HWFlowSet hardware;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, {110, 4, TParity::pNone, 1}, TSWFlowOptions::swfBoth, 0},
        {10,
         4,
         4,
         1,
         1,
         1,
         {115200, 8, TParity::pSpace, 5},
         TSWFlowOptions::swfNone,
         HWFlowSet(hwfUseRTS | hwfRequireCTS)},
        {6, 3, 3, 2, 2, 0, {9600, 7, TParity::pMark, 2}, TSWFlowOptions::swfReceive, 0},
        {13, 4, 0, 0, 1, 0, {921600, 8, TParity::pNone, 1}, TSWFlowOptions::swfNone, 0},
        {5, 2, 1, 0, 3, 0, {4800, 6, TParity::pOdd, 1}, TSWFlowOptions::swfTransmit, 0},
        // Outside their lists: the port keeps what it had.
        {14, 5, 5, 3, 4, 0, {4800, 6, TParity::pOdd, 1}, TSWFlowOptions::swfTransmit, 0},
        {-1, -1, -1, -1, -1, 0, {4800, 6, TParity::pOdd, 1}, TSWFlowOptions::swfTransmit, 0},
    };
    for (const Case& c : cases) {
        MachComRec record;
        record.PortNum = 0;
        record.BaudNum = c.baudNum;
        record.BitsNum = c.bitsNum;
        record.ParityNum = c.parityNum;
        record.StopBitsNum = c.stopBitsNum;
        record.XonXoff = c.xonXoff;
        record.RtsCts = c.rtsCts;
        record.AnsiCodes = c.baudNum % 2;
        ASSERT_TRUE(control.openMachinePort(record)) << c.baudNum;
        EXPECT_EQ(directPort->lineSettings(), c.line) << c.baudNum;
        EXPECT_EQ(port.SWFlowOptions(), c.software) << c.baudNum;
        EXPECT_EQ(port.HWFlowOptions(), c.hardware) << c.baudNum;
        EXPECT_EQ(sink.ansi, record.AnsiCodes != 0) << c.baudNum;
    }
    // "1.5" in the machine dialog: two stop bits on the line.
    EXPECT_EQ(stopHalfBits({9600, 7, TParity::pEven, 5}), 4);

    // On the open port the whole framing changes in one step: one settle
    // time at the old framing, not one per setting.
    MachComRec change;
    change.BaudNum = 6;
    change.BitsNum = 4;
    change.ParityNum = 0;
    change.StopBitsNum = 2;
    const LineSettings old = directPort->lineSettings();
    const Clock::Duration before = clock.now();
    applyRecordLineSettings(port, change);
    EXPECT_EQ(directPort->lineSettings(), (LineSettings{9600, 8, TParity::pNone, 2}));
    EXPECT_EQ(clock.now() - before,
              std::chrono::ceil<std::chrono::milliseconds>(characterTime(old) * 18));
}

TEST_F(MachinePortTest, WindowStartSetsQueuesAndKeepsTheCurrentMachine) {
    state.Settings.ComInSize = 4096;
    state.Settings.ComOutSize = 2000;
    state.ComOpenDelayTicks = 18;
    state.CurrentMachine = "Router";
    IniStore::update(machines.path(), [](IniFile& ini) { ini.writeString("Router", "PORT", "1"); });
    state.CurrentMachComRec = DefaultMachComRec();  // stale: loading the hubs reloads it
    ASSERT_TRUE(control.openForCurrentMachine());
    EXPECT_EQ(port.InSize(), 4096);
    EXPECT_EQ(port.OutSize(), 2000);
    EXPECT_EQ(port.BufferFull(), 3072);
    EXPECT_EQ(port.BufferResume(), 1024);
    EXPECT_EQ(state.CurrentMachine, "Router");
    EXPECT_EQ(state.CurrentMachComRec.BaudNum, 7);  // 19200
    EXPECT_EQ(sink.portStatus, " COM1 7E2 19200");
    EXPECT_GE(clock.now(), ticksToDuration(18));  // COMOPENDELAY before the open
    EXPECT_NE(control.flowTimer(), 0);
    EXPECT_EQ(control.hubs[0].SendInit, "NOHUB/027P1");
    EXPECT_EQ(control.hubs[0].PortNum, 4);
}

TEST_F(MachinePortTest, DirectFileTransferOpensNoPort) {
    ASSERT_TRUE(openMachine("Direct"));
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(sink.portStatus, "Direct File Transfer");
    EXPECT_EQ(sink.statusTexts.back(), "Ready, On Line ...");
}

TEST_F(MachinePortTest, HubButtonChecksItsAnswers) {
    control.loadHubTable();
    struct Case {
        std::vector<std::optional<std::string>> inputs;
        std::vector<std::string> errors;
        std::string hubBytes;
    };
    const Case cases[] = {
        {{"5"}, {"Hub number must be between 1 and 4"}, ""},
        {{"0"}, {"Hub number must be between 1 and 4"}, ""},
        {{"two"}, {"Hub number must be between 1 and 4"}, ""},
        {{"2", "9"}, {"Port number must be between 1 and 8"}, ""},
        {{"2", "x"}, {"Port number must be between 1 and 8"}, ""},
        {{std::nullopt}, {}, ""},
        {{"2", std::nullopt}, {}, ""},
        {{"2", "3"}, {}, "2"},
        {{" 2 ", "8"}, {}, "7"},
    };
    for (const Case& c : cases) {
        interaction.messages.clear();
        interaction.inputs.assign(c.inputs.begin(), c.inputs.end());
        hubPort->peer().clearReceived();
        control.hubButton();
        EXPECT_EQ(errors(), c.errors) << c.inputs.size();
        EXPECT_EQ(hubPort->peer().received(), c.hubBytes);
    }
    interaction.boxes.clear();
    interaction.inputs = {"3", "4"};
    control.hubButton();
    EXPECT_EQ(interaction.boxes, (std::vector<std::string>{"Switch HUB/Port|Hub number ?|1",
                                                           "Switch HUB/Port|Port number ?|3"}));
    EXPECT_EQ(errors(), std::vector<std::string>{"HUB #3 Has not been Defined!"});
}

TEST_F(MachinePortTest, UnreadableMachineDatabaseSaysSoAndDefinesNoHub) {
    control.loadHubTable();
    ASSERT_EQ(control.hubs[1].PortNum, 3);
    std::filesystem::remove(system.file("WPOSTS.INI"));
    std::filesystem::create_directory(system.file("WPOSTS.INI"));
    IniStore::clearCache();
    state.CurrentMachine = "Mill";
    state.CurrentMachComRec.BaudNum = 6;
    control.loadHubTable();
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_TRUE(errors()[0].starts_with("Cannot read the machine database " + machines.path()));
    for (const MachComRec& hub : control.hubs) EXPECT_EQ(hub.PortNum, -1);
    EXPECT_EQ(state.CurrentMachine, "Mill");
    EXPECT_EQ(state.CurrentMachComRec.BaudNum, 6);
    EXPECT_EQ(interaction.busyDepth, 0);
}

TEST_F(MachinePortTest, HubSwitchNeverHangsOnAPortHeldByXoff) {
    ASSERT_TRUE(openMachine("Mill"));
    hubPort->peer().write("\x13");
    clock.advance(std::chrono::milliseconds(10));
    ASSERT_EQ(port.sendText("G0 X0\r\n"), SendResult::Sent);
    // The queue never drains; the switch gives up waiting and goes on.
    EXPECT_TRUE(control.selectHub(2, 1));
    EXPECT_EQ(hubPort->peer().received().back(), '0');
}

TEST_F(MachinePortTest, LongHubStringNeverHangsOnAHubHeldByXoff) {
    state.Settings.ComOutSize = 128;  // the smallest queue there is
    IniStore::update(machines.path(), [](IniFile& ini) {
        ini.writeString("HUB1", "SINIT", "NOHUB" + std::string(300, 'S'));
        ini.writeString("HUB1", "FLOW", "1");  // the station obeys the hub's XOFF
    });
    noHubPort->peer().onByte = [&](uint8_t) {
        if (noHubPort->peer().arrivals().size() == 1) noHubPort->peer().write("\x13");
    };
    EXPECT_TRUE(openMachine("Lathe"));
    EXPECT_LT(noHubPort->peer().received().size(), 300u);
    EXPECT_LT(clock.now(), std::chrono::minutes(1));
}

}  // namespace
}  // namespace zantor
