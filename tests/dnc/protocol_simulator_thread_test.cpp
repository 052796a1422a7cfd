// The simulated control of a machine set for a published protocol, run by a
// thread of its own, against the station on the other end of a pty, in real
// time: it takes what the station sends and punches when asked, also while
// a receive of its own was listening.
#include "dnc/simulator/protocol_simulator_thread.h"

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "dnc/port/file_transfer.h"
#include "pty_port_rig.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class ProtocolSimulatorThreadTest : public ::testing::Test, protected testing::PtyPortRig {
protected:
    ProtocolSimulatorThreadTest() {
        port.setLineSettings({115200, 8, TParity::pNone, 1});
        port.setSWFlowOptions(TSWFlowOptions::swfNone);
    }
    // Runs the station's transfer to its end; its finish code.
    int runTransfer(bool receiving) {
        receiving ? transfer.startReceive() : transfer.startTransmit();
        EXPECT_TRUE(clock.waitUntil([&] { return !transfer.inProgress(); }, seconds(60),
                                    WaitMode::Responsive));
        return transfer.lastCode();
    }
    // The last file the simulator says it received, or "".
    static std::string lastReceived(const sim::ProtocolSimulatorThread& control) {
        for (const std::string& news : control.news())
            if (news.starts_with("Received ")) return news.substr(9);
        return {};
    }

    testing::TempFolder station, control;
    FileTransfer transfer{port};
};

TEST_F(ProtocolSimulatorThreadTest, TakesSendsAndPunchesByTheMachinesProtocol) {
    struct Case {
        int protocol;
        TProtocolType type;
    };
    const Case cases[] = {{1, ptXmodemCRC}, {2, ptYmodem}, {3, ptZmodem}, {4, ptKermit}};
    std::string program = "%\r\n";
    for (int n = 1; n <= 400; ++n)
        program += "N" + std::to_string(n) + " G1 X" + std::to_string(n) + ".\r\n";
    program += "\x11\x13\x18 M30\r\n%\r\n";
    const std::string punched = control.write("O1001.NC", program);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.protocol);
        MachComRec machine;
        machine.Protocol = c.protocol;
        transfer.ProtocolType = c.type;
        // Opening flushes the line: the cancel of the simulator stopped
        // before is not heard by this transfer.
        ASSERT_FALSE(port.open().has_value());
        sim::ProtocolSimulatorThread simulated(pty.masterFd(), machine, 0, control.path());

        transfer.FileMask = station.write("SENT.NC", program);
        ASSERT_EQ(runTransfer(false), 0);
        std::string received;
        ASSERT_TRUE(clock.waitUntil([&] { return !(received = lastReceived(simulated)).empty(); },
                                    seconds(5), WaitMode::Responsive));
        // XMODEM fills its last block with Ctrl-Z.
        EXPECT_EQ(readFileBytes(received).substr(0, program.size()), program);

        // The simulator has been listening again for a while: the punch
        // gives that up without a word that would end the station's receive.
        clock.sleep(milliseconds(300), WaitMode::Responsive);
        simulated.punchNow(punched);
        transfer.FileName = station.file("BACK.NC");
        ASSERT_EQ(runTransfer(true), 0);
        EXPECT_EQ(station.read("BACK.NC").substr(0, program.size()), program);
        simulated.stop();
    }
}

}  // namespace
}  // namespace zantor
