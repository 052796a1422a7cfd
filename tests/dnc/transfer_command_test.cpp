// zantor-cli send and receive over a pseudo-terminal to the machine
// simulator, in real time, as a user runs them.
#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <thread>

#include "process_runner.h"
#include "pty_pair.h"
#include "pty_simulator.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::MachineProfile;
using testing::ProcessResult;
using testing::PtySimulator;

constexpr int kLineRate = 11520;

class TransferCommandTest : public ::testing::Test {
protected:
    TransferCommandTest() {
        home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
    }
    // A machine at 115200 baud, 8N1, XON/XOFF both ways, with more keys.
    void machine(const std::string& keys) {
        home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\n"
                                 "BAUD=115200\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\n" +
                                     keys);
    }
    ProcessResult cli(std::vector<std::string> args, std::function<void(pid_t)> started = {}) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args, "", started);
    }
    std::vector<std::string> portArgs(const std::string& command, const std::string& file) {
        return {command, "--machine", "Mill", "--port", pty.slavePath(), file};
    }

    testing::TempFolder home, files;
    testing::PtyPair pty;
};

std::string program(int lines) {
    std::string text = "%\r\nO1000\r\n";
    for (int n = 1; n <= lines; ++n)
        text += "N" + std::to_string(n) + " G1 X" + std::to_string(n % 100) + ".5 Y-3.25\r\n";
    return text + "M30\r\n%\r\n";
}

TEST_F(TransferCommandTest, SendsAnEiaProgramThroughXoffPauses) {
    machine("TCODE=0\nSSEND=%\nESEND=/011\nLLEN=1\nSINIT=/-20\n");
    const std::string file = files.write("O1000.TAP", "(not sent)\r\n" + program(300));
    ASSERT_EQ(cli({"prepare", "--machine", "Mill", file, "-o", files.file("EXPECTED")}).status, 0);
    const std::string expected = files.read("EXPECTED");
    MachineProfile profile{TapeCode::Eia};
    profile.bufferSize = 512;
    profile.blocksPerSecond = 400;
    PtySimulator control(pty.masterFd(), profile, kLineRate);

    const ProcessResult r = cli(portArgs("send", file));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 Down/Up Load Successful\n");
    EXPECT_EQ(r.err, "");  // no progress when stderr is no terminal
    ASSERT_TRUE(control.waitFor([&](const auto& m) { return m.receivedCount() >= expected.size(); },
                                seconds(5)));
    EXPECT_TRUE(control.received() == expected)
        << control.receivedCount() << " bytes arrived of " << expected.size();
    EXPECT_TRUE(control.faults().empty()) << control.faults().front();
    EXPECT_GE(control.xoffsSent(), 2);
    const std::string log = home.read("ZTRDNC.LOG");
    EXPECT_NE(log.find(",DNC Send File [" + file + "]\n"), std::string::npos) << log;
    const std::string history = home.read("ztrprot.txt");
    EXPECT_NE(history.find("Ascii transmit started on  "), std::string::npos) << history;
    EXPECT_NE(history.find("Ascii transmit finished OK "), std::string::npos) << history;
}

TEST_F(TransferCommandTest, ReceivesAnAsciiPunchBackToText) {
    machine("TCODE=1\nSRECV=%\nERECV=/020\nEOFTIME=1\n");
    PtySimulator control(pty.masterFd(), MachineProfile{TapeCode::Ascii}, kLineRate);
    const std::string text = program(200);
    control.onReceived("\xA5", [&](testing::MachineSimulator& m) { m.punch(text, {1, {}}); });
    const std::string file = files.write("O1000.TAP", "the old program");
    const ProcessResult r = cli(portArgs("receive", file));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 Down/Up Load Successful\n");
    EXPECT_TRUE(files.read("O1000.TAP") == text) << files.read("O1000.TAP").size();
    EXPECT_TRUE(control.waitFor([](const auto& m) { return m.received() == "\xA5\x14"; },
                                seconds(2)));
    const std::string log = home.read("ZTRDNC.LOG");
    EXPECT_NE(log.find(",DNC Receive Overwrite File [" + file + "]\n"), std::string::npos);
    EXPECT_NE(log.find(",DNC Receive File [" + file + "]\n"), std::string::npos);
}

TEST_F(TransferCommandTest, AReceiveThatGetsNothingKeepsTheOldFile) {
    machine("TCODE=2\nEOFTIME=1\n");
    PtySimulator control(pty.masterFd(), MachineProfile{}, kLineRate);
    const std::string file = files.write("O1000.TAP", "the old program");
    const ProcessResult r = cli(portArgs("receive", file));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli receive: Protocol Error: -6100 Nothing was received\n");
    EXPECT_EQ(files.read("O1000.TAP"), "the old program");
}

TEST_F(TransferCommandTest, AProgramThatEiaCannotCarryIsNotSent) {
    machine("TCODE=0\n");
    PtySimulator control(pty.masterFd(), MachineProfile{TapeCode::Eia}, kLineRate);
    const std::string file = files.write("O1000.TAP", "G1 X1\r\nG1 X2 {FAST}\r\n");
    const ProcessResult r = cli(portArgs("send", file));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli send: " + file +
                         ", line 2, column 7: \"{\" (0x7B) has no EIA code\n");
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(control.receivedCount(), 0u);
    EXPECT_EQ(home.read("ZTRDNC.LOG"), "");  // nothing logged either
}

TEST_F(TransferCommandTest, CtrlCCancelsASendHeldByXoff) {
    machine("TCODE=2\n");
    PtySimulator control(pty.masterFd(), MachineProfile{}, kLineRate);
    control.onReceivedCount(200, [](testing::MachineSimulator& m) { m.type("\x13"); });
    const std::string file = files.write("O1000.TAP", program(500));
    std::promise<pid_t> pid;
    auto run = std::async(std::launch::async, [&] {
        return cli(portArgs("send", file), [&](pid_t p) { pid.set_value(p); });
    });
    const pid_t child = pid.get_future().get();
    ASSERT_TRUE(control.waitFor([](const auto& m) { return m.receivedCount() >= 200; }, seconds(5)));
    std::this_thread::sleep_for(milliseconds(200));
    ::kill(child, SIGINT);
    const ProcessResult r = run.get();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli send: Protocol Error: -6005 Cancel requested\n");
    EXPECT_LT(control.receivedCount(), 400u);
    EXPECT_NE(home.read("ztrprot.txt").find("Ascii transmit failed "), std::string::npos);
}

TEST_F(TransferCommandTest, SendWaitsForTheMachinesXon) {
    machine("TCODE=2\nSINIT=HELLO\nXONWAIT=1\n");
    PtySimulator control(pty.masterFd(), MachineProfile{}, kLineRate);
    control.onReceived("HELLO", [](testing::MachineSimulator& m) {
        m.after(milliseconds(300), [](testing::MachineSimulator& later) { later.type("?\x11"); });
    });
    const std::string file = files.write("O1000.TAP", "G1\r\n");
    const ProcessResult r = cli(portArgs("send", file));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Waiting for Mill to send an XON ... (Ctrl-C stops waiting)\n");
    EXPECT_TRUE(control.waitFor([](const auto& m) { return m.received() == "HELLOG1\r\n"; },
                                seconds(2)))
        << control.received();
}

TEST_F(TransferCommandTest, MistakesGiveOneLineAndStatusOne) {
    machine("TCODE=2\nHUB=2\n");
    const std::string file = files.write("O1000.TAP", "G1\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"send", "--machine", "Nowhere", file}, "zantor-cli send: no machine named 'Nowhere'\n"},
        {{"send", "--machine", "Mill", "--port", "COM1", file},
         "zantor-cli send: --port takes a number or a device path\n"},
        {{"send", "--machine", "Mill", "--port", "/dev/zantor-no-such-tty", file},
         "zantor-cli send: /dev/zantor-no-such-tty does not exist\n"},
        {{"send", "--machine", "Mill", "--port", pty.slavePath(), files.file("NONE.TAP")},
         "zantor-cli send: " + files.file("NONE.TAP") + ": No such file or directory\n"},
        {{"receive", "--machine", "Mill"}, "zantor-cli receive: FILE is required\n"},
        {{"receive", "--machine", "Mill", file},
         "zantor-cli receive: HUB #2 Has not been Defined!\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = cli(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace zantor
