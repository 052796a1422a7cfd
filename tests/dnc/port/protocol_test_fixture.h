#pragma once

#include <string>
#include <vector>

#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
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
                return r.size() >= tail.size() && r.compare(r.size() - tail.size(), tail.size(), tail) == 0;
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

}  // namespace zantor::testing
