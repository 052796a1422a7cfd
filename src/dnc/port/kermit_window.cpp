#include "dnc/port/kermit_window.h"

namespace zantor::kermit {

SendWindow::Slot* SendWindow::find(int seq) {
    for (Slot& s : slots_)
        if (s.seq == seq) return &s;
    return nullptr;
}

SendWindow::Slot* SendWindow::oldestOpen() {
    for (Slot& s : slots_)
        if (!s.acknowledged) return &s;
    return nullptr;
}

bool SendWindow::acknowledge(int seq) {
    Slot* s = find(seq);
    if (!s) return false;
    s->acknowledged = true;
    return true;
}

void SendWindow::acknowledgeAll() {
    for (Slot& s : slots_) s.acknowledged = true;
}

size_t SendWindow::slide() {
    size_t bytes = 0;
    while (!slots_.empty() && slots_.front().acknowledged) {
        bytes += slots_.front().fileBytes;
        slots_.pop_front();
    }
    return bytes;
}

void ReceiveWindow::reset(int next) {
    next_ = next & 63;
    highestAsked_ = -1;
    ahead_.clear();
}

ReceiveWindow::Place ReceiveWindow::place(int seq) const {
    const int d = seqDistance(next_, seq);
    if (d == 0) return Place::Next;
    if (d < size_) return Place::Ahead;
    if (d >= 64 - size_) return Place::Behind;
    return Place::Outside;
}

std::vector<int> ReceiveWindow::keepAhead(Packet packet) {
    const int d = seqDistance(next_, packet.seq);
    ahead_[packet.seq] = std::move(packet);
    std::vector<int> missing;
    for (int i = highestAsked_ + 1; i < d; ++i) {
        const int seq = seqAfter(next_, i);
        if (!holds(seq)) missing.push_back(seq);
    }
    if (d > highestAsked_) highestAsked_ = d;
    return missing;
}

std::optional<Packet> ReceiveWindow::takeNext() {
    const auto it = ahead_.find(next_);
    if (it == ahead_.end()) return std::nullopt;
    Packet p = std::move(it->second);
    ahead_.erase(it);
    return p;
}

}  // namespace zantor::kermit
