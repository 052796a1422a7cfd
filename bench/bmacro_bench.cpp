// A B-Macro drilling pattern whose WHILE loop expands to 1,000,000 output
// lines (target: under 2 s), written to a file through the atomic writer as
// the command line does; the peak memory is reported beside it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "bmacro/bmacro_interpreter.h"
#include "core/file_io.h"
#include "editor/nc_document.h"
#include "temp_folder.h"

namespace {

class QuietHost : public zantor::BMacroHost {
public:
    void error(const std::string&) override { ++errors; }
    std::optional<double> askNumber(const std::string&, double v) override { return v; }
    bool lineDone(int, int, const std::string&) override { return false; }
    int errors = 0;
};

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_BMacro_DrillPattern_1000000Lines(benchmark::State& state) {
    zantor::editor::NcDocument program;
    program.InsertText(
        "#1=0\r\nWHILE[#1LT1000000]DO1\r\nN10 G81 X[#1*0.1] Y#1 (HOLE)\r\n#1=#1+1\r\nEND1\r\nM30");
    zantor::testing::TempFolder folder;
    long lines = 0;
    QuietHost host;
    const long memoryBefore = peakKilobytes();
    for (auto _ : state) {
        zantor::AtomicFileWriter out(folder.file("DRILL.OUT"));
        lines = 0;
        zantor::BMacroOptions options;
        zantor::runBMacro(program, options, host, [&](const std::string& line) {
            out.write(line);
            out.write("\r\n");
            ++lines;
        });
        out.commit();
    }
    if (host.errors) state.SkipWithError("the macro reported errors");
    state.counters["output_lines"] = double(lines);
    state.counters["peak_memory_growth_MB"] = double(peakKilobytes() - memoryBefore) / 1024;
    state.counters["target_s"] = 2;
}
BENCHMARK(BM_BMacro_DrillPattern_1000000Lines)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
