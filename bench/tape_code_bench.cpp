// Tape-code conversion of a 100 MB program against `tr` doing a byte-for-byte
// translation of the same file, both measured in one run (target: at least
// as fast as tr, that is a ratio tr/ours of 1 or more). Both read and write
// files in the same folder; ours also replaces its target in one step.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "dnc/received_file.h"
#include "dnc/tape_file.h"

extern char** environ;

namespace zantor {
namespace {

constexpr size_t kFileSize = 100u << 20;

class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zantor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern + "/";
    }
    ~BenchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    std::string file(const char* name) const { return path_ + name; }

private:
    std::string path_;
};

// 100 MB of program lines, every character with an EIA code.
void writeProgram(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937 random(42);
    std::string line;
    char text[96];
    for (size_t written = 0, n = 1; written < kFileSize; written += line.size(), ++n) {
        std::snprintf(text, sizeof text, "N%zu G1 X-%u.%03u Y%u.%02u F%u.\r\n", n,
                      unsigned(random() % 1000), unsigned(random() % 1000),
                      unsigned(random() % 1000), unsigned(random() % 100),
                      unsigned(random() % 990 + 10));
        line = text;
        out << line;
    }
}

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string octal(uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "\\%03o", unsigned(b));
    return text;
}

// tr mapping every byte through `map`, from `in` to `out`.
void runTr(uint8_t (*map)(uint8_t), const std::string& in, const std::string& out) {
    std::string from, to;
    for (int b = 0; b < 256; ++b) {
        from += octal(uint8_t(b));
        to += octal(map(uint8_t(b)));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string program = "tr";
    char* argv[] = {program.data(), from.data(), to.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "tr", &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

uint8_t encodeByte(uint8_t b) {
    return encodeEia(b);
}
uint8_t decodeByte(uint8_t b) {
    return decodeEia(b);
}

// Best of five runs each, ours and tr's, interleaved.
void compare(benchmark::State& state, const std::function<void(const std::string&,
                                                                const std::string&)>& ours,
             uint8_t (*map)(uint8_t), bool eiaInput) {
    BenchFolder folder;
    const std::string text = folder.file("PROGRAM.TAP");
    writeProgram(text);
    std::string in = text;
    if (eiaInput) {
        in = folder.file("PROGRAM.EIA");
        encodeTapeFile(text, in, TapeCode::Eia);
    }
    const std::string out = folder.file("OUT"), trOut = folder.file("TR.OUT");
    double best = 1e9, bestTr = 1e9;
    for (auto _ : state) {
        for (int round = 0; round < 5; ++round) {
            bestTr = std::min(bestTr, secondsOf([&] { runTr(map, in, trOut); }));
            best = std::min(best, secondsOf([&] { ours(in, out); }));
        }
        state.SetIterationTime(best);
    }
    state.counters["MB"] = double(kFileSize >> 20);
    state.counters["ours_s"] = best;
    state.counters["tr_s"] = bestTr;
    state.counters["ours_MB_per_s"] = double(kFileSize >> 20) / best;
    state.counters["ratio_tr_over_ours"] = bestTr / best;
    state.counters["target_ratio"] = 1;
}

void BM_EncodeEia_100MB(benchmark::State& state) {
    compare(
        state,
        [](const std::string& in, const std::string& out) {
            encodeTapeFile(in, out, TapeCode::Eia);
        },
        encodeByte, false);
}
BENCHMARK(BM_EncodeEia_100MB)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ConvertReceivedEia_100MB(benchmark::State& state) {
    compare(
        state,
        [](const std::string& in, const std::string& out) {
            convertReceivedFile(in, out, TapeCode::Eia);
        },
        decodeByte, true);
}
BENCHMARK(BM_ConvertReceivedEia_100MB)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
