// The soak of the DNC station: programs sent with `zantor-cli send` to the
// control simulator over a pseudo-terminal while the control throttles with
// XOFF pauses of 1 ms to 2 s at random and line noise garbles bursts of bytes
// that the control reports (the program is then sent again, as an operator
// does after a parity alarm), then punched back and received with
// `zantor-cli receive`; every byte compared, the command's memory and open
// descriptors sampled every second.
// Usage: zantor-soak [MEGABYTES] [SEED] [CHARACTERS_PER_SECOND]
// A pty has no line speed: the control paces the line at the rate given
// (default 92160 a second, a real line at the machine's 921600 baud with
// ten bits a character).
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

constexpr int kLineBaud = 921600;
constexpr int kDefaultLineRate = kLineBaud / 10;
constexpr size_t kMaxBurst = 64;

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
    while (run.wait_for(seconds(1)) == std::future_status::timeout) {
        // A process already ending has no memory left to tell of: not a sample.
        if (const Sample s = sampleOf(pid); s.rssKb > 0) samples.push_back(s);
    }
    return run.get();
}

// Where the control's record differs from what was sent: only at bytes of
// the bursts, each flipped in its top bit and reported as a fault.
bool onlyBurstsDamaged(const std::string& sent, const MachineSimulator& control,
                       const std::vector<std::pair<size_t, size_t>>& bursts, size_t& reported) {
    const std::string got = control.received();
    const auto faults = control.faults();
    reported = faults.size();
    if (got.size() != sent.size()) return false;
    std::vector<bool> inBurst(sent.size(), false);
    for (const auto& [at, length] : bursts)
        for (size_t i = at; i < std::min(at + length, sent.size()); ++i) inBurst[i] = true;
    size_t damaged = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        if (got[i] == sent[i]) continue;
        if (!inBurst[i] || (uint8_t(got[i]) ^ uint8_t(sent[i])) != 0x80) return false;
        ++damaged;
    }
    for (const auto& fault : faults)
        if (fault.index >= sent.size() || !inBurst[fault.index]) return false;
    return damaged == faults.size();
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100;
    std::mt19937 random(argc > 2 ? unsigned(std::atoi(argv[2])) : 2026);
    const int lineRate = argc > 3 ? std::atoi(argv[3]) : kDefaultLineRate;
    zantor::testing::TempFolder home;
    home.write("ZTR2013.INI", "[GENERAL]\nLOGGING=1\n");
    home.write("WPOSTS.INI",
               "[Machine Names]\nNumber=1\nMachine1=Soak\n[Soak]\nPORT=1\nBAUD=" +
                   std::to_string(kLineBaud) +
                   "\nDATABITS=8\nPARITY=N\nSTOPBITS=1\nFLOW=1\nTCODE=2\nEOFTIME=3\nXOFFTIME=5\n");
    const std::string cli = ZANTOR_CLI;
    const size_t total = size_t(megabytes * 1024 * 1024);
    const size_t chunk = std::min<size_t>(total, 2 * 1024 * 1024);
    size_t moved = 0, mismatches = 0, pauses = 0, bursts = 0, faultBytes = 0, recovered = 0;
    std::vector<Sample> samples;

    // One send of `text` to a fresh control, with the pauses and bursts
    // given; true when the control got every byte, bursts aside.
    const auto sendTo = [&](const std::string& text, const std::string& file,
                            const std::vector<size_t>& pauseAt,
                            const std::vector<std::pair<size_t, size_t>>& burstsAt,
                            size_t& reported) {
        zantor::testing::PtyPair pty;
        zantor::testing::MachineProfile profile;
        profile.bufferSize = 4096;
        zantor::testing::PtySimulator control(pty.masterFd(), profile, lineRate);
        for (const size_t at : pauseAt) {
            const auto pause = milliseconds(1 + random() % 2000);
            control.onReceivedCount(at, [pause](MachineSimulator& m) {
                m.type("\x13");
                m.after(pause, [](MachineSimulator& later) { later.type("\x11"); });
            });
        }
        for (const auto& [at, length] : burstsAt)
            control.onReceivedCount(at, [length](MachineSimulator& m) { m.garbleNextReceived(length); });
        const auto sent = sampled({cli, "--home", home.path(), "--system", home.path(), "send",
                                   "--machine", "Soak", "--port", pty.slavePath(), file},
                                  samples);
        control.waitFor([&](const MachineSimulator& m) { return m.receivedCount() >= text.size(); },
                        seconds(10));
        const bool whole = sent.status == 0 && onlyBurstsDamaged(text, control, burstsAt, reported);
        if (!whole)
            std::printf("send: status %d, the control got %zu of %zu bytes: %s%s\n", sent.status,
                        control.receivedCount(), text.size(), sent.out.c_str(), sent.err.c_str());
        control.stop();
        return whole;
    };

    const auto start = steady_clock::now();
    for (int round = 1; moved < total; ++round) {
        const std::string text = program(random, std::min(chunk, total - moved));
        const std::string file = home.write("SEND.TAP", text);
        // XOFF pauses of 1 ms to 2 s at random moments of the send; now and
        // then a burst of line noise at another moment (never at the count
        // of a pause: one trigger a count).
        std::vector<size_t> pauseAt;
        for (size_t at = 20000; at < text.size(); at += 20000 + random() % 200000)
            pauseAt.push_back(at);
        std::vector<std::pair<size_t, size_t>> burstsAt;
        for (int b = int(random() % 3); b > 0; --b) {
            const size_t at = 1 + random() % (text.size() - kMaxBurst);
            if (std::find(pauseAt.begin(), pauseAt.end(), at) != pauseAt.end()) continue;
            burstsAt.emplace_back(at, 1 + random() % kMaxBurst);
        }
        pauses += pauseAt.size();
        size_t reported = 0;
        bool ok = sendTo(text, file, pauseAt, burstsAt, reported);
        bursts += burstsAt.size();
        faultBytes += reported;
        if (ok && reported > 0) {
            // The control reported the damage: the operator sends the program again.
            size_t again = 0;
            ok = sendTo(text, file, {}, {}, again) && again == 0;
            if (ok) ++recovered;
        }
        if (!ok) ++mismatches;

        // The control punches the program back.
        zantor::testing::PtyPair pty;
        zantor::testing::MachineProfile profile;
        zantor::testing::PtySimulator control(pty.masterFd(), profile, lineRate);
        control.after(milliseconds(500), [text](MachineSimulator& m) { m.punch(text); });
        const auto received =
            sampled({cli, "--home", home.path(), "--system", home.path(), "receive", "--machine",
                     "Soak", "--port", pty.slavePath(), home.file("BACK.TAP")},
                    samples);
        if (const std::string back = home.read("BACK.TAP"); received.status != 0 || back != text) {
            ++mismatches;
            const auto differs = std::mismatch(back.begin(), back.end(), text.begin(), text.end());
            std::printf("receive: status %d, %zu of %zu bytes, first difference at %zd: %s%s\n",
                        received.status, back.size(), text.size(), differs.first - back.begin(),
                        received.out.c_str(), received.err.c_str());
        }
        moved += text.size();
        control.stop();
        // The running figures, so that a soak stopped early still tells them.
        const Sample latest = samples.empty() ? Sample{} : samples.back();
        std::printf(
            "round %d: %zu bytes each way, %zu XOFF pauses, %zu noise bursts (%zu bytes "
            "reported), %s; after %.0f s, zantor-cli at %ld KB with %d open descriptors\n",
            round, text.size(), pauseAt.size(), burstsAt.size(), reported,
            mismatches ? "MISMATCH" : "identical",
            duration<double>(steady_clock::now() - start).count(), latest.rssKb, latest.fds);
        std::fflush(stdout);
    }
    const double elapsed = duration<double>(steady_clock::now() - start).count();
    const Sample first = samples.empty() ? Sample{} : samples.front();
    const Sample last = samples.empty() ? Sample{} : samples.back();
    long maxRss = 0;
    int maxFds = 0;
    for (const Sample& s : samples) {
        maxRss = std::max(maxRss, s.rssKb);
        maxFds = std::max(maxFds, s.fds);
    }
    std::printf(
        "soak: %.1f MB each way in %.0f s (port at %d baud, control paced at %d "
        "characters a second), %zu XOFF pauses, "
        "%zu noise bursts (%zu bytes reported by the control), %zu sends repeated "
        "and recovered, %zu mismatches\n",
        double(moved) / 1048576, elapsed, kLineBaud, lineRate, pauses, bursts, faultBytes,
        recovered, mismatches);
    std::printf(
        "zantor-cli memory: first %ld KB, highest %ld KB, last %ld KB; open descriptors: "
        "first %d, highest %d, last %d (%zu samples)\n",
        first.rssKb, maxRss, last.rssKb, first.fds, maxFds, last.fds, samples.size());
    return mismatches ? 1 : 0;
}
