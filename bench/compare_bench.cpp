// File compare on two generated programs of 1,000,000 lines (about 39 MB
// each) where 1 % of the lines are changed, added or deleted in scattered
// blocks: zantor-cli compare must take at most half the time of GNU diff on
// the same pair, measured in the same run (counter "ratio"), with a peak
// memory under 3 times the two files' size (counter "peak_per_input").
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "compare/compare_files.h"
#include "compare_pair.h"

extern char** environ;

namespace zantor {
namespace {

struct Measured {
    double seconds = 0;
    long long peakBytes = 0;
    int status = -1;
};

// Runs a program with its output thrown away; its own time and peak memory.
Measured run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Measured m;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) return m;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakBytes = (long long)(usage.ru_maxrss) * 1024;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

void BM_CliCompareAgainstDiff(benchmark::State& state) {
    const ProgramPair& pair = programPair();
    double cli = 0, diff = 0;
    long long peak = 0;
    for (auto _ : state) {
        const Measured ours = run({ZANTOR_CLI, "compare", pair.current, pair.previous});
        const Measured theirs = run({"/usr/bin/diff", pair.previous, pair.current});
        if (ours.status != 1 || theirs.status != 1) state.SkipWithError("a compare did not find the differences");
        cli += ours.seconds;
        diff += theirs.seconds;
        peak = std::max(peak, ours.peakBytes);
    }
    state.counters["cli_s"] = cli / double(state.iterations());
    state.counters["diff_s"] = diff / double(state.iterations());
    state.counters["ratio"] = cli / diff;
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["peak_per_input"] = double(peak) / double(pair.bytes);
}

// The engine alone: both files loaded and compared in this process.
void BM_LoadAndCompare(benchmark::State& state) {
    const ProgramPair& pair = programPair();
    size_t rows = 0;
    for (auto _ : state) {
        compare::TSourceList current(1), previous(2);
        current.SetFileName(pair.current);
        previous.SetFileName(pair.previous);
        current.Load();
        previous.Load();
        compare::DifferenceList list;
        compare::NoCompareProgress progress;
        const auto result = compare::CompareFiles(current, previous, {}, list, progress);
        rows = list.Rows().size();
        benchmark::DoNotOptimize(result.diffCount);
    }
    state.counters["rows"] = double(rows);
}

BENCHMARK(BM_LoadAndCompare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliCompareAgainstDiff)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
