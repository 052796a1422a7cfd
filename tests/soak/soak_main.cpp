// The soak of the DNC station: programs sent with `zantor-cli send` to the
// control simulator over a pseudo-terminal while the control throttles with
// XOFF pauses of 1 ms to 2 s at random, then punched back and received with
// `zantor-cli receive`; every byte compared, the command's memory and open
// descriptors sampled every second. Usage: zantor-soak [MEGABYTES] [SEED]
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <thread>

#include "process_runner.h"
#include "pty_pair.h"
#include "pty_simulator.h"
#include "temp_folder.h"

namespace {

using namespace std::chrono;
using zantor::testing::MachineSimulator;

constexpr int kLineRate = 11520;  // 115200 baud, 8N1

struct Sample {
    long rssKb = 0;
    int fds = 0;
};

Sample sampleOf(pid_t pid) {
    Sample s;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) s.rssKb = std::stol(line.substr(6));
    if (DIR* dir = ::opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
        while (dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.') ++s.fds;
        ::closedir(dir);
    }
    return s;
}

std::string program(std::mt19937& random, size_t bytes) {
    std::string text = "%\r\nO" + std::to_string(1000 + random() % 8000) + "\r\n";
    for (int n = 10; text.size() < bytes; n += 10)
        text += "N" + std::to_string(n) + " G01 X" + std::to_string(random() % 1000) + "." +
                std::to_string(random() % 1000) + " Y-" + std::to_string(random() % 500) +
                ".25 F" + std::to_string(100 + random() % 900) + ".\r\n";
    return text + "M30\r\n%\r\n";
}

// Runs one command, sampling it every second; the samples are appended.
zantor::testing::ProcessResult sampled(const std::vector<std::string>& argv,
                                       std::vector<Sample>& samples) {
    std::promise<pid_t> started;
    auto run = std::async(std::launch::async, [&] {
        return zantor::testing::runProcess(argv, "", [&](pid_t pid) { started.set_value(pid); });
    });
    const pid_t pid = started.get_future().get();
    while (run.wait_for(seconds(1)) == std::future_status::timeout) samples.push_back(sampleOf(pid));
    return run.get();
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100;
    std::mt19937 random(argc > 2 ? unsigned(std::atoi(argv[2])) : 2026);
    zantor::testing::TempFolder home;
    home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=1\nMachine1=Soak\n[Soak]\nPORT=1\nBAUD=115200\n"
               "DATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\nEOFTIME=3\nXOFFTIME=5\n");
    const size_t total = size_t(megabytes * 1024 * 1024);
    const size_t chunk = std::min<size_t>(total, 2 * 1024 * 1024);
    size_t moved = 0, mismatches = 0, pauses = 0;
    std::vector<Sample> samples;
    const auto start = steady_clock::now();
    for (int round = 1; moved < total; ++round) {
        const std::string text = program(random, std::min(chunk, total - moved));
        const std::string file = home.write("SEND.TAP", text);
        zantor::testing::PtyPair pty;
        zantor::testing::MachineProfile profile;
        profile.bufferSize = 4096;
        zantor::testing::PtySimulator control(pty.masterFd(), profile, kLineRate);
        // XOFF pauses of 1 ms to 2 s at random moments of the send.
        for (size_t at = 20000; at < text.size(); at += 20000 + random() % 200000) {
            const auto pause = milliseconds(1 + random() % 2000);
            ++pauses;
            control.onReceivedCount(at, [pause](MachineSimulator& m) {
                m.type("\x13");
                m.after(pause, [](MachineSimulator& later) { later.type("\x11"); });
            });
        }
        const std::string cli = ZANTOR_CLI;
        const auto sent = sampled({cli, "--home", home.path(), "--system", home.path(), "send",
                                   "--machine", "Soak", "--port", pty.slavePath(), file},
                                  samples);
        control.waitFor([&](const MachineSimulator& m) { return m.receivedCount() >= text.size(); },
                        seconds(10));
        if (sent.status != 0 || control.received() != text) ++mismatches;

        // The control punches the program back.
        control.after(milliseconds(500), [text](MachineSimulator& m) { m.punch(text); });
        const auto received = sampled({cli, "--home", home.path(), "--system", home.path(),
                                       "receive", "--machine", "Soak", "--port", pty.slavePath(),
                                       home.file("BACK.TAP")},
                                      samples);
        if (received.status != 0 || home.read("BACK.TAP") != text) ++mismatches;
        moved += text.size();
        control.stop();
        std::printf("round %d: %zu bytes each way, %s\n", round, text.size(),
                    mismatches ? "MISMATCH" : "identical");
        std::fflush(stdout);
    }
    const double elapsed = duration<double>(steady_clock::now() - start).count();
    long firstRss = samples.empty() ? 0 : samples.front().rssKb, maxRss = 0;
    int firstFds = samples.empty() ? 0 : samples.front().fds, maxFds = 0;
    for (const Sample& s : samples) {
        maxRss = std::max(maxRss, s.rssKb);
        maxFds = std::max(maxFds, s.fds);
    }
    std::printf("soak: %.1f MB each way in %.0f s, %zu XOFF pauses, %zu mismatches\n",
                double(moved) / 1048576, elapsed, pauses, mismatches);
    std::printf("zantor-cli memory: first %ld KB, highest %ld KB; open descriptors: first %d, "
                "highest %d (%zu samples)\n",
                firstRss, maxRss, firstFds, maxFds, samples.size());
    return mismatches ? 1 : 0;
}
