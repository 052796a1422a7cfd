// The remote station's request packets scanning program text that holds no
// request: the station must keep up with any number of lines at once.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/data_packet.h"
#include "dnc/port/packet_manager.h"

namespace {

std::string programText(size_t bytes) {
    std::string text;
    for (int n = 10; text.size() < bytes; n += 10)
        text += "N" + std::to_string(n) + " G01 X12.345 Y-6.789 Z0.5 F250. (CUT " +
                std::to_string(n % 97) + ")\r\n";
    return text;
}

void BM_PacketManager_FiveRequestPackets_10MB(benchmark::State& state) {
    const std::string text = programText(10 << 20);
    zantor::ManualClock clock;
    zantor::PacketManager manager(clock);
    std::vector<std::unique_ptr<zantor::DataPacket>> packets;
    int delivered = 0;
    for (const char* start : {"(SND", "(RCV", "(DIR", "(PTH", "(MSG"}) {
        auto p = std::make_unique<zantor::DataPacket>(manager);
        p->StartString = start;
        p->EndCond = zantor::ecString;
        p->EndString = ")";
        p->IncludeStrings = false;
        p->TimeOut = 200;
        p->OnStringPacket = [&](const std::string&) { ++delivered; };
        p->setEnabled(true);
        packets.push_back(std::move(p));
    }
    for (auto _ : state) {
        for (size_t at = 0; at < text.size(); at += 4096)
            manager.feed(std::string_view(text).substr(at, 4096));
    }
    if (delivered) state.SkipWithError("a request was found in plain program text");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["MB_per_s"] = benchmark::Counter(double(text.size()) / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
    state.counters["target_MB_per_s"] = 50;
}
BENCHMARK(BM_PacketManager_FiveRequestPackets_10MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
