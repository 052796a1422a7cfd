// Transfers files with each published protocol to and from the lrzsz
// programs on the far end of a pseudo-terminal, in real time.
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

using std::chrono::milliseconds;
using std::chrono::seconds;

struct PeerCase {
    const char* name;
    TProtocolType protocol;
    const char* receiveCommand;  // takes a file sent to it into the folder
    const char* sendCommand;     // sends the file named after it
    // The peer stores a file by whole blocks padded with Ctrl-Z.
    size_t paddedTo;
};

const PeerCase kCases[] = {
    {"Xmodem", ptXmodemCRC, "rz -q --xmodem Part.nc", "sz -q --xmodem", 128},
    {"Ymodem", ptYmodem, "rz -q -y --ymodem", "sz -q --ymodem", 0},
    {"Zmodem", ptZmodem, "rz -q -y", "sz -q", 0},
};

// Bytes of every value, in lines like a program's, with the protocols'
// control characters among them.
std::string sampleFile(size_t size) {
    std::string bytes;
    bytes.reserve(size);
    for (size_t i = 0; bytes.size() < size; ++i)
        bytes += (i % 40 == 39) ? '\n' : char((i * 7 + i / 256) & 0xFF);
    return bytes;
}

std::string padded(std::string bytes, size_t block) {
    if (block > 0 && bytes.size() % block != 0) bytes.append(block - bytes.size() % block, '\x1A');
    return bytes;
}

// Our station and a folder for the peer, the peer started afresh for each
// transfer.
class PeerRig {
protected:
    PeerRig() {
        testing::ensureQtApplication();
        port.setLineSettings({115200, 8, TParity::pNone, 1});
        transfer.ProtocolLog.HistoryName = local.file("ztrprot.txt");
    }

    // Runs the peer's `command` in the remote folder and the transfer
    // against it; returns the finish code.
    int run(const std::string& command, bool receiving) {
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
        EXPECT_EQ(peer.exitStatus(seconds(5)), 0) << command;
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

// The protocols pace themselves: both ways come as fast as the pty carries them.
class PublishedProtocolPeerTest : public ::testing::TestWithParam<PeerCase>, protected PeerRig {
protected:
    PublishedProtocolPeerTest() { transfer.ProtocolType = GetParam().protocol; }
};

const size_t kSendSizes[] = {3000, 0};
const size_t kReceiveSizes[] = {3000, 0, 300000};

TEST_P(PublishedProtocolPeerTest, SendsByteForByte) {
    for (const size_t size : kSendSizes) {
        SCOPED_TRACE(size);
        const std::string bytes = sampleFile(size);
        // lrzsz may store an all-capitals name in small letters.
        transfer.FileMask = local.write("Part.nc", bytes);
        ASSERT_EQ(run(GetParam().receiveCommand, false), 0);
        const std::string arrived = remote.read("Part.nc");
        EXPECT_EQ(arrived.size(), padded(bytes, GetParam().paddedTo).size());
        EXPECT_TRUE(arrived == padded(bytes, GetParam().paddedTo));
        std::filesystem::remove(remote.file("Part.nc"));
    }
}

TEST_P(PublishedProtocolPeerTest, ReceivesByteForByte) {
    for (const size_t size : kReceiveSizes) {
        SCOPED_TRACE(size);
        const std::string bytes = sampleFile(size);
        remote.write("PART.NC", bytes);
        transfer.FileName = local.file("RECV.NC");
        ASSERT_EQ(run(std::string(GetParam().sendCommand) + " PART.NC", true), 0);
        const std::string arrived = local.read("RECV.NC");
        EXPECT_EQ(arrived.size(), bytes.size());
        EXPECT_TRUE(arrived == bytes);
        std::filesystem::remove(local.file("RECV.NC"));
    }
}

class ZmodemPeerTest : public ::testing::Test, protected PeerRig {
protected:
    ZmodemPeerTest() { transfer.ProtocolType = ptZmodem; }
};

// A program of 10 MB, at the speed of the pty rather than of the baud rate.
TEST_F(ZmodemPeerTest, SendsTenMegabytesByteForByte) {
    const std::string bytes = sampleFile(10u << 20);
    transfer.FileMask = local.write("Big.nc", bytes);
    ASSERT_EQ(run("rz -q -y", false), 0);
    EXPECT_EQ(transfer.progress().bytesTransferred, long(bytes.size()));
    EXPECT_TRUE(remote.read("Big.nc") == bytes);
}

TEST_F(ZmodemPeerTest, ResumesWhereAnEarlierTransferStopped) {
    const std::string bytes = sampleFile(20000);
    // Our receive from a sender that asks to resume.
    // The parts already there differ from the file, so that what was not
    // sent again shows.
    remote.write("PART.NC", bytes);
    local.write("RECV.NC", std::string(12345, 'x'));
    transfer.FileName = local.file("RECV.NC");
    ASSERT_EQ(run("sz -q -r PART.NC", true), 0);
    EXPECT_TRUE(local.read("RECV.NC") == std::string(12345, 'x') + bytes.substr(12345));
    EXPECT_EQ(transfer.progress().bytesTransferred, long(bytes.size()));

    // Our send to a receiver that holds the first part and asks for the rest.
    const std::string small = sampleFile(4000);
    transfer.FileMask = local.write("Part2.nc", small);
    remote.write("Part2.nc", small.substr(0, 2500));
    ASSERT_EQ(run("rz -q -r", false), 0);
    EXPECT_TRUE(remote.read("Part2.nc") == small);
}

TEST_F(ZmodemPeerTest, RecoversFromBytesDamagedOrLostOnTheLineAsXmodemDoes) {
    const std::string damage = std::string(LINE_DAMAGER) + " flip 30000 drop 52000 flip 80000";
    // From sz through the damaging relay to us.
    const std::string bytes = sampleFile(120000);
    remote.write("PART.NC", bytes);
    transfer.FileName = local.file("RECV.NC");
    ASSERT_EQ(run("sz -q PART.NC | " + damage, true), 0);
    EXPECT_TRUE(local.read("RECV.NC") == bytes);
    EXPECT_GE(transfer.progress().totalErrors, 2);

    // From us through the relay to rz.
    const std::string small = sampleFile(15000);
    transfer.FileMask = local.write("Part2.nc", small);
    ASSERT_EQ(run(std::string(LINE_DAMAGER) + " flip 3000 drop 9000 | rz -q -y", false), 0);
    EXPECT_TRUE(remote.read("Part2.nc") == small);
    EXPECT_GE(transfer.progress().totalErrors, 1);

    // XMODEM asks again for the blocks the relay damaged.
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileName = local.file("RECV2.NC");
    ASSERT_EQ(
        run("sz -q --xmodem PART.NC | " + std::string(LINE_DAMAGER) + " flip 700 drop 5000", true),
        0);
    EXPECT_TRUE(local.read("RECV2.NC") == bytes);
    EXPECT_GE(transfer.progress().totalErrors, 2);
}

TEST_F(ZmodemPeerTest, BatchGoesIntoTheFolderUnderSentNames) {
    remote.write("A.NC", "G1 X1\r\n");
    remote.write("B.NC", sampleFile(5000));
    remote.write("C.NC", "");
    transfer.FileName = local.file("FIRST.NC");
    ASSERT_EQ(run("sz -q A.NC B.NC C.NC", true), 0);
    EXPECT_EQ(local.read("FIRST.NC"), "G1 X1\r\n");
    EXPECT_TRUE(local.read("B.NC") == sampleFile(5000));
    EXPECT_TRUE(std::filesystem::exists(local.file("C.NC")));
    EXPECT_FALSE(std::filesystem::exists(local.file("A.NC")));
}

INSTANTIATE_TEST_SUITE_P(Lrzsz, PublishedProtocolPeerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zantor
