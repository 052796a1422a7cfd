#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/clock_timer.h"

namespace zantor {

class DataPacket;

// Feeds the data packets of one port from its input stream: each byte goes
// to the packets in creation order until one starts collecting; from then
// on only that packet sees the bytes until it delivers or times out. The
// port's other consumers (terminal screen, transfer engine) are fed the same
// bytes by whoever reads the port. Its packets are destroyed before it.
class PacketManager {
public:
    // What a request or a terminal line can hold: a packet collecting more
    // (garbage, a start string with no end on a busy line) ends as if timed
    // out, so memory stays bounded whatever arrives.
    static constexpr size_t kMaxPacketBytes = 64 * 1024;
    // Bytes held back while an owner's handler runs, at most.
    static constexpr size_t kMaxHeldBytes = 1024 * 1024;

    explicit PacketManager(Clock& clock);
    ~PacketManager();
    PacketManager(const PacketManager&) = delete;
    PacketManager& operator=(const PacketManager&) = delete;

    // Bytes that arrived on the port. While a packet's handler runs they are
    // held back and offered when it returns.
    void feed(std::string_view bytes);
    const DataPacket* collecting() const { return collecting_; }

private:
    friend class DataPacket;
    void add(DataPacket& packet) { packets_.push_back(&packet); }
    void remove(DataPacket& packet);
    void packetEnabled();
    void packetDisabled(DataPacket& packet);

    void process();
    void offer(uint8_t byte);
    void collect(DataPacket& packet, uint8_t byte);
    void startCollecting(DataPacket& packet);
    void startAnyDataPacket();
    void restartOthers(const DataPacket& packet);
    void deliver(DataPacket& packet, const std::string& data, const std::string& endBytes);
    void timedOut();
    void runHandler(DataPacket& packet, bool delivered, const std::string& text);

    ClockTimer timer_;
    std::vector<DataPacket*> packets_;  // creation order
    DataPacket* collecting_ = nullptr;
    DataPacket* inHandler_ = nullptr;  // null again when the packet was destroyed in it
    bool handlerRunning_ = false;
    bool processing_ = false;
    std::string pending_;  // bytes not yet offered
    size_t next_ = 0;      // the next byte of pending_ to offer
    // After a time-out, the timed-out packet takes no part in the replay of
    // the bytes it had collected, up to this index of pending_.
    const DataPacket* replayExcluded_ = nullptr;
    size_t replayEnd_ = 0;
    std::string sinceStart_;  // the collecting packet's bytes, from its start string on
};

}  // namespace zantor
