// Kermit to and from the Kermit programs shops use, on the far end of a
// pseudo-terminal, in real time.
#include <gtest/gtest.h>

#include <filesystem>

#include "dnc/port/com_port.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/file_transfer.h"
#include "qt_test_app.h"
#include "socat_peer.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::seconds;

// Bytes of every value, in lines like a program's, with Kermit's prefix
// characters and long runs among them.
std::string sampleFile(size_t size) {
    std::string bytes;
    bytes.reserve(size);
    for (size_t i = 0; bytes.size() < size; ++i) {
        if (i % 40 == 39)
            bytes += "\r\n";
        else if (i % 1000 == 500)
            bytes += std::string(150, ' ') + "~~~~##&&";
        else
            bytes += char((i * 7 + i / 256) & 0xFF);
    }
    bytes.resize(size);
    return bytes;
}

// Our station and a folder for the peer, started afresh for each transfer.
class KermitPeerTest : public ::testing::Test {
protected:
    KermitPeerTest() {
        testing::ensureQtApplication();
        port.setLineSettings({115200, 8, TParity::pNone, 1});
        transfer.ProtocolType = ptKermit;
        transfer.ProtocolLog.HistoryName = local.file("ztrprot.txt");
    }

    // Runs the peer's `command` in the remote folder and the transfer
    // against it; returns the finish code.
    int run(const std::string& command, bool receiving, int peerStatus = 0) {
        testing::SocatPeer peer(link, remote.path(), command);
        EXPECT_TRUE(peer.ready(seconds(5)));
        port.setDevicePath(link);
        EXPECT_FALSE(port.open().has_value());
        peer.go();
        int code = 1;
        QObject::connect(&transfer, &FileTransfer::OnProtocolFinish, [&](int c) { code = c; });
        if (receiving)
            transfer.startReceive();
        else
            transfer.startTransmit();
        EXPECT_TRUE(clock.waitUntil([&] { return !transfer.inProgress(); }, seconds(40),
                                    WaitMode::Responsive));
        // Our last answer must reach the peer before it is told to go.
        clock.waitUntil([&] { return port.outputQueued() == 0; }, seconds(2), WaitMode::Responsive);
        EXPECT_EQ(peer.exitStatus(seconds(5)), peerStatus) << command;
        port.close();
        QObject::disconnect(&transfer, nullptr, nullptr, nullptr);
        return code;
    }

    testing::TempFolder local, remote;
    std::string link = local.file("line");
    SystemClock clock;
    TermiosDeviceProvider devices{clock};
    ComPort port{clock, devices};
    FileTransfer transfer{port};
};

// A program's lines, then every byte value.
std::string withEveryByte(std::string bytes) {
    for (int b = 0; b < 256; ++b) bytes += char(b);
    return bytes;
}

// gkermit takes long packets but no windows. Its own sends start after a
// second's delay.
TEST_F(KermitPeerTest, ReceivesFromGkermitByteForByte) {
    const std::string files[] = {sampleFile(3000), "", withEveryByte("G1 X1\r\n"),
                                 sampleFile(300000)};
    for (const std::string& file : files) {
        SCOPED_TRACE(file.size());
        remote.write("Part.nc", file);
        transfer.FileName = local.file("RECV.NC");
        ASSERT_EQ(run("gkermit -q -i -s Part.nc 2>/dev/null", true), 0);
        const std::string arrived = local.read("RECV.NC");
        EXPECT_EQ(arrived.size(), file.size());
        EXPECT_TRUE(arrived == file);
        EXPECT_EQ(transfer.progress().bytesTransferred, long(file.size()));
        EXPECT_EQ(transfer.progress().fileSize, long(file.size()));  // from its attributes
        EXPECT_GT(transfer.progress().blockSize, 1000);              // long packets
        std::filesystem::remove(local.file("RECV.NC"));
    }
}

// Our output is paced to 115200 baud: a bigger file only takes longer.
TEST_F(KermitPeerTest, SendsToGkermitByteForByte) {
    const std::string files[] = {sampleFile(3000), "", withEveryByte("G1 X1\r\n"),
                                 sampleFile(100000)};
    for (const std::string& file : files) {
        SCOPED_TRACE(file.size());
        transfer.FileMask = local.write("Part.nc", file);
        ASSERT_EQ(run("gkermit -q -i -P -w -r 2>/dev/null", false), 0);
        const std::string arrived = remote.read("Part.nc");
        EXPECT_EQ(arrived.size(), file.size());
        EXPECT_TRUE(arrived == file);
        EXPECT_EQ(transfer.progress().bytesTransferred, long(file.size()));
        EXPECT_EQ(transfer.progress().kermitWindows, 1);  // it has no windows
        std::filesystem::remove(remote.file("Part.nc"));
    }
}

TEST_F(KermitPeerTest, RecoversFromBytesDamagedOrLostOnTheLine) {
    const std::string damager(LINE_DAMAGER);
    // From gkermit through the damaging relay to us.
    const std::string bytes = sampleFile(120000);
    remote.write("PART.NC", bytes);
    transfer.FileName = local.file("RECV.NC");
    ASSERT_EQ(run("gkermit -q -i -s PART.NC 2>/dev/null | " + damager +
                      " flip 30000 drop 52000 flip 80000",
                  true),
              0);
    EXPECT_TRUE(local.read("RECV.NC") == bytes);
    EXPECT_GE(transfer.progress().totalErrors, 2);

    // From us through the relay to gkermit.
    const std::string small = sampleFile(15000);
    transfer.FileMask = local.write("Part2.nc", small);
    ASSERT_EQ(run(damager + " flip 3000 drop 9000 | gkermit -q -i -P -w -r 2>/dev/null", false), 0);
    EXPECT_TRUE(remote.read("Part2.nc") == small);
    EXPECT_GE(transfer.progress().totalErrors, 1);
}

// C-Kermit refuses a line that is not its terminal, so it gets a pty of its
// own (socat between it and our line) and its status comes back in a file.
std::string onTerminalOfItsOwn(const testing::TempFolder& folder, const std::string& command) {
    folder.write("kermit.sh", command + "; echo $? > kermit-status\n");
    // A script, as socat would take the commas of its options for its own.
    folder.write("terminal.sh",
                 "exec socat STDIO EXEC:'sh kermit.sh',pty,setsid,ctty,raw,echo=0 2>/dev/null\n");
    return "sh terminal.sh";
}

// C-Kermit with long packets and sliding windows, both ways.
TEST_F(KermitPeerTest, CarriesFilesToAndFromCKermitWithWindows) {
    if (!testing::programAvailable("kermit")) GTEST_SKIP() << "C-Kermit is not installed";
    const std::string file = withEveryByte(sampleFile(200000));

    remote.write("Part.nc", file);
    transfer.FileName = local.file("RECV.NC");
    ASSERT_EQ(run(onTerminalOfItsOwn(remote, "kermit -Y -q -i -v 8 -s Part.nc"), true), 0);
    EXPECT_TRUE(local.read("RECV.NC") == file);
    EXPECT_EQ(remote.read("kermit-status"), "0\n");
    EXPECT_GT(transfer.progress().blockSize, 1000);
    EXPECT_GT(transfer.progress().kermitWindows, 1);

    std::filesystem::remove(remote.file("Part.nc"));
    std::filesystem::remove(remote.file("kermit-status"));
    transfer.FileMask = local.write("Part.nc", file.substr(0, 60000));
    ASSERT_EQ(run(onTerminalOfItsOwn(remote, "kermit -Y -q -i -v 8 -r"), false), 0);
    EXPECT_TRUE(remote.read("Part.nc") == file.substr(0, 60000));
    EXPECT_EQ(remote.read("kermit-status"), "0\n");
    EXPECT_GT(transfer.progress().kermitWindows, 1);
}

}  // namespace
}  // namespace zantor
