// Resequence, arithmetic, feed/speed override and line begin/end on a
// generated program of 1,000,000 lines (about 39 MB) on an NcDocument: each
// must take under 0.5 s.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>

#include "editor/nc_document.h"
#include "nctools/feed_speed_override.h"
#include "nctools/line_ends.h"
#include "nctools/register_arithmetic.h"
#include "nctools/resequence.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::NcDocument;

constexpr int kLines = 1000000;

// Numbered lines with axis words, feeds, speeds and comments.
const std::string& programFile() {
    static testing::TempFolder folder;
    static const std::string path = [] {
        std::string text = "%\r\nO1000\r\n";
        text.reserve(size_t(kLines) * 40);
        char line[128];
        for (int n = 3; n <= kLines - 1; ++n) {
            const int length = std::snprintf(
                line, sizeof line, "N%d G1X%.4fY%.4f%s\r\n", n, (n % 9973) * 0.0137,
                (n % 7919) * -0.0211,
                n % 10 == 0 ? "(CUT X1.)" : n % 7 == 0 ? "S1200 F25." : "Z-1.25");
            text.append(line, size_t(length));
        }
        text += "M30\r\n%\r\n";
        return folder.write("BIG.TAP", text);
    }();
    return path;
}

void runOnFreshDocument(benchmark::State& state,
                        const std::function<void(NcDocument&, LineWalkProgress&)>& operation) {
    NoProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        NcDocument doc;
        doc.LoadDocument(programFile());
        state.ResumeTiming();
        operation(doc, progress);
        benchmark::DoNotOptimize(doc.ParagraphCount());
        state.PauseTiming();
        { NcDocument gone = std::move(doc); }
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
}

const NcValueFormat kAxes{NcNumberFormat::Decimal, 3, 4};
const NcValueFormat kFeeds{NcNumberFormat::Decimal, 3, 2};
const CommentMarks kMarks{"(", ")"};

void BM_Resequence(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        ResequenceSettings settings;
        settings.maxDigits = 7;
        Resequence(d, p, settings);
    });
}
void BM_RemoveSequenceNumbers(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        ResequenceSettings settings;
        settings.remove = true;
        Resequence(d, p, settings);
    });
}
void BM_Arithmetic(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        RegisterArithmetic(d, p, {"XYZIJKR", ArithmeticOperation::Add, 0.5}, kAxes, kMarks);
    });
}
void BM_FeedSpeedOverride(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        OverrideFeedsSpeeds(d, p, {50, 110}, kFeeds, kMarks);
    });
}
void BM_ChangeLineEnds(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        ChangeLineEnds(d, p, {"", "/", "", ";"});
    });
}

BENCHMARK(BM_Resequence)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveSequenceNumbers)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Arithmetic)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FeedSpeedOverride)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ChangeLineEnds)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
