// Sends and receives whole programs over a pseudo-terminal to the machine
// simulator, in real time, as the DNC station does them.
#include <gtest/gtest.h>

#include "dnc/dnc_receive.h"
#include "dnc/dnc_send.h"
#include "dnc/dnc_station.h"
#include "dnc/port/file_transfer.h"
#include "dnc/send_file.h"
#include "pty_port_rig.h"
#include "pty_simulator.h"
#include "recording_sink.h"
#include "temp_folder.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::MachineProfile;
using testing::PtySimulator;

constexpr int kLineRate = 11520;  // 115200 baud, 8N1

class NoWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string&) override {}
    void hideWaiting() override {}
    bool stopWaiting() const override { return false; }
};

// A program that uses every character with an EIA code of its own, so that
// it reads back as it was in every tape code.
std::string sampleProgram(int lines) {
    std::string program = "%\r\nO1234 PART 33\r\n";
    for (int n = 1; n <= lines; ++n)
        program += "N" + std::to_string(n * 5) + " G1 X-" + std::to_string(n % 97) + ".3 Y+" +
                   std::to_string(n % 31) + ".125 F33.\r\n";
    return program + "#1[#2*3]/4\r\nM30\r\n%\r\n";
}

class PtyTransferTest : public ::testing::TestWithParam<TapeCode>, protected testing::PtyPortRig {
protected:
    PtyTransferTest() {
        port.setLineSettings({115200, 8, TParity::pNone, 1});
        port.setSWFlowOptions(TSWFlowOptions::swfBoth);
        EXPECT_FALSE(port.open().has_value());
        machine.TapeCode = int(GetParam());
        machine.XoffTime = 1;
        machine.EofTime = 1;
    }
    MachineProfile profile() const {
        MachineProfile p;
        p.code = GetParam();
        return p;
    }

    testing::TempFolder folder;
    FileTransfer transfer{port};
    ActivityLog log{folder.file("ZTRDNC.LOG")};
    testing::RecordingSink sink;
    NoWaiting waiting;
    DncStation station{port, transfer, log, sink, waiting};
    MachComRec machine;
};

TEST_P(PtyTransferTest, SendsByteForByteThroughXoffPauses) {
    MachineProfile p = profile();
    p.bufferSize = 1024;
    p.blocksPerSecond = 200;  // about 6 KB a second: slower than the line
    PtySimulator control(pty.masterFd(), p, kLineRate);

    TapeOptions options;
    options.code = GetParam();
    options.StartSend = "%";
    options.LeaderLen = 1;
    const std::string source = folder.write("O1234.TAP", sampleProgram(400));
    const std::string sendFile = folder.file("send"), workFile = folder.file("work");
    prepareDiskFile(source, workFile, sendFile, options);
    const std::string tape = folder.read("send");

    int finished = 1;
    QObject::connect(&transfer, &FileTransfer::OnProtocolFinish, [&](int c) { finished = c; });
    ASSERT_TRUE(singleSend(station, machine, "Mill", false, sendFile, source));
    clock.waitUntil([&] { return !transfer.inProgress(); }, seconds(30), WaitMode::Responsive);
    EXPECT_EQ(finished, 0);
    ASSERT_TRUE(control.waitFor([&](const auto& m) { return m.receivedCount() >= tape.size(); },
                                seconds(5)));
    EXPECT_TRUE(control.received() == tape) << "sent " << control.receivedCount() << " of "
                                            << tape.size();
    EXPECT_TRUE(control.faults().empty()) << control.faults().front();
    EXPECT_GE(control.xoffsSent(), 2);
    EXPECT_LE(control.peakFill(), 1024u);
}

TEST_P(PtyTransferTest, ReceivesAPunchWithPausesBackToText) {
    PtySimulator control(pty.masterFd(), profile(), kLineRate);
    const std::string program = sampleProgram(300);
    machine.StartRecv = "%";
    control.onReceived(GetParam() == TapeCode::Eia     ? "\x0B"
                       : GetParam() == TapeCode::Ascii ? "\xA5"
                                                       : "%",
                       [&](testing::MachineSimulator& m) {
                           m.punch(program, {2, {{3000, milliseconds(400)}}});
                       });
    const std::string path = folder.file("O1234.TAP");
    const ReceiveResult r = portReceive(station, machine, "Mill", false, {path, false});
    EXPECT_EQ(r.code, 0);
    const std::string text = folder.read("O1234.TAP");
    EXPECT_TRUE(text == program) << text.size() << " bytes, not " << program.size();
}

INSTANTIATE_TEST_SUITE_P(TapeCodes, PtyTransferTest,
                         ::testing::Values(TapeCode::Eia, TapeCode::Ascii, TapeCode::Iso),
                         [](const auto& info) {
                             return std::string(info.param == TapeCode::Eia     ? "Eia"
                                                : info.param == TapeCode::Ascii ? "Ascii"
                                                                                : "Iso");
                         });

}  // namespace
}  // namespace zantor
