// zantor-cli send and receive with the published protocols, against lrzsz
// on the far end of a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>

#include "process_runner.h"
#include "socat_peer.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::seconds;
using testing::ProcessResult;

class ProtocolCommandTest : public ::testing::Test {
protected:
    ProtocolCommandTest() {
        home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
        // ISO: the file travels as it is. The machine's own protocol is
        // ASCII, so --protocol is what makes these transfers binary.
        home.write("WPOSTS.INI",
                   "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\n"
                   "BAUD=115200\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\n"
                   "PROTOCOL=0\nEOFTIME=1\n");
    }
    ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {ZANTOR_CLI, "--home", home.path(), "--system", home.path()});
        return testing::runProcess(args);
    }
    // Runs `args` against the peer's `command` in the remote folder.
    ProcessResult against(const std::string& command, std::vector<std::string> args) {
        testing::SocatPeer peer(link, remote.path(), command);
        EXPECT_TRUE(peer.ready(seconds(5)));
        // The peer starts as soon as our side has the pty open.
        std::thread go([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            peer.go();
        });
        args.insert(args.begin() + 1, {"--machine", "Mill", "--port", link});
        const ProcessResult r = cli(args);
        go.join();
        EXPECT_EQ(peer.exitStatus(seconds(5)), 0) << command;
        return r;
    }

    testing::TempFolder home, local, remote;
    std::string link = local.file("line");
};

TEST_F(ProtocolCommandTest, SendsWithTheProtocolAsked) {
    struct Case {
        const char* protocol;
        const char* peer;
        const char* history;
    };
    const Case cases[] = {
        {"zmodem", "rz -q -y", "Zmodem transmit finished OK "},
        {"kermit", "gkermit -q -i -P -r 2>/dev/null", "Kermit transmit finished OK "},
    };
    const std::string program = "%\r\nO1000\r\nN1 G1 X1.5\r\nM30\r\n%\r\n";
    const std::string file = local.write("Part.nc", program);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.protocol);
        std::filesystem::remove(remote.file("Part.nc"));
        const ProcessResult r = against(c.peer, {"send", "--protocol", c.protocol, file});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "0 Down/Up Load Successful\n");
        EXPECT_EQ(remote.read("Part.nc"), program);
        EXPECT_NE(home.read("ztrprot.txt").find(c.history), std::string::npos);
    }
}

TEST_F(ProtocolCommandTest, BatchReceiveFillsTheFolderAndStaysInIt) {
    struct Case {
        const char* protocol;
        const char* peer;
    };
    const Case cases[] = {
        {"ymodem", "sz -q --ymodem Part1.nc Part2.nc"},
        {"kermit", "gkermit -q -i -P -s Part1.nc Part2.nc 2>/dev/null"},
    };
    remote.write("Part1.nc", "G1 X1\r\n");
    remote.write("Part2.nc", "G2 X2\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.protocol);
        std::filesystem::remove(local.file("Part1.nc"));
        std::filesystem::remove(local.file("Part2.nc"));
        const ProcessResult r =
            against(c.peer, {"receive", "--protocol", c.protocol, local.path()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(local.read("Part1.nc"), "G1 X1\r\n");
        EXPECT_EQ(local.read("Part2.nc"), "G2 X2\r\n");
    }
}

TEST_F(ProtocolCommandTest, ProtocolOptionIsChecked) {
    const std::string file = local.write("Part.nc", "M30\r\n");
    const ProcessResult bad = cli({"send", "--machine", "Mill", "--protocol", "bplus", file});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("--protocol"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace zantor
