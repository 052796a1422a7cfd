// The packet manager on a hostile line: any definitions and any bytes, fed
// in any chunks, never crash, and no delivery exceeds what a packet may hold.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/data_packet.h"
#include "dnc/port/packet_manager.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Input: a byte of flags and five start strings of up to 3 bytes, then the stream.
    if (size < 17) return 0;
    zantor::ManualClock clock;
    zantor::PacketManager manager(clock);
    std::vector<std::unique_ptr<zantor::DataPacket>> packets;
    size_t largest = 0;
    for (int i = 0; i < 5; ++i) {
        auto p = std::make_unique<zantor::DataPacket>(manager);
        const uint8_t flags = data[1 + 3 * i];
        p->StartCond = (flags & 1) ? zantor::StartCondition::scAnyData : zantor::StartCondition::scString;
        p->StartString = std::string(reinterpret_cast<const char*>(data) + 2 + 3 * i, 2);
        p->EndCond = (flags >> 1) & 3;
        p->EndString = (flags & 8) ? ")" : "?\\";
        p->PacketSize = flags >> 4;
        p->IncludeStrings = data[0] & (1 << i);
        p->AutoEnable = flags & 64;
        p->TimeOut = 3;
        p->OnStringPacket = [&largest](const std::string& text) {
            largest = std::max(largest, text.size());
        };
        zantor::DataPacket* raw = p.get();
        p->OnTimeout = [raw] {
            try {
                raw->setEnabled(true);
            } catch (const zantor::PacketDefinitionError&) {
            }
        };
        try {
            p->setEnabled(true);
        } catch (const zantor::PacketDefinitionError&) {
        }
        packets.push_back(std::move(p));
    }
    const std::string_view stream(reinterpret_cast<const char*>(data) + 16, size - 16);
    const size_t chunk = 1 + data[0] % 5;
    for (size_t at = 0; at < stream.size(); at += chunk) {
        manager.feed(stream.substr(at, chunk));
        if (stream[at] == '~') clock.advance(zantor::ticksToDuration(2));
    }
    FUZZ_CHECK(largest <= zantor::PacketManager::kMaxPacketBytes + 8);
    return 0;
}
