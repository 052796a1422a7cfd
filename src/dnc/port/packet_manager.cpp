#include "dnc/port/packet_manager.h"

#include <algorithm>

#include "dnc/port/data_packet.h"

namespace zantor {

PacketManager::PacketManager(Clock& clock) : timer_(clock) {}

PacketManager::~PacketManager() = default;

void PacketManager::remove(DataPacket& packet) {
    if (collecting_ == &packet) {
        timer_.cancel();
        collecting_ = nullptr;
        sinceStart_.clear();
    }
    if (inHandler_ == &packet) inHandler_ = nullptr;
    if (replayExcluded_ == &packet) replayExcluded_ = nullptr;
    packets_.erase(std::remove(packets_.begin(), packets_.end(), &packet), packets_.end());
}

void PacketManager::packetEnabled() {
    startAnyDataPacket();
}

void PacketManager::packetDisabled(DataPacket& packet) {
    if (collecting_ != &packet) return;
    timer_.cancel();
    collecting_ = nullptr;
    sinceStart_.clear();
    startAnyDataPacket();
}

void PacketManager::feed(std::string_view bytes) {
    pending_.append(bytes);
    if (pending_.size() - next_ > kMaxHeldBytes) {
        // Only while a handler runs for long can this much wait: keep the newest.
        next_ = pending_.size() - kMaxHeldBytes;
        replayEnd_ = std::max(replayEnd_, next_);
    }
    process();
}

void PacketManager::process() {
    // One offering loop at a time: bytes that arrive from inside it (a
    // handler, a time-out) are taken by the loop already running.
    if (handlerRunning_ || processing_) return;
    processing_ = true;
    while (next_ < pending_.size() && !handlerRunning_) offer(uint8_t(pending_[next_++]));
    processing_ = false;
    if (next_ >= pending_.size()) {
        pending_.clear();
        next_ = 0;
        replayExcluded_ = nullptr;
        replayEnd_ = 0;
    }
}

void PacketManager::offer(uint8_t byte) {
    if (collecting_) {
        collect(*collecting_, byte);
        return;
    }
    const bool replaying = replayExcluded_ && next_ <= replayEnd_;
    // No copy of the list: a handler can change it, and nothing here looks
    // at the list again once a handler has run.
    for (DataPacket* packet : packets_) {
        if (!packet->waitsForString() || (replaying && packet == replayExcluded_)) continue;
        if (!packet->startMatcher_.feed(byte)) continue;
        packet->startBytes_ = packet->startMatcher_.matched();
        if (packet->EndCond == 0) {
            deliver(*packet, "", "");
        } else {
            startCollecting(*packet);
        }
        return;  // the packets after it are not offered this byte
    }
}

void PacketManager::collect(DataPacket& packet, uint8_t byte) {
    sinceStart_.push_back(char(byte));
    packet.collected_.push_back(char(byte));
    if ((packet.EndCond & ecString) && packet.endMatcher_.feed(byte)) {
        const std::string endBytes = packet.endMatcher_.matched();
        deliver(packet, packet.collected_.substr(0, packet.collected_.size() - endBytes.size()),
                endBytes);
        return;
    }
    if ((packet.EndCond & ecPacketSize) &&
        packet.startBytes_.size() + packet.collected_.size() >= size_t(packet.PacketSize)) {
        deliver(packet, packet.collected_, "");
        return;
    }
    if (packet.collected_.size() >= kMaxPacketBytes) timedOut();
}

void PacketManager::startCollecting(DataPacket& packet) {
    packet.state_ = DataPacket::State::Collecting;
    packet.collected_.clear();
    packet.endMatcher_.reset();
    collecting_ = &packet;
    sinceStart_ = packet.startBytes_;
    if (packet.TimeOut > 0) timer_.start(ticksToDuration(packet.TimeOut), [this] { timedOut(); });
    restartOthers(packet);
}

void PacketManager::restartOthers(const DataPacket& packet) {
    for (DataPacket* other : packets_)
        if (other != &packet) other->startMatcher_.reset();
}

void PacketManager::startAnyDataPacket() {
    if (collecting_ || handlerRunning_) return;
    for (DataPacket* packet : packets_) {
        if (packet->state_ == DataPacket::State::WaitingForStart &&
            packet->StartCond == StartCondition::scAnyData) {
            packet->startBytes_.clear();
            startCollecting(*packet);
            return;
        }
    }
}

void PacketManager::deliver(DataPacket& packet, const std::string& data,
                            const std::string& endBytes) {
    if (collecting_ == &packet) {
        timer_.cancel();
        collecting_ = nullptr;
        sinceStart_.clear();
    }
    packet.state_ = DataPacket::State::Disabled;
    const std::string text = packet.IncludeStrings ? packet.startBytes_ + data + endBytes : data;
    packet.collected_.clear();
    runHandler(packet, true, text);
}

void PacketManager::timedOut() {
    DataPacket* packet = collecting_;
    if (!packet) return;
    timer_.cancel();
    collecting_ = nullptr;
    packet->state_ = DataPacket::State::Disabled;
    packet->collected_.clear();
    // The other packets are offered the bytes again; the packet that timed
    // out is not, or re-enabled at once it would take the same bytes again.
    pending_.insert(next_, sinceStart_);
    replayExcluded_ = packet;
    replayEnd_ = next_ + sinceStart_.size();
    sinceStart_.clear();
    runHandler(*packet, false, "");
    process();
}

void PacketManager::runHandler(DataPacket& packet, bool delivered, const std::string& text) {
    inHandler_ = &packet;
    handlerRunning_ = true;
    if (delivered) {
        if (packet.OnStringPacket) packet.OnStringPacket(text);
    } else if (packet.OnTimeout) {
        packet.OnTimeout();
    }
    handlerRunning_ = false;
    DataPacket* const survivor = inHandler_;
    inHandler_ = nullptr;
    if (delivered && survivor && survivor->AutoEnable && !survivor->Enabled())
        survivor->setEnabled(true);
    startAnyDataPacket();
}

}  // namespace zantor
