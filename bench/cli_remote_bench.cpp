// zantor-cli remote waiting for requests on an open pseudo-terminal: the
// processor time an idle station takes (target: under 1 % of one core).
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <future>
#include <thread>

#include "process_cpu.h"
#include "process_runner.h"
#include "pty_pair.h"
#include "temp_folder.h"

namespace zantor {
namespace {

void BM_CliRemote_Idle10s(benchmark::State& state) {
    double percent = 0;
    for (auto _ : state) {
        testing::TempFolder home;
        testing::PtyPair pty;
        home.write("WPOSTS.INI",
                   "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nPORT=1\nBAUD=9600\n"
                   "DATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\nDTYPE=3\n");
        std::promise<pid_t> started;
        auto run = std::async(std::launch::async, [&] {
            return testing::runProcess({ZANTOR_CLI, "--home", home.path(), "--system",
                                        home.path(), "remote", "--machine", "Mill", "--port",
                                        pty.slavePath()},
                                       "", [&](pid_t pid) { started.set_value(pid); });
        });
        const pid_t pid = started.get_future().get();
        std::this_thread::sleep_for(std::chrono::seconds(1));  // started and listening
        const double cpu0 = cpuSeconds(pid);
        const auto t0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double cpu1 = cpuSeconds(pid);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ::kill(pid, SIGTERM);
        const testing::ProcessResult r = run.get();
        if (r.status != 0) state.SkipWithError(("the station failed: " + r.err).c_str());
        percent = 100.0 * (cpu1 - cpu0) / wall;
    }
    state.counters["cpu_percent_idle"] = percent;
    state.counters["target_percent"] = 1;
}
BENCHMARK(BM_CliRemote_Idle10s)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
