#include "dnc/remote_station.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dnc/dnc_station.h"
#include "dnc/port/file_transfer.h"
#include "dnc/tape_code.h"
#include "fake_line_simulator.h"
#include "port/fake_port_fixture.h"
#include "recording_sink.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

using std::chrono::seconds;
using testing::FakeLineSimulator;
using testing::MachineProfile;
using testing::MachineSimulator;

class NoWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string&) override {}
    void hideWaiting() override {}
    bool stopWaiting() const override { return false; }
};

class RecordingView : public RemoteStationView {
public:
    void operatorMessage(const std::string& line) override { messages.push_back(line); }
    void reopenPort() override { ++reopened; }
    std::vector<std::string> messages;
    int reopened = 0;
};

class RemoteStationTest : public testing::FakePortTest {
protected:
    RemoteStationTest() {
        openAt({9600, 8, TParity::pNone, 1});
        log.LoggingEnabled = true;
        std::filesystem::create_directories(download + "jobs");
        std::filesystem::create_directories(upload);
        machine.Format.DownloadFolder = download;
        machine.Format.UploadFolder = upload;
        machine.Comm.DeviceType = kDeviceRemoteControl;
        machine.Comm.TapeCode = kTapeIso;
        machine.Comm.EofTime = 1;
        machine.Comm.RmtSendDelay = machine.Comm.RmtRecvDelay = machine.Comm.RmtDirDelay = 2;
    }
    // Runs the station while the control does what `script` arranged, then stops it.
    void runFor(seconds length) {
        RemoteStation remote(station, machine, "Mill", TapeOptions{}, folder.file("WORK.TMP"),
                             false, view);
        clock.callAfter(length, [&] { remote.stop(); });
        remote.run();
    }
    bool terminalHas(const std::string& line) const {
        return std::find(sink.lines.begin(), sink.lines.end(), line) != sink.lines.end();
    }

    testing::TempFolder folder;
    std::string download = folder.path() + "nc/", upload = folder.path() + "in/";
    FileTransfer transfer{port};
    ActivityLog log{folder.file("ZTRDNC.LOG")};
    testing::RecordingSink sink;
    NoWaiting waiting;
    RecordingView view;
    DncStation station{port, transfer, log, sink, waiting};
    MachineSettings machine;
};

TEST_F(RemoteStationTest, ASendRequestSendsTheFileAfterTheDelayAndLogsIt) {
    folder.write("nc/PROG1.TAP", "%\r\nO1\r\nG1X1\r\n%\r\n");
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("xx(SND PROG1)"); });
    runFor(seconds(20));
    EXPECT_EQ(control.received(), "%\r\nO1\r\nG1X1\r\n%\r\n");
    EXPECT_TRUE(terminalHas("Remote Requested Send of [PROG1]"));
    EXPECT_TRUE(terminalHas("Waiting [2] Seconds"));
    EXPECT_NE(folder.read("ZTRDNC.LOG").find("Remote Command \"Send\", Machine [Mill],File [" +
                                             download + "PROG1.TAP]"),
              std::string::npos);
}

TEST_F(RemoteStationTest, APathRequestAppliesToTheNextRequestOnly) {
    folder.write("nc/jobs/A1.TAP", "G1\r\n");
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("(PTH jobs)(SND A1)"); });
    control.after(seconds(10), [](MachineSimulator& m) { m.type("(SND A1)"); });
    runFor(seconds(20));
    EXPECT_EQ(control.received(), "G1\r\n");
    EXPECT_TRUE(terminalHas("Remote Set Path To [jobs]"));
    EXPECT_TRUE(terminalHas("Remote Request for [" + download + "A1.TAP] Failed"));
}

TEST_F(RemoteStationTest, ArgumentsThatLeaveTheFolderAreRefusedAndTheStationGoesOn) {
    folder.write("secret.TAP", "no");
    folder.write("nc/OK.TAP", "G0\r\n");
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("(SND ../secret)(PTH /etc)"); });
    control.after(seconds(3), [](MachineSimulator& m) { m.type("(SND OK)"); });
    runFor(seconds(20));
    EXPECT_EQ(control.received(), "G0\r\n");
    EXPECT_TRUE(terminalHas("Remote Request for [" + download + "../secret] Failed"));
    EXPECT_TRUE(terminalHas("Remote Request for [/etc] Failed"));
    EXPECT_NE(folder.read("ZTRDNC.LOG").find("Remote Request for [/etc] Failed"),
              std::string::npos);
}

TEST_F(RemoteStationTest, AReceiveRequestStoresWhatTheMachinePunches) {
    machine.Comm.EofTime = 3;
    folder.write("in/OLD.TAP", "keep");
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("(RCV OLD)"); });
    control.after(seconds(2), [](MachineSimulator& m) { m.type("(RCV NEW)"); });
    // The operator starts the punch once the station waited its delay.
    control.after(seconds(5), [](MachineSimulator& m) { m.punch("%\r\nN1G1\r\nM30\r\n%\r\n"); });
    runFor(seconds(30));
    EXPECT_EQ(folder.read("in/OLD.TAP"), "keep");
    EXPECT_TRUE(terminalHas("File Exists, Ignoring Request "));
    EXPECT_EQ(folder.read("in/NEW.TAP"), "%\r\nN1G1\r\nM30\r\n%\r\n");
}

TEST_F(RemoteStationTest, ADirectoryRequestReturnsTheListingProgram) {
    folder.write("nc/A.TAP", std::string(1200, 'x'));
    folder.write("nc/B.TAP", std::string(35, 'x'));
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("(DIR *.TAP)"); });
    control.after(seconds(8), [](MachineSimulator& m) { m.type("(DIR *.XYZ)"); });
    runFor(seconds(20));
    EXPECT_EQ(control.received(),
              "\r\n%\r\nO7000\r\n(A.TAP   1200 Chrs)\r\n(B.TAP   35 Chrs)\r\nM30\r\n%\r\n"
              "\r\n%\r\nO7000\r\n(No Files Found?)\r\nM30\r\n%\r\n");
}

TEST_F(RemoteStationTest, MessagesReachTheOperatorWithTheTime) {
    FakeLineSimulator control(device, clock, MachineProfile{});
    control.after(seconds(1), [](MachineSimulator& m) { m.type("(MSG TOOL 5 WORN)"); });
    runFor(seconds(5));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].ends_with(": TOOL 5 WORN"));
    EXPECT_EQ(view.messages[0].size(), std::string("10:15:00: TOOL 5 WORN").size());
}

TEST_F(RemoteStationTest, RequestsWithParityAndAfterGarbageAreAnswered) {
    machine.Comm.TapeCode = kTapeAscii;
    folder.write("nc/P.TAP", "G1\r\n");
    FakeLineSimulator control(device, clock, MachineProfile{TapeCode::Ascii});
    std::string request;
    for (const char c : std::string("(SND P)")) request += char(addEvenParity(uint8_t(c)));
    control.after(seconds(1), [](MachineSimulator& m) { m.type(std::string("\0\xff(SND", 6)); });
    control.after(seconds(20), [request](MachineSimulator& m) { m.type(request); });
    runFor(seconds(40));
    // The start without its end timed out; the later request was read through its parity.
    EXPECT_TRUE(terminalHas("Remote Requested Send of [P]"));
    EXPECT_FALSE(terminalHas("Remote Requested Send of [\x80\xa8SND P]"));
    EXPECT_NE(control.received().find(char(addEvenParity('G'))), std::string::npos);
}

}  // namespace
}  // namespace zantor
