#pragma once

// What the serial benchmarks share: a 1 MB stream over the in-memory null
// modem in simulated time (the port rigs themselves are the tests' own).

#include <cstddef>
#include <cstdint>
#include <string>

#include "fake_port_rig.h"
#include "pty_port_rig.h"
#include "qt_test_app.h"

namespace zantor::bench {

// A 1 MB stream (or `total` bytes) with a peer that may send XOFF half way
// and XON a second later.
struct StreamResult {
    size_t bytesAfterXoff = 0;   // arrived at the peer between its XOFF and its XON
    double lineRatePercent = 0;  // bytes carried against what the line could carry
};

inline StreamResult streamOverFakeLine(int32_t baud, size_t total, bool sendXoff) {
    testing::ensureQtApplication();
    testing::FakePortRig rig;
    ManualClock& clock = rig.clock;
    FakeSerialDevice& device = rig.device;
    ComPort& port = rig.port;
    port.setOutSize(16384);
    const LineSettings line{baud, 8, TParity::pNone, 1};
    port.setLineSettings(line);
    port.setSWFlowOptions(TSWFlowOptions::swfBoth);
    if (port.open()) return {};

    StreamResult result;
    size_t arrived = 0;
    bool held = false;
    Clock::Duration lastArrival{};
    device.peer().onByte = [&](uint8_t) {
        ++arrived;
        lastArrival = clock.now();
        if (held) ++result.bytesAfterXoff;
        if (sendXoff && arrived == total / 2) {
            held = true;
            device.peer().write("\x13");
            clock.callAfter(std::chrono::seconds(1), [&] {
                held = false;
                device.peer().write("\x11");
            });
        }
    };

    std::string chunk(4096, 'N');
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = char(' ' + i % 90);
    const Clock::Duration start = clock.now();
    size_t queued = 0;
    while (queued < total) {
        const size_t n = std::min({port.outputFree(), chunk.size(), total - queued});
        if (n > 0 && port.sendText(std::string_view(chunk).substr(0, n)) == SendResult::Sent)
            queued += n;
        clock.waitUntil([&] { return port.outputFree() >= chunk.size() || !port.Open(); },
                        Clock::kForever, WaitMode::Responsive);
    }
    clock.waitUntil([&] { return arrived == total; }, Clock::kForever, WaitMode::Responsive);
    device.peer().onByte = nullptr;

    const double seconds = std::chrono::duration<double>(lastArrival - start).count();
    const double charactersPerSecond = 1e9 / double(characterTime(line).count());
    result.lineRatePercent = 100.0 * double(total) / (seconds * charactersPerSecond);
    return result;
}

}  // namespace zantor::bench
