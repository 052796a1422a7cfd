// zantor-cli simulate as a user runs it: the station's own send and receive
// against it over the pseudo-terminal it prints.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "core/file_io.h"
#include "process_runner.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Polls until `done` holds, at most `limit`.
template <typename Done>
bool eventually(Done done, std::chrono::milliseconds limit = seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

class SimulateCommandTest : public ::testing::Test {
protected:
    SimulateCommandTest() {
        // ISO at 115200 baud; a quiet second ends a program; the receive
        // asks the control for its tape with an XON.
        home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
        home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\n"
                                 "BAUD=115200\nTCODE=2\nEOFTIME=1\nSRECV=/017\n");
    }
    ~SimulateCommandTest() override {
        if (simulator > 0) {
            ::kill(simulator, SIGKILL);
            ::waitpid(simulator, nullptr, 0);
        }
    }
    std::vector<std::string> cliArgs(std::vector<std::string> args) const {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return args;
    }
    // Starts the simulator with its standard output going to a file.
    void startSimulator(const std::vector<std::string>& options) {
        std::vector<std::string> args = cliArgs({"simulate", "--machine", "Mill"});
        args.insert(args.end(), options.begin(), options.end());
        const std::string out = home.file("simulate.out");
        simulator = ::fork();
        ASSERT_GE(simulator, 0);
        if (simulator == 0) {
            const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, STDOUT_FILENO);
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ASSERT_TRUE(eventually([&] { return simulatorOutput().find('\n') != std::string::npos; }));
        const std::string text = simulatorOutput();
        devicePath = text.substr(0, text.find('\n'));
    }
    std::string simulatorOutput() const {
        const std::string path = home.file("simulate.out");
        return fileExists(path) ? readFileBytes(path) : std::string();
    }
    // Ctrl-C: the simulator ends with its summary and status 0.
    int interruptSimulator() {
        ::kill(simulator, SIGINT);
        int status = 0;
        ::waitpid(simulator, &status, 0);
        simulator = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing::TempFolder home, files;
    pid_t simulator = -1;
    std::string devicePath;
};

TEST_F(SimulateCommandTest, TheStationSendsToItAndReceivesItsPunch) {
    const std::string program = "%\r\nO1000\r\nN1 G1 X1.5 (ROUGH)\r\nM30\r\n%\r\n";
    const std::string file = files.write("O1000.TAP", program);
    startSimulator({"--dir", files.path(), "--punch", file});
    ASSERT_EQ(devicePath.rfind("/dev/", 0), 0u) << devicePath;

    const testing::ProcessResult sent =
        testing::runProcess(cliArgs({"send", "--machine", "Mill", "--port", devicePath, file}));
    ASSERT_EQ(sent.status, 0) << sent.err;
    ASSERT_TRUE(eventually([&] { return fileExists(files.file("SIM0001.TAP")); }))
        << simulatorOutput();
    EXPECT_EQ(files.read("SIM0001.TAP"), program);

    const std::string back = files.file("BACK.TAP");
    const testing::ProcessResult received = testing::runProcess(
        cliArgs({"receive", "--machine", "Mill", "--port", devicePath, back}));
    ASSERT_EQ(received.status, 0) << received.err;
    EXPECT_EQ(files.read("BACK.TAP"), program);

    EXPECT_EQ(interruptSimulator(), 0);
    const std::string out = simulatorOutput();
    EXPECT_NE(out.find("Received " + files.file("SIM0001.TAP") + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Punching " + file + " (XON)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Simulation ended: "), std::string::npos) << out;
    // The XON that asked for the tape is no program of its own.
    EXPECT_FALSE(fileExists(files.file("SIM0002.TAP")));
}

// A program of many lines with the protocols' own control characters in
// its comments, so that blocks, windows and escaping all get their turn.
std::string longProgram(int lines, int seed) {
    std::string program = "%\r\nO" + std::to_string(1000 + seed) + "\r\n";
    for (int n = 1; n <= lines; ++n)
        program += "N" + std::to_string(n) + " G1 X" + std::to_string(n * seed % 997) +
                   ".5 (\x18\x11\x13#~)\r\n";
    return program + "M30\r\n%\r\n";
}

class SimulateByProtocolTest : public SimulateCommandTest,
                               public ::testing::WithParamInterface<const char*> {
protected:
    SimulateByProtocolTest() {
        const std::string protocol = GetParam() == std::string("ZMODEM") ? "3" : "4";
        home.write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\n"
                                 "BAUD=115200\nTCODE=2\nEOFTIME=1\nPROTOCOL=" +
                                     protocol + "\n");
    }
};

TEST_P(SimulateByProtocolTest, ItsPunchComesByTheProtocolAndSendsToItAreFiled) {
    const std::string punched = longProgram(600, 7);
    const std::string punchFile = files.write("O1007.NC", punched);
    startSimulator({"--dir", files.path(), "--punch", punchFile});
    ASSERT_EQ(devicePath.rfind("/dev/", 0), 0u) << devicePath;

    // The punch waits for a receive; nothing is filed meanwhile.
    const std::string back = files.file("BACK.NC");
    const testing::ProcessResult received = testing::runProcess(
        cliArgs({"receive", "--machine", "Mill", "--port", devicePath, back}));
    ASSERT_EQ(received.status, 0) << received.err << simulatorOutput();
    EXPECT_TRUE(files.read("BACK.NC") == punched);
    ASSERT_TRUE(eventually([&] {
        return simulatorOutput().find("Punched " + punchFile + "\n") != std::string::npos;
    })) << simulatorOutput();

    const std::string program = longProgram(500, 3);
    const std::string file = files.write("O1003.NC", program);
    const testing::ProcessResult sent =
        testing::runProcess(cliArgs({"send", "--machine", "Mill", "--port", devicePath, file}));
    ASSERT_EQ(sent.status, 0) << sent.err << simulatorOutput();
    const std::string filed = files.file("SIM0001.TAP");
    ASSERT_TRUE(eventually([&] {
        return simulatorOutput().find("Received " + filed + "\n") != std::string::npos;
    })) << simulatorOutput();
    EXPECT_TRUE(files.read("SIM0001.TAP") == program);

    EXPECT_EQ(interruptSimulator(), 0);
    const std::string out = simulatorOutput();
    EXPECT_NE(out.find(std::string("Mill by ") + GetParam()), std::string::npos) << out;
    EXPECT_NE(out.find("Punching " + punchFile + " (" + GetParam() + ")\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Simulation ended: "), std::string::npos) << out;
    EXPECT_EQ(out.find("failed"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(Protocols, SimulateByProtocolTest, ::testing::Values("ZMODEM", "Kermit"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(SimulateCommandTest, AMissingFolderOrPunchFileIsOneLine) {
    for (const auto& options : {std::vector<std::string>{"--dir", files.file("nowhere")},
                                std::vector<std::string>{"--punch", files.file("none.nc")}}) {
        std::vector<std::string> args = cliArgs({"simulate", "--machine", "Mill"});
        args.insert(args.end(), options.begin(), options.end());
        const testing::ProcessResult r = testing::runProcess(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace zantor
