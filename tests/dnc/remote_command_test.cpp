// zantor-cli remote, the headless remote station, over a pseudo-terminal to
// the machine simulator, in real time as a service runs it.
#include <gtest/gtest.h>

#include <csignal>
#include <future>

#include "process_runner.h"
#include "pty_pair.h"
#include "pty_simulator.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::seconds;
using testing::MachineProfile;
using testing::PtySimulator;

TEST(RemoteCommand, AnswersRequestsAndStopsCleanlyOnSigterm) {
    testing::TempFolder home, programs;
    testing::PtyPair pty;
    home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\nBAUD=115200\n"
               "DATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\nDTYPE=3\nRMTSDELAY=0\n"
               "RMTDDELAY=0\nDEFDNL=" + programs.path() + "\nDEFUPL=" + programs.path() + "\n");
    programs.write("PROG1.TAP", "%\r\nO1\r\nG1X1\r\n%\r\n");
    PtySimulator control(pty.masterFd(), MachineProfile{}, 11520);

    std::promise<pid_t> started;
    auto run = std::async(std::launch::async, [&] {
        return testing::runProcess({ZANTOR_CLI, "--home", home.path(), "--system", home.path(),
                                    "remote", "--machine", "Mill", "--port", pty.slavePath()},
                                   "", [&](pid_t pid) { started.set_value(pid); });
    });
    const pid_t pid = started.get_future().get();
    // The station clears the line as it opens the port, so a request typed
    // before that (a slow start on a loaded machine) is lost: like an operator,
    // the control types it again until the program starts coming.
    bool answered = false;
    for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
        control.after(std::chrono::milliseconds(500),
                      [](testing::MachineSimulator& m) { m.type("(SND PROG1)"); });
        answered = control.waitFor(
            [](const auto& m) { return m.received().find('%') != std::string::npos; }, seconds(2));
    }
    const bool sent = control.waitFor(
        [](const auto& m) { return m.received().find("%\r\nO1\r\nG1X1\r\n%\r\n") != std::string::npos; },
        seconds(10));
    ::kill(pid, SIGTERM);
    const testing::ProcessResult r = run.get();
    EXPECT_TRUE(sent) << control.received();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(" Remote Requested Send of [PROG1]\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" Remote station stopped\n"), std::string::npos) << r.out;
    const std::string log = home.read("ZTRDNC.LOG");
    EXPECT_NE(log.find("Remote Command \"Send\", Machine [Mill],File [" + programs.path() +
                       "PROG1.TAP]"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("DNC Remote Station Stopped [Mill]"), std::string::npos) << log;
}

}  // namespace
}  // namespace zantor

namespace zantor {
namespace {

TEST(RemoteCommand, ServesTheShopTerminalMenuUntilQuit) {
    testing::TempFolder home;
    testing::PtyPair pty;
    home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=2\nMachine1=Terminal\nMachine2=Mill\n[Terminal]\nPORT=1\n"
               "BAUD=115200\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\nDTYPE=2\n");
    testing::PtySimulator control(pty.masterFd(), testing::MachineProfile{}, 11520);
    control.onReceived("Cmd ?", [](testing::MachineSimulator& m) { m.type("M\r"); });
    control.onReceived("Machine?", [](testing::MachineSimulator& m) { m.type("\r"); });
    control.onReceived("Cmd ?", [](testing::MachineSimulator& m) { m.type("Q\r"); });
    const testing::ProcessResult r =
        testing::runProcess({ZANTOR_CLI, "--home", home.path(), "--system", home.path(), "remote",
                             "--machine", "Terminal", "--port", pty.slavePath()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(" Mill\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" *** SHUTDOWN ***\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace zantor
