// Bytes that still reach the machine after it sent XOFF, while a 1 MB stream
// is being sent: on the in-memory null modem at 9600 and 115200 baud (bound: 4)
// and on a pseudo-terminal pair at 9600 baud (bound: 64).
#include <benchmark/benchmark.h>

#include <algorithm>

#include "pty_peer.h"
#include "serial_bench_support.h"

namespace zantor {
namespace {

void BM_BytesAfterXoff_FakeDevice(benchmark::State& state) {
    const auto baud = int32_t(state.range(0));
    size_t worst = 0;
    for (auto _ : state) {
        const bench::StreamResult r = bench::streamOverFakeLine(baud, 1 << 20, true);
        worst = std::max(worst, r.bytesAfterXoff);
    }
    state.counters["baud"] = double(baud);
    state.counters["bytes_after_xoff"] = double(worst);
    state.counters["bound"] = 4;
}
BENCHMARK(BM_BytesAfterXoff_FakeDevice)
    ->Arg(9600)
    ->Arg(115200)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_BytesAfterXoff_Pty9600(benchmark::State& state) {
    size_t worst = 0;
    for (auto _ : state) {
        testing::PtyPortRig rig;
        testing::PtyPeer peer(rig.pty.masterFd());
        peer.setOnReceive(testing::wakeEventLoop);
        peer.setLineRate(960);  // 9600 baud, 8N1
        ComPort& port = rig.port;
        Clock& clock = rig.clock;
        port.setLineSettings({9600, 8, TParity::pNone, 1});
        port.setOutSize(65535);
        if (port.open()) {
            state.SkipWithError("cannot open the pseudo-terminal");
            return;
        }
        // The stream: the first 64 KB of a 1 MB program queued, the rest
        // would follow as the queue drains; the XOFF comes long before.
        const std::string program(65000, 'X');
        // The peer answers from its own thread the moment 1000 bytes are in.
        peer.respondAfter(1000, "\x13");
        benchmark::DoNotOptimize(port.sendText(program));
        clock.waitUntil([&] { return peer.lastReplyAt().has_value(); }, std::chrono::seconds(30),
                        WaitMode::Responsive);
        clock.sleep(std::chrono::milliseconds(300), WaitMode::Responsive);
        if (const auto xoffAt = peer.lastReplyAt())
            worst = std::max(worst, peer.receivedAfter(*xoffAt));
        port.close();
        peer.stop();
    }
    state.counters["bytes_after_xoff"] = double(worst);
    state.counters["bound"] = 64;
}
BENCHMARK(BM_BytesAfterXoff_Pty9600)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
