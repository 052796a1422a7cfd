// Throughput with XON/XOFF flow control on and no pacing: a 1 MB stream on
// the in-memory null modem at 115200 baud, as a share of the line rate
// (target: at least 98 %). Time is the simulated line's.
#include <benchmark/benchmark.h>

#include "serial_bench_support.h"

namespace zantor {
namespace {

void BM_Throughput_FakeDevice115200(benchmark::State& state) {
    double worst = 100;
    for (auto _ : state) {
        const bench::StreamResult r = bench::streamOverFakeLine(115200, 1 << 20, false);
        worst = std::min(worst, r.lineRatePercent);
    }
    state.counters["line_rate_percent"] = worst;
    state.counters["target_percent"] = 98;
}
BENCHMARK(BM_Throughput_FakeDevice115200)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
