// Programs from CAM systems reach millions of lines. A generated program of
// 1,000,000 lines (about 40 MB) must load into an NcDocument in under 0.3 s
// and save in under 0.5 s; edits in it must not cost time in proportion to
// its length; the file viewer must show the first and last screen of a 2 GB
// file at once.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/file_io.h"
#include "editor/file_viewer_model.h"
#include "editor/navigation.h"
#include "editor/nc_document.h"
#include "editor/slow_search_watch.h"
#include "editor/text_replace.h"

namespace {

using zantor::editor::FileViewerModel;
using zantor::editor::NcDocument;

constexpr int kLines = 1000000;
constexpr int kScreenLines = 60;

class BenchFolder {
public:
    BenchFolder() {
        path_ = (std::filesystem::temp_directory_path() / "zantor-bench-XXXXXX").string();
        if (!::mkdtemp(path_.data())) std::abort();
        path_ += "/";
    }
    ~BenchFolder() { std::filesystem::remove_all(path_); }
    std::string file(const char* name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ncLine(int n) {
    char line[96];
    const int length = std::snprintf(line, sizeof line, "N%d G1 X%.4f Y%.4f Z-1.25\r\n", n,
                                     (n % 9973) * 0.0137, (n % 7919) * -0.0211);
    return std::string(line, size_t(length));
}

std::string makeProgram(const BenchFolder& folder) {
    std::string bytes;
    bytes.reserve(size_t(kLines) * 42);
    for (int n = 1; n <= kLines; ++n) bytes += ncLine(n);
    const std::string path = folder.file("BIG.TAP");
    zantor::writeFileAtomically(path, bytes);
    return path;
}

void setFileCounters(benchmark::State& state, const std::string& path) {
    state.counters["lines"] = kLines;
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
}

// Resident memory now, from /proc.
double residentMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / 1e6;
}

void LoadMillionLines(benchmark::State& state) {
    BenchFolder folder;
    const std::string path = makeProgram(folder);
    {
        const double before = residentMegabytes();
        NcDocument doc;
        doc.LoadDocument(path);
        state.counters["added_MB"] = residentMegabytes() - before;
    }
    for (auto _ : state) {
        NcDocument doc;
        doc.LoadDocument(path);
        benchmark::DoNotOptimize(doc.ByteCount());
        state.PauseTiming();  // freeing the document is not part of the load
        { NcDocument gone = std::move(doc); }
        state.ResumeTiming();
    }
    setFileCounters(state, path);
}
BENCHMARK(LoadMillionLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// With the BAK backup and the flush to the disk a save always makes.
void SaveMillionLines(benchmark::State& state) {
    BenchFolder folder;
    const std::string path = makeProgram(folder);
    NcDocument doc;
    doc.LoadDocument(path);
    for (auto _ : state) doc.SaveDocument(path, true);
    setFileCounters(state, path);
}
BENCHMARK(SaveMillionLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// One typed character in the middle of the program and its undo.
void EditMiddleOfMillionLines(benchmark::State& state) {
    BenchFolder folder;
    NcDocument doc;
    doc.LoadDocument(makeProgram(folder));
    doc.SetWordWrap(state.range(0) != 0);
    const int middle = doc.LineCount() / 2;
    for (auto _ : state) {
        doc.SetCaret(middle, 3);
        doc.InsertText("X\r\n");
        benchmark::DoNotOptimize(doc.LineCount());
        benchmark::DoNotOptimize(doc.GetLine(middle + 1));
        doc.UndoEdit();
    }
    state.SetLabel(state.range(0) ? "word wrap on" : "word wrap off");
}
BENCHMARK(EditMiddleOfMillionLines)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A search that finds nothing reads the whole program.
void FindTextThroughMillionLines(benchmark::State& state) {
    BenchFolder folder;
    NcDocument doc;
    doc.LoadDocument(makeProgram(folder));
    for (auto _ : state) {
        doc.SetCaret(1, 1);
        benchmark::DoNotOptimize(doc.FindText("T99", {}));
    }
}
BENCHMARK(FindTextThroughMillionLines)->Unit(benchmark::kMillisecond);

// The same with the watch the desktop puts on every search: the clock is
// read every few thousand lines, which must cost next to nothing.
void WatchedFindTextThroughMillionLines(benchmark::State& state) {
    BenchFolder folder;
    NcDocument doc;
    doc.LoadDocument(makeProgram(folder));
    int questions = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        zantor::editor::SlowSearchWatch watch(
            [start] {
                return std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
            },
            [] {}, [&questions] { return ++questions < 0; });
        doc.SetCaret(1, 1);
        benchmark::DoNotOptimize(doc.FindText("T99", {}, &watch));
    }
    state.counters["stop_questions"] = double(questions) / double(state.iterations());
}
BENCHMARK(WatchedFindTextThroughMillionLines)->Unit(benchmark::kMillisecond);

// Jump To Tool reads every line of the program for its list.
void JumpListOfMillionLines(benchmark::State& state) {
    BenchFolder folder;
    NcDocument doc;
    doc.LoadDocument(makeProgram(folder));
    size_t entries = 0;
    for (auto _ : state) entries = zantor::editor::jumpList(doc, "G1", "(").size();
    state.counters["entries"] = double(entries);
}
BENCHMARK(JumpListOfMillionLines)->Unit(benchmark::kMillisecond);

// Replace All of a word on every line: a million edits, each its own undo step.
void ReplaceAllOnMillionLines(benchmark::State& state) {
    BenchFolder folder;
    const std::string path = makeProgram(folder);
    for (auto _ : state) {
        state.PauseTiming();
        NcDocument doc;
        doc.LoadDocument(path);
        state.ResumeTiming();
        benchmark::DoNotOptimize(zantor::editor::ReplaceText(
            doc, "Z-1.25", "Z-1.5", {false, true, false, false, true}));
    }
    state.counters["replacements"] = kLines;
}
BENCHMARK(ReplaceAllOnMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 2 GB file: NC text at both ends, a sparse middle.
std::string makeTwoGigabyteFile(const BenchFolder& folder) {
    const std::string path = folder.file("HUGE.TAP");
    const long long size = 2LL * 1024 * 1024 * 1024;
    std::string ends;
    for (int n = 1; ends.size() < 1000000; ++n) ends += ncLine(n);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::ftruncate(fd, size) != 0 ||
        ::pwrite(fd, ends.data(), ends.size(), 0) != ssize_t(ends.size()) ||
        ::pwrite(fd, ends.data(), ends.size(), size - long(ends.size())) != ssize_t(ends.size()))
        std::abort();
    ::close(fd);
    return path;
}

void ViewerFirstAndLastScreenOf2GB(benchmark::State& state) {
    BenchFolder folder;
    const std::string path = makeTwoGigabyteFile(folder);
    const bool hex = state.range(0) != 0;
    for (auto _ : state) {
        FileViewerModel viewer;
        viewer.open(path);
        if (hex) {
            for (long long line = 0; line < kScreenLines; ++line)
                benchmark::DoNotOptimize(viewer.hexLine(line));
            for (long long line = viewer.hexLineCount() - kScreenLines;
                 line < viewer.hexLineCount(); ++line)
                benchmark::DoNotOptimize(viewer.hexLine(line));
        } else {
            long long offset = 0;
            for (int i = 0; i < kScreenLines; ++i) offset = viewer.textLine(offset).next;
            offset = viewer.lastScreenTop(kScreenLines);
            for (int i = 0; i < kScreenLines; ++i) offset = viewer.textLine(offset).next;
            benchmark::DoNotOptimize(offset);
        }
    }
    state.counters["file_GB"] = double(std::filesystem::file_size(path)) / (1 << 30);
    state.SetLabel(hex ? "hex" : "text");
}
BENCHMARK(ViewerFirstAndLastScreenOf2GB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
