// The DNC station's receive by a published protocol: the file arrives as
// the sender had it, whatever the machine's tape code.
#include <gtest/gtest.h>

#include "dnc/dnc_receive.h"
#include "dnc/dnc_station.h"
#include "port/protocol_test_fixture.h"
#include "recording_sink.h"
#include "users/activity_log.h"

namespace zantor {
namespace {

class NoWaiting : public WaitingWindow {
public:
    void showWaiting(const std::string&) override {}
    void hideWaiting() override {}
    bool stopWaiting() const override { return false; }
};

class ProtocolReceiveTest : public testing::TwoStationTest {};

TEST_F(ProtocolReceiveTest, AnXmodemReceiveIsNotConvertedAsATape) {
    testing::FakeLineRelay cable(device, device2);
    const std::string bytes = testing::sampleFile(3000);  // every byte value, 0x8A included
    transfer.ProtocolType = ptXmodemCRC;
    transfer.FileMask = folder.write("PART.NC", bytes);
    transfer.startTransmit();

    ActivityLog log(folder.file("ZTRDNC.LOG"));
    testing::RecordingSink sink;
    NoWaiting waiting;
    DncStation station{port2, receiver, log, sink, waiting};
    MachComRec machine;
    machine.TapeCode = kTapeAscii;  // a tape would lose bit 7 and its line feeds
    machine.Protocol = 1;           // XMODEM
    const ReceiveResult result =
        portReceive(station, machine, "Mill", false, {folder.file("RECV.NC"), false});
    runToEnd();
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.conversionError.empty());
    EXPECT_TRUE(folder.read("RECV.NC") == bytes);
}

}  // namespace
}  // namespace zantor
