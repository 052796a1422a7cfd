#include "dnc/dnc_commands.h"

#include <gtest/gtest.h>

#include "activity_log_lines.h"
#include "core/file_io.h"
#include "core/ini_store.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port/status_lights.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/transfer_messages.h"
#include "fake_line_simulator.h"
#include "qt_test_app.h"
#include "recording_sink.h"
#include "scripted_interaction.h"
#include "session/run_state.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

using testing::FakeLineSimulator;
using testing::MachineProfile;
using testing::MachineSimulator;
using std::chrono::seconds;

class ScriptedWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string& text) override { texts.push_back(text); }
    void hideWaiting() override {}
    bool stopWaiting() const override { return stop; }
    std::vector<std::string> texts;
    bool stop = false;
};

// Chooses what the test says, as the send dialog would.
class ScriptedChooser : public SendChooser {
public:
    std::optional<SendChoice> chooseForSend(bool) override {
        ++asked;
        return choice;
    }
    void clearChosenFiles() override { ++cleared; }
    std::optional<SendChoice> choice;
    int asked = 0, cleared = 0;
};

// The DNC window's commands on a fake line at 9600 baud, on simulated time,
// with the machine "Mill" current.
class DncCommandsTest : public ::testing::Test {
protected:
    DncCommandsTest() {
        testing::ensureQtApplication();
        IniStore::clearCache();
        settings.Comm.PortNum = 0;
        settings.Comm.BaudNum = 6;  // 9600
        settings.Comm.BitsNum = 4;
        settings.Comm.ParityNum = 0;
        settings.Comm.StopBitsNum = 0;
        settings.Comm.TapeCode = kTapeIso;
        settings.Comm.EofTime = 1;
        settings.Format.UploadFolder = folder.path() + "up";
        settings.Format.DownloadFolder = folder.path() + "down";
        state.ProgramFolder = state.TempDir = folder.path();
        state.SendFile = folder.write("SEND.TMP", "");
        state.WorkFile = folder.write("WORK.TMP", "");
        log.LoggingEnabled = true;
        QObject::connect(&transfer, &FileTransfer::OnProtocolFinish,
                         [this](int code) { commands.onTransferFinished(code); });
        QObject::connect(&transfer, &FileTransfer::OnProtocolError,
                         [this](int code) { commands.onTransferError(code); });
        commands.busyChanged = [this](bool busy) { busyChanges.push_back(busy); };
    }

    // The machine as set, current, with its port open.
    void open() {
        machines.AddMachine("Mill", settings);
        state.CurrentMachine = "Mill";
        state.CurrentMachComRec = machines.ReadMachComRec("Mill", state.CurrentSettings);
        ASSERT_TRUE(control.openForCurrentMachine());
        commands.windowShown();
    }
    std::vector<std::string> logLines() {
        return testing::activityLogLines(folder.path() + "ZTRDNC.LOG");
    }
    void runUntilIdle() {
        clock.waitUntil([&] { return !commands.Busy(); }, Clock::kForever, WaitMode::Responsive);
    }
    std::string prepared(const std::string& text) {
        const std::string source = folder.write("SRC.TAP", text);
        prepareDiskFile(source, state.WorkFile, state.SendFile,
                        tapeOptionsFor(state.CurrentSettings, state.Settings));
        return readFileBytes(state.SendFile);
    }

    testing::TempFolder folder;
    MachineSettings settings;
    RunState state;
    MachineDatabase machines{folder.path() + "WPOSTS.INI"};
    ManualClock clock;
    FakeDeviceBank bank{clock};
    FakeSerialDevice& device = bank.add("/dev/ttyS0");
    ComPort port{clock, bank};
    StatusLights lights{port};
    FileTransfer transfer{port};
    ActivityLog log{folder.path() + "ZTRDNC.LOG"};
    testing::RecordingSink sink;
    ScriptedWaiting waiting;
    DncStation station{port, transfer, log, sink, waiting};
    testing::ScriptedInteraction ui;
    MachinePortControl control{port, lights, ui, sink, state, machines};
    ScriptedChooser chooser;
    DncCommands commands{station, ui, state, machines, control, chooser};
    std::vector<bool> busyChanges;
};

TEST_F(DncCommandsTest, MultiFileSendGoesFromTheLastFileToTheFirst) {
    settings.Comm.SendInit = "I";
    settings.Comm.MultiFileDelay = 2;
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    const std::string a = folder.write("A.TAP", "G1 A\r\n");
    const std::string b = folder.write("B.TAP", "G1 B\r\n");
    const std::string c = folder.write("C.TAP", "G1 C\r\n");
    chooser.choice = SendChoice{{a, b, c}, a, {}};
    const auto start = clock.now();
    commands.send();
    EXPECT_FALSE(commands.Busy());
    // Each file as stored, after the init string, the last one first.
    EXPECT_EQ(control.received(), "IG1 C\r\nIG1 B\r\nIG1 A\r\n");
    EXPECT_EQ(sink.lines, (std::vector<std::string>{c, "Done with: " + c, b, "Done with: " + b,
                                                    a, "Done with: " + a}));
    EXPECT_EQ(logLines(), (std::vector<std::string>{"DNC Send File [" + c + "]",
                                                    "DNC Send File [" + b + "]",
                                                    "DNC Send File [" + a + "]"}));
    EXPECT_GE(clock.now() - start, seconds(6));  // MultiFileDelay after each
    EXPECT_EQ(chooser.cleared, 1);
    // Busy from the start of the batch to its end, not per file.
    EXPECT_EQ(busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(sink.statusTexts.back(), "Ready, On Line ...");
}

TEST_F(DncCommandsTest, CancelDuringAMultiFileSendStopsTheBatch) {
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    const std::string a = folder.write("A.TAP", std::string(2000, 'A'));
    const std::string b = folder.write("B.TAP", std::string(2000, 'B'));
    const std::string c = folder.write("C.TAP", std::string(2000, 'C'));
    chooser.choice = SendChoice{{a, b, c}, a, {}};
    control.onReceivedCount(2500, [&](MachineSimulator&) {
        clock.callAfter(Clock::Duration(0), [&] { commands.cancelRunning(); });
    });
    commands.send();
    EXPECT_FALSE(commands.Busy());
    const std::string got = control.received();
    EXPECT_EQ(got.find('A'), std::string::npos) << "A went out after the cancel";
    EXPECT_EQ(got.substr(0, 2000), std::string(2000, 'C'));
    EXPECT_LT(got.size(), 4000u);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Cancel Pressed, Data May Have Been Lost !!"});
    EXPECT_EQ(std::count(sink.lines.begin(), sink.lines.end(), "Done with: " + c), 1);
    EXPECT_EQ(std::count(sink.lines.begin(), sink.lines.end(), "Done with: " + b), 0);
}

TEST_F(DncCommandsTest, ASecondSendWaitsForTheFirstToEnd) {
    settings.Comm.KeepRtsDelay = 1;
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    chooser.choice = SendChoice{{}, "O1.TAP", state.SendFile};
    const std::string text = prepared(std::string(3000, 'N'));
    commands.send();
    ASSERT_TRUE(transfer.inProgress());
    EXPECT_TRUE(commands.Busy());
    // Send and Receive are refused while it runs: the send file is not
    // prepared again under the transfer.
    commands.send();
    commands.receive();
    EXPECT_EQ(chooser.asked, 1);
    EXPECT_TRUE(ui.fileRequests.empty());
    runUntilIdle();
    EXPECT_EQ(control.received(), text);
    // Busy until the reactions to the end have run (the RTS hold).
    EXPECT_EQ(busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Keeping RTS Up", "Done Keeping RTS Up"}));
    EXPECT_EQ(sink.statusTexts.back(), "Ready, On Line");
    EXPECT_EQ(logLines(), std::vector<std::string>{"DNC Send File [O1.TAP]"});
    commands.send();
    EXPECT_EQ(chooser.asked, 2);
}

TEST_F(DncCommandsTest, ReceiveAsksBeforeReplacingAFile) {
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    const std::string old = folder.write("O1.TAP", "old");
    const std::string other = folder.write("O2.TAP", "other");

    // Cancel at the question ends it: nothing logged, nothing received.
    ui.savedFiles = {old};
    ui.answers = {Answer::Cancel};
    commands.receive();
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(readFileBytes(old), "old");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Do you really want to overwrite O1.TAP?"});
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNoCancel);
    EXPECT_FALSE(ui.fileRequests[0].confirmOverwrite);
    EXPECT_EQ(ui.fileRequests[0].filter, "Tape files (*.TAP);;Text Files (*.txt);;All files (*)");
    EXPECT_EQ(ui.fileRequests[0].folder, folder.path() + "up/");  // fresh folder

    // No chooses again; Yes replaces.
    ui.messages.clear();
    ui.fileRequests.clear();
    ui.savedFiles = {other, old};
    ui.answers = {Answer::No, Answer::Yes};
    clock.callAfter(std::chrono::milliseconds(500), [&] { control.punch("G1 X1\r\nM30\r\n"); });
    commands.receive();
    EXPECT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(readFileBytes(old), "G1 X1\r\nM30\r\n");
    EXPECT_EQ(readFileBytes(other), "other");
    EXPECT_EQ(logLines(), (std::vector<std::string>{"DNC Receive Overwrite File [" + old + "]",
                                                    "DNC Receive File [" + old + "]"}));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Do you really want to overwrite O2.TAP?",
                                                    "Do you really want to overwrite O1.TAP?"}));
    EXPECT_EQ(sink.statusTexts.back(), "Ready, On Line");
    EXPECT_FALSE(commands.Busy());
}

TEST_F(DncCommandsTest, FinishMessages) {
    const std::tuple<int, bool, std::optional<TransferMessage>> cases[] = {
        {0, false, std::nullopt},
        {0, true, TransferMessage{MessageKind::Information, "Down/Up Load Successful"}},
        {-6005, true,
         TransferMessage{MessageKind::Warning, "Cancel Pressed, Data May Have Been Lost !!"}},
        {-6006, false, TransferMessage{MessageKind::Error, "Protocol Error:  Fatal time out"}},
        {-2, false, TransferMessage{MessageKind::Error, "Protocol Error:  File not found"}},
    };
    for (const auto& [code, alert, message] : cases)
        EXPECT_EQ(transferFinishedMessage(code, alert), message) << code;
    EXPECT_EQ(transferErrorMessage(-6014).text, "Fatal protocol error: Aborting due to carrier loss");
}

TEST_F(DncCommandsTest, AnotherMachineMadeCurrentGetsItsOwnPortFirst) {
    open();
    MachineSettings lathe = settings;
    lathe.Comm.PortNum = 1;
    lathe.Comm.TapeCode = kTapeEia;
    machines.AddMachine("Lathe", lathe);
    FakeSerialDevice& lathePort = bank.add("/dev/ttyS1");
    FakeLineSimulator latheControl(lathePort, clock, MachineProfile{TapeCode::Eia});
    std::vector<std::string> shown;
    commands.machineChanged = [&](const std::string& name) { shown.push_back(name); };
    // The main window's selector chose the lathe while the window was open.
    state.CurrentMachine = "Lathe";
    state.CurrentMachComRec = machines.ReadMachComRec("Lathe", state.CurrentSettings);
    chooser.choice = SendChoice{{}, "O1.TAP", state.SendFile};
    prepared("G1\r\n");
    commands.send();
    runUntilIdle();
    EXPECT_EQ(shown, std::vector<std::string>{"Lathe"});
    EXPECT_EQ(latheControl.received(), "\x67\x01\x80");  // EIA "G1" and the end of block
    EXPECT_TRUE(latheControl.faults().empty());
    EXPECT_EQ(device.peer().received(), "");
}

}  // namespace
}  // namespace zantor

#include "dnc/disk_file_chooser.h"
#include "dnc/station_close.h"

namespace zantor {
namespace {

TEST_F(DncCommandsTest, ClosingReleasesAMachineHeldByOurXoffThenDropsDtr) {
    state.Settings.ComInSize = 256;  // our XOFF at 192 bytes
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    std::string program;
    for (int i = 0; i < 100; ++i) program += "N" + std::to_string(i) + " G1 X1\r\n";
    control.punch(program);
    // Nobody reads the input: our XOFF holds the machine.
    clock.advance(seconds(2));
    ASSERT_EQ(port.flowState(), FlowState::ReceiveHeldXoffSent);
    ASSERT_FALSE(control.outputDone());
    const auto start = clock.now();
    closeStationPort(port);
    EXPECT_FALSE(port.Open());
    // It got XON and finished its punch into an open port.
    EXPECT_TRUE(control.outputDone());
    EXPECT_EQ(control.received().back(), '\x11');
    EXPECT_LE(clock.now() - start, kReleaseLimit);
    const auto& changes = device.lineChanges();
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes[changes.size() - 2], (FakeSerialDevice::LineChange{
                                               changes[changes.size() - 2].at, true, false, true}));
    EXPECT_FALSE(changes.back().open);

    // A machine that never stops is given up on after the limit.
    ASSERT_TRUE(port.open() == std::nullopt);
    std::string endless(60000, 'N');
    control.punch(endless);
    clock.advance(seconds(1));
    ASSERT_EQ(port.flowState(), FlowState::ReceiveHeldXoffSent);
    const auto again = clock.now();
    closeStationPort(port);
    EXPECT_FALSE(port.Open());
    EXPECT_GE(clock.now() - again, kReleaseLimit);
    EXPECT_LT(clock.now() - again, kReleaseLimit + seconds(1));
}

TEST_F(DncCommandsTest, DiskFileChooserPreparesOneFileAndLeavesSeveralAsStored) {
    settings.Comm.TapeCode = kTapeEia;
    open();
    DiskFileChooser disk(state, ui);
    const std::string a = folder.write("A.TAP", "G1\r\n");
    const std::string b = folder.write("B.TAP", "G2\r\n");
    ui.openedFiles = {{a}, {a, b}, {}};
    const auto one = disk.chooseForSend(true);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->files, std::vector<std::string>{a});
    EXPECT_EQ(one->sentName, a);
    EXPECT_EQ(one->sendFile, state.SendFile);
    EXPECT_EQ(readFileBytes(state.SendFile), "\x67\x01\x80");
    EXPECT_TRUE(ui.fileRequests[0].multiple);
    EXPECT_EQ(ui.fileRequests[0].folder, folder.path() + "down/");

    const auto two = disk.chooseForSend(true);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->files, (std::vector<std::string>{a, b}));
    EXPECT_EQ(two->sendFile, "");
    EXPECT_FALSE(disk.chooseForSend(true));  // cancelled

    // A program the tape code cannot carry is refused with the reason.
    const std::string bad = folder.write("BAD.TAP", "G1 <ESC>\r\n");
    ui.openedFiles = {{bad}};
    EXPECT_FALSE(disk.chooseForSend(true));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("has no EIA code"), std::string::npos);
}

TEST_F(DncCommandsTest, ReceiveBinKeepsEveryByteUntilStopped) {
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    const std::string path = folder.file("RAW.BIN");
    ui.savedFiles = {path};
    const std::string bytes("\x13\x11\x00\xFFG1\r\n", 8);
    clock.callAfter(seconds(1), [&] { control.type(bytes); });
    clock.callAfter(seconds(3), [&] { waiting.stop = true; });
    commands.receiveBin();
    EXPECT_EQ(readFileBytes(path), bytes);
    EXPECT_EQ(waiting.texts, std::vector<std::string>{"Receiving Binary File"});
    EXPECT_EQ(port.SWFlowOptions(), TSWFlowOptions::swfNone);
    EXPECT_TRUE(sink.portInput);
}

TEST_F(DncCommandsTest, NewSendTestQueuesTheFileBlockByBlock) {
    settings.Comm.SendInit = "I";
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    const std::string text(600, 'X');
    const std::string file = folder.write("O7.TAP", text);
    chooser.choice = SendChoice{{file}, file, state.SendFile};
    commands.newSendTest();
    clock.advance(seconds(2));
    EXPECT_EQ(control.received(), "I" + text);
    EXPECT_EQ(sink.screenText, "...");
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Start Sending (New method)", "",
                                                    "Done Sending (New method)"}));
    EXPECT_EQ(logLines(), std::vector<std::string>{"DNC Send File [" + file + "]"});
}

TEST_F(DncCommandsTest, SendTestPatternSendsTheSizeAsked) {
    open();
    FakeLineSimulator control(device, clock, MachineProfile{});
    ui.inputs = {"x1", "1"};
    commands.sendTestPattern();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"'x1' is not a valid integer value"});
    EXPECT_EQ(control.received(), "");
    commands.sendTestPattern();
    clock.advance(seconds(1));
    EXPECT_EQ(ui.prompts, (std::vector<std::string>{"File Size (in K bytes) ?",
                                                    "File Size (in K bytes) ?"}));
    const std::string got = control.received();
    EXPECT_TRUE(got.starts_with("%\r\nO7777\r\nG01X1.5Y2.5Z3.5\r\n")) << got.substr(0, 40);
    EXPECT_TRUE(got.ends_with("G01X1.5Y2.5Z3.5\r\nM30\r\n%\r\n"));
    size_t lines = 0;
    for (size_t at = got.find("G01"); at != std::string::npos; at = got.find("G01", at + 1))
        ++lines;
    EXPECT_EQ(lines, 68u);
}

}  // namespace
}  // namespace zantor
