// Resequence, arithmetic, feed/speed override, line begin/end, reformat and
// make columns on a generated program of 1,000,000 lines (about 39 MB) on an
// NcDocument: resequence, arithmetic and reformat must take under 0.5 s. And
// zantor-cli resequence at most half as long as an awk script renumbering
// the same file, measured in the same run. Counter "ratio": both write to
// standard output that the shell sends to a file, the same way of writing;
// "cpu_ratio" is the same in processor time, steadier on a machine shared
// with others. "replace_ratio" is zantor-cli writing with -o instead, which
// also waits until the new file is on the disk before it replaces the old.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "editor/nc_document.h"
#include "nctools/feed_speed_override.h"
#include "nctools/line_ends.h"
#include "nctools/make_columns.h"
#include "nctools/reformat.h"
#include "nctools/register_arithmetic.h"
#include "nctools/resequence.h"
#include "process_seconds.h"
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

void BM_Reformat(benchmark::State& state) {
    const ReformatMachine from{kAxes, kFeeds, kMarks, {"G00", "G01", "G02", "G03"}};
    const ReformatMachine to{{NcNumberFormat::TrailingZeros, 3, 3},
                             {NcNumberFormat::TrailingZeros, 3, 1},
                             {"[", "]"},
                             {"G0", "G1", "G2", "G3"}};
    ReformatSettings settings;
    settings.substitutions = {{"M30", "M02"}, {"S1200", "S1000"}};
    runOnFreshDocument(state, [&](NcDocument& d, LineWalkProgress& p) {
        Reformat(d, p, settings, from, to);
    });
}
void BM_MakeColumns(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        MakeColumns(d, p, {}, kMarks);
    });
}

void BM_CliResequenceAgainstAwk(benchmark::State& state) {
    testing::TempFolder out;
    const std::string in = programFile();
    // What resequence does with its defaults (but numbers up to 7 digits):
    // lines starting with a skip character stay, others lose their number
    // and get the next one.
    const std::string awk =
        "awk '/^[<(%=$#OE\\^@:]/ || /^\r?$/ { print; next } "
        "{ sub(/^N[0-9]+ ?/, \"\"); n += 10; print \"N\" n $0 }' '" +
        in + "' > '" + out.file("AWK.TAP") + "'";
    const std::vector<std::string> cliArguments = {
        ZANTOR_CLI, "--home", out.path(), "--system", out.path(), "resequence", "--max-digits", "7",
        in};
    std::string cliToFile;
    for (const std::string& argument : cliArguments) cliToFile += "'" + argument + "' ";
    cliToFile += "> '" + out.file("CLI.TAP") + "'";
    std::vector<std::string> cliReplacing = cliArguments;
    cliReplacing.insert(cliReplacing.end(), {"-o", out.file("REPLACED.TAP")});

    double cli = 0, script = 0, replacing = 0, cliCpu = 0, scriptCpu = 0;
    childCpuSeconds();
    for (auto _ : state) {
        cli += secondsOf({"/bin/sh", "-c", cliToFile});
        cliCpu += childCpuSeconds();
        script += secondsOf({"/bin/sh", "-c", awk});
        scriptCpu += childCpuSeconds();
        replacing += secondsOf(cliReplacing);
        childCpuSeconds();
    }
    state.counters["cli_s"] = cli / double(state.iterations());
    state.counters["awk_s"] = script / double(state.iterations());
    state.counters["cli_replace_s"] = replacing / double(state.iterations());
    state.counters["ratio"] = cli / script;
    state.counters["cpu_ratio"] = cliCpu / scriptCpu;
    state.counters["replace_ratio"] = replacing / script;
}

BENCHMARK(BM_Resequence)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveSequenceNumbers)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Arithmetic)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FeedSpeedOverride)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ChangeLineEnds)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Reformat)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MakeColumns)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliResequenceAgainstAwk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
