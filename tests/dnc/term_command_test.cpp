#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "process_runner.h"
#include "pty_pair.h"
#include "pty_peer.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::ProcessResult;

class TermCommandTest : public ::testing::Test {
protected:
    ProcessResult term(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(),
                    {ZANTOR_CLI, "--home", home.path(), "--system", system.path(), "term"});
        return testing::runProcess(args, input);
    }
    std::vector<std::string> fastLine() const {
        return {"--port", pty.slavePath(), "--baud", "115200", "--bits",
                "8",      "--parity",      "N",      "--flow", "none"};
    }

    testing::TempFolder home, system;
    testing::PtyPair pty;
    testing::PtyPeer peer{pty.masterFd()};
};

TEST_F(TermCommandTest, InputGoesOutAndWhatArrivesIsPrinted) {
    peer.respond("O1000\r", "%\r\nO1000\r\nM30\r\n");
    auto args = fastLine();
    args.insert(args.end(), {"--wait", "1"});
    const ProcessResult r = term(args, "O1000\r");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(peer.received(), "O1000\r");
    EXPECT_EQ(r.out, "%\r\nO1000\r\nM30\r\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(TermCommandTest, EveryByteValueLeavesUnchanged) {
    std::string bytes;
    for (int round = 0; round < 8; ++round)
        for (int b = 0; b < 256; ++b) bytes.push_back(char(b));
    const ProcessResult r = term(fastLine(), bytes);
    EXPECT_EQ(r.status, 0) << r.err;
    // The command ended once its output had drained: all of it was sent.
    ASSERT_TRUE(peer.waitForCount(bytes.size(), seconds(10)));
    EXPECT_EQ(peer.received(), bytes);
}

TEST_F(TermCommandTest, ObeysXoffFromTheLine) {
    std::string program;
    for (int n = 10; program.size() < 800; n += 10)
        program += "N" + std::to_string(n) + " G1 X1\r\n";
    peer.setLineRate(960);  // the machine reads as a 9600-baud line delivers
    peer.respondAfter(100, "\x13");
    auto run = std::async(std::launch::async, [&] {
        return term({"--port", pty.slavePath(), "--baud", "9600", "--bits", "8", "--parity", "N",
                     "--flow", "xonxoff"},
                    program);
    });
    ASSERT_TRUE(peer.waitForCount(100, seconds(10)));
    std::this_thread::sleep_for(milliseconds(400));  // the machine digests its buffer
    ASSERT_TRUE(peer.lastReplyAt());
    EXPECT_LE(peer.receivedAfter(*peer.lastReplyAt()), 64u);
    EXPECT_LT(peer.receivedCount(), program.size());
    peer.write("\x11");
    const ProcessResult r = run.get();
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(peer.waitForCount(program.size(), seconds(10)));
    EXPECT_EQ(peer.received(), program);
    EXPECT_EQ(r.out, "");  // flow characters are not data
}

// The shell hands the terminal's own open file to the command as standard
// input; the command must leave it as it found it, or the next program
// reading the terminal fails with "Resource temporarily unavailable".
TEST_F(TermCommandTest, StandardInputIsLeftAsItWasFound) {
    const std::string input = home.path() + "input.txt";
    home.write("input.txt", "G0 X0\r\n");
    const int in = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(in, 0);
    const int flagsBefore = ::fcntl(in, F_GETFL);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {ZANTOR_CLI, "--home",      home.path(),
                                     "--system", system.path(), "term"};
    for (const std::string& a : fastLine()) args.push_back(a);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, ZANTOR_CLI, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(peer.waitForCount(7, seconds(10)));
    EXPECT_EQ(peer.received(), "G0 X0\r\n");
    EXPECT_EQ(::fcntl(in, F_GETFL), flagsBefore);
    ::close(in);
}

TEST_F(TermCommandTest, MachineSettingsWithOptionsOnTop) {
    system.write("WPOSTS.INI",
                 "[Machine Names]\nNumber=1\nMachine1=Mill\n"
                 "[Mill]\nHUB=0\nPORT=2\nBAUD=2400\nDATABITS=7\nPARITY=E\nSTOPBITS=2\nFLOW=1\n");
    home.write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Mill\n[PORTS]\n2=" + pty.slavePath() + "\n");
    // A pseudo-terminal forces 8 data bits without parity; the speed, the stop
    // bits and the odd and stick parity flags still show what was asked.
    struct Case {
        std::vector<std::string> args;
        speed_t speed;
        tcflag_t parity;
        bool twoStopBits;
    };
    const Case cases[] = {
        {{}, B2400, 0, true},  // the current machine on COM2 through [PORTS]
        {{"--machine", "Mill", "--baud", "19200", "--parity", "O", "--stop", "1"},
         B19200,
         PARODD,
         false},
        {{"--bits", "8", "--parity", "M"}, B2400, PARODD | CMSPAR, true},
        {{"--parity", "S", "--stop", "1.5"}, B2400, CMSPAR, true},
        {{"--bits", "5", "--stop", "1"}, B2400, 0, true},  // 5 bits: 1.5 stop bits
    };
    for (const Case& c : cases) {
        const ProcessResult r = term(c.args, "x");
        ASSERT_EQ(r.status, 0) << r.err;
        termios tio{};
        ASSERT_EQ(::tcgetattr(pty.slaveFd(), &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed) << c.args.size();
        EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), c.parity) << c.args.size();
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.args.size();
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);  // flow control is the port's own
    }
}

TEST_F(TermCommandTest, ALostLineEndsTheCommandWithStatusOneWithoutWaitingForTheQuietTime) {
    auto args = fastLine();
    // An hour of quiet is asked for: only noticing the lost line at once ends the command.
    args.insert(args.end(), {"--wait", "3600"});
    auto run = std::async(std::launch::async, [&] { return term(args, "%\r\n"); });
    ASSERT_TRUE(peer.waitForCount(3, seconds(10)));
    peer.stop();
    pty.closeSlave();
    pty.closeMaster();  // the cable is pulled while the command listens
    const ProcessResult r = run.get();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zantor-cli term: " + pty.slavePath() + ": the line was lost\n");
}

TEST_F(TermCommandTest, MistakesGiveOneLineAndStatusOne) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--port", "/dev/zantor-no-such-tty"}, "/dev/zantor-no-such-tty does not exist"},
        {{"--port", "/dev/null"}, "/dev/null is not a serial device"},
        {{"--port", "COM1"}, "--port takes a number or a device path"},
        {{"--bits", "9"}, "--bits takes 4 to 8"},
        {{"--parity", "X"}, "--parity takes N, O, E, M or S"},
        {{"--stop", "3"}, "--stop takes 1, 1.5 or 2"},
        {{"--flow", "maybe"}, "--flow takes none, xonxoff, rtscts or both"},
        {{"--wait", "-1"}, "--wait takes a number of seconds"},
        {{"--baud", "14400"},
         "--baud takes 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600"},
        {{"--machine"}, "option --machine needs a value"},
        {{"--machine", "Nowhere"}, "no machine named 'Nowhere'"},
        {{"--frob", "1"}, "unknown option '--frob'"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = term(c.args, "never sent");
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_EQ(r.err, "zantor-cli term: " + c.message + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(peer.receivedCount(), 0u);
}

}  // namespace
}  // namespace zantor
