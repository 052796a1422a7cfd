#pragma once

#include <string>
#include <vector>

#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "fake_line_relay.h"
#include "fake_port_fixture.h"
#include "temp_folder.h"

namespace zantor::testing {

// A FileTransfer on the fake port rig at 115200 baud with its events
// recorded as "error CODE" and "finish CODE".
class ProtocolTest : public FakePortTest {
protected:
    ProtocolTest() {
        openAt({115200, 8, TParity::pNone, 1});
        watch(transfer, events);
        transfer.ProtocolLog.HistoryName = folder.file("ztrprot.txt");
    }

    static void watch(FileTransfer& t, std::vector<std::string>& log) {
        QObject::connect(&t, &FileTransfer::OnProtocolError,
                         [&log](int c) { log.push_back("error " + std::to_string(c)); });
        QObject::connect(&t, &FileTransfer::OnProtocolFinish,
                         [&log](int c) { log.push_back("finish " + std::to_string(c)); });
    }
    void runToEnd() {
        clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                        WaitMode::Responsive);
    }
    // Runs until the peer has been sent something ending in `tail`.
    bool runUntilSent(const std::string& tail, double seconds = 120) {
        return clock.waitUntil(
            [&] {
                const std::string r = peer().received();
                return r.size() >= tail.size() &&
                       r.compare(r.size() - tail.size(), tail.size(), tail) == 0;
            },
            std::chrono::duration_cast<Clock::Duration>(std::chrono::duration<double>(seconds)),
            WaitMode::Responsive);
    }
    static std::vector<std::string> finishOnly(int c) { return {"finish " + std::to_string(c)}; }
    static std::vector<std::string> errorAndFinish(int c) {
        return {"error " + std::to_string(c), "finish " + std::to_string(c)};
    }
    static std::string cancelSequence() { return std::string(8, '\x18') + std::string(8, '\x08'); }

    TempFolder folder;
    FileTransfer transfer{port};
    std::vector<std::string> events;
};

// A second station on the same simulated time, whose port is joined to
// the first one's by a FakeLineRelay where a test wants a cable.
class TwoStationTest : public ProtocolTest {
protected:
    TwoStationTest() {
        port2.setDevicePath("/dev/ttyS1");
        port2.setLineSettings({115200, 8, TParity::pNone, 1});
        EXPECT_FALSE(port2.open().has_value());
        watch(receiver, receiverEvents);
        receiver.ProtocolLog.HistoryName = folder.file("ztrprot2.txt");
    }

    // Sends `bytes` as PART.NC from the first station into RECV.NC at the
    // second, to the end of both.
    void loopback(TProtocolType protocol, const std::string& bytes) {
        events.clear();
        receiverEvents.clear();
        transfer.ProtocolType = receiver.ProtocolType = protocol;
        transfer.FileMask = folder.write("PART.NC", bytes);
        receiver.FileName = folder.file("RECV.NC");
        receiver.startReceive();
        transfer.startTransmit();
        clock.waitUntil([&] { return !transfer.inProgress() && !receiver.inProgress(); },
                        Clock::kForever, WaitMode::Responsive);
    }
    // Puts what a scripted peer says on the first station's line.
    void say(const std::string& bytes) { peer().write(bytes); }

    FakeSerialDevice& device2 = bank.add("/dev/ttyS1");
    ComPort port2{clock, bank};
    FileTransfer receiver{port2};
    std::vector<std::string> receiverEvents;
};

// Bytes of every value, ending in a line end (a last Ctrl-Z would be taken
// for XMODEM's padding).
inline std::string sampleFile(size_t size) {
    std::string bytes;
    for (size_t i = 0; bytes.size() < size; ++i) bytes += char((i * 13 + i / 251) & 0xFF);
    if (!bytes.empty()) bytes.back() = '\n';
    return bytes;
}

}  // namespace zantor::testing
