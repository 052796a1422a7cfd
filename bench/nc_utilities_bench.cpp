// The NC utilities on a generated program of 1,000,000 lines (about 39 MB):
// each File Cleanup operation and Add/Remove Spaces on an NcDocument must
// take under 0.5 s, and zantor-cli cleanup with all six operations at most
// twice as long as sed removing control characters and blank lines over the
// same file, measured in the same run (counter "ratio"; "cpu_ratio" is
// the same in processor time, steadier on a machine shared with others).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "core/file_io.h"
#include "editor/nc_document.h"
#include "nctools/add_remove_spaces.h"
#include "nctools/file_cleanup.h"
#include "process_seconds.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::NcDocument;

constexpr int kLines = 1000000;

// A program with something for every operation to do: a header before the
// "%", comments, blank lines, control characters and lines after the end.
const std::string& programFile() {
    static testing::TempFolder folder;
    static const std::string path = [] {
        std::string text = "HEADER LINE\r\n%\r\n";
        text.reserve(size_t(kLines) * 40);
        char line[96];
        for (int n = 3; n <= kLines - 2; ++n) {
            if (n % 50 == 0) {
                text += "\r\n";
                continue;
            }
            const int length = std::snprintf(line, sizeof line, "N%d G1X%.4fY%.4f%s\r\n", n,
                                             (n % 9973) * 0.0137, (n % 7919) * -0.0211,
                                             n % 10 == 0    ? "(CUT)"
                                             : n % 101 == 0 ? "\x01Z1"
                                                            : "Z-1.25");
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
        state.PauseTiming();  // the document's teardown is not the operation's
        { NcDocument gone = std::move(doc); }
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
}

void BM_DeleteBeforeFirstPercent(benchmark::State& state) {
    runOnFreshDocument(state,
                       [](NcDocument& d, LineWalkProgress& p) { DeleteBeforeFirstPercent(d, p); });
}
void BM_RemoveControlCharacters(benchmark::State& state) {
    runOnFreshDocument(state,
                       [](NcDocument& d, LineWalkProgress& p) { RemoveControlCharacters(d, p); });
}
void BM_RemoveComments(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) { RemoveComments(d, p, {}); });
}
void BM_RemoveBlankLines(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) { RemoveBlankLines(d, p); });
}
void BM_StripAfterProgramEnd(benchmark::State& state) {
    runOnFreshDocument(state,
                       [](NcDocument& d, LineWalkProgress& p) { StripAfterProgramEnd(d, p); });
}
void BM_AddPercentAtEnd(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress&) { AddPercentAtEnd(d); });
}
void BM_AddSpaces(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        AddRemoveSpaces(d, p, SpacesChange::Add, {});
    });
}
void BM_RemoveSpaces(benchmark::State& state) {
    runOnFreshDocument(state, [](NcDocument& d, LineWalkProgress& p) {
        AddRemoveSpaces(d, p, SpacesChange::Remove, {});
    });
}

void BM_CliCleanupAgainstSed(benchmark::State& state) {
    testing::TempFolder out;
    const std::string in = programFile();
    double cli = 0, sed = 0, cliCpu = 0, sedCpu = 0;
    childCpuSeconds();
    for (auto _ : state) {
        cli += secondsOf({ZANTOR_CLI, "--home", out.path(), "--system", out.path(), "cleanup",
                          "--before-percent", "--control", "--comments", "--blank", "--after-end",
                          "--add-percent", in, "-o", out.file("CLI.TAP")});
        cliCpu += childCpuSeconds();
        sed += secondsOf(
            {"/bin/sh", "-c",
             "sed -e 's/[[:cntrl:]]//g' -e '/^$/d' '" + in + "' > '" + out.file("SED.TAP") + "'"});
        sedCpu += childCpuSeconds();
    }
    state.counters["cli_s"] = cli / double(state.iterations());
    state.counters["sed_s"] = sed / double(state.iterations());
    state.counters["ratio"] = cli / sed;
    state.counters["cpu_ratio"] = cliCpu / sedCpu;
}

BENCHMARK(BM_DeleteBeforeFirstPercent)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveControlCharacters)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveComments)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveBlankLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StripAfterProgramEnd)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddPercentAtEnd)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddSpaces)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveSpaces)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliCleanupAgainstSed)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
