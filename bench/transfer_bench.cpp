// The ASCII transfer engine on the in-memory null modem, in simulated time:
//  - a 1 MB send at 115200 baud without pacing, as a share of the line rate
//    (target: at least 98 %);
//  - 200 characters with a 10 ms character delay, against the total that the
//    pacing rule gives (busy waits while a pass's pauses stay under 250 ms,
//    then a 55 ms tick; target: within 2 %).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "dnc/port/file_transfer.h"
#include "fake_port_rig.h"
#include "qt_test_app.h"
#include "temp_folder.h"

namespace zantor {
namespace {

struct SendFigures {
    Clock::Duration elapsed{0};
    int code = 1;
};

SendFigures sendOnFakeLine(const std::string& bytes, int charDelay) {
    testing::ensureQtApplication();
    testing::FakePortRig rig;
    const LineSettings line{115200, 8, TParity::pNone, 1};
    rig.port.setOutSize(4096);  // the station's COMOUTSIZE default
    rig.port.setLineSettings(line);
    if (rig.port.open()) return {};
    testing::TempFolder folder;
    FileTransfer transfer(rig.port);
    transfer.AsciiCharDelay = charDelay;
    transfer.FileMask = folder.write("O1.TAP", bytes);
    SendFigures figures;
    QObject::connect(&transfer, &FileTransfer::OnProtocolFinish,
                     [&](int code) { figures.code = code; });
    const Clock::Duration start = rig.clock.now();
    transfer.startTransmit();
    rig.clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                        WaitMode::Responsive);
    figures.elapsed = rig.clock.now() - start;
    if (rig.device.peer().received() != bytes) figures.code = -1;
    return figures;
}

void BM_Transmit_FakeDevice115200_NoPacing(benchmark::State& state) {
    std::string program;
    for (int n = 1; program.size() < (1u << 20); ++n)
        program += "N" + std::to_string(n) + " G1 X-12.345 Y67.89 F300.\r\n";
    program.resize(1u << 20);
    double percent = 0;
    for (auto _ : state) {
        const SendFigures f = sendOnFakeLine(program, 0);
        if (f.code != 0) state.SkipWithError("the send failed");
        const auto lineTime = characterTime({115200, 8, TParity::pNone, 1}) * long(program.size());
        percent = 100.0 * double(lineTime.count()) / double(f.elapsed.count());
    }
    state.counters["line_rate_percent"] = percent;
    state.counters["target_percent"] = 98;
}
BENCHMARK(BM_Transmit_FakeDevice115200_NoPacing)->Iterations(1)->Unit(benchmark::kMillisecond);

// The pacing rule worked through on its own: every pause is an exact wait
// while the pass's pauses stay under 250 ms; the one that would reach it is
// a wait of ceil(ms / 55) ticks and starts a new pass.
double ruleMilliseconds(int characters, int charDelay) {
    double total = 0;
    int passPaused = 0;
    const double tickMs = 92000.0 / 1675;
    for (int i = 0; i < characters; ++i) {
        if (passPaused + charDelay < 250) {
            passPaused += charDelay;
            total += charDelay;
        } else {
            total += std::ceil(charDelay / 55.0) * tickMs;
            passPaused = 0;
        }
    }
    return total;
}

void BM_Transmit_CharDelay10ms_200Characters(benchmark::State& state) {
    const std::string bytes(200, 'X');
    double measured = 0;
    const double expected = ruleMilliseconds(200, 10);
    for (auto _ : state) {
        const SendFigures f = sendOnFakeLine(bytes, 10);
        if (f.code != 0) state.SkipWithError("the send failed");
        measured = std::chrono::duration<double, std::milli>(f.elapsed).count();
    }
    state.counters["measured_ms"] = measured;
    state.counters["rule_ms"] = expected;
    state.counters["deviation_percent"] = 100.0 * std::abs(measured - expected) / expected;
    state.counters["target_percent"] = 2;
}
BENCHMARK(BM_Transmit_CharDelay10ms_200Characters)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zantor

BENCHMARK_MAIN();
