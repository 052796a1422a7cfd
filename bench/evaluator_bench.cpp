// Expressions as the fields and the B-Macro evaluate them: 100,000
// evaluations of typical entries (target: under 50 ms).
#include <benchmark/benchmark.h>

#include <chrono>

#include "bmacro/expression_evaluator.h"

namespace {

void BM_Evaluate_100000(benchmark::State& state) {
    const char* const expressions[] = {"2.5", "12.7/2", "SIN(30*DR)*25.4", "(3+4)*2PI",
                                       "SQRT(3^2+4^2)", "10%", "-[1.25+{2}]*3"};
    double sum = 0, seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 100000; ++i) sum += zantor::Evaluate(expressions[i % 7]).value;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    benchmark::DoNotOptimize(sum);
    state.counters["ms_per_100000"] = seconds * 1000;
    state.counters["target_ms"] = 50;
}
BENCHMARK(BM_Evaluate_100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
