// What an open, idle port costs: a ComPort on a pseudo-terminal with the
// status lights on and the terminal window's flow-state timer re-armed every
// 36 ticks, left alone for three seconds. CPU time of the process against
// wall time (target: under 1 % of one core).
#include <benchmark/benchmark.h>

#include <ctime>

#include "dnc/port/status_lights.h"
#include "serial_bench_support.h"

namespace zantor {
namespace {

double processCpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

void BM_IdleOpenPort(benchmark::State& state) {
    double percent = 0;
    for (auto _ : state) {
        testing::PtyPortRig rig;
        ComPort& port = rig.port;
        Clock& clock = rig.clock;
        StatusLights lights(port);
        if (port.open()) {
            state.SkipWithError("cannot open the pseudo-terminal");
            return;
        }
        lights.setMonitoring(true);
        const int flowTimer = port.addTimer();
        QObject::connect(&port, &ComPort::timerFired, [&](int handle) {
            if (handle == flowTimer) port.armTimer(flowTimer, 36);
        });
        port.armTimer(flowTimer, 36);

        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = clock.now();
        clock.sleep(std::chrono::seconds(3), WaitMode::Responsive);
        const double wall = std::chrono::duration<double>(clock.now() - wallBefore).count();
        percent = 100.0 * (processCpuSeconds() - cpuBefore) / wall;
    }
    state.counters["cpu_percent_of_one_core"] = percent;
    state.counters["target_percent"] = 1;
}
BENCHMARK(BM_IdleOpenPort)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
