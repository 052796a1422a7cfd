#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dnc/port/kermit_packet.h"

namespace zantor::kermit {

// Sequence numbers count modulo 64.
constexpr int seqAfter(int seq, int n = 1) {
    return (seq + n) & 63;
}
constexpr int seqDistance(int from, int to) {
    return (to - from) & 63;
}

// The packets a sender has out and not yet acknowledged, oldest first: it
// may have up to size() of them at once.
class SendWindow {
public:
    struct Slot {
        int seq = 0;
        std::string line;      // the packet as sent, for sending again
        size_t fileBytes = 0;  // of the file, in a data packet
        bool acknowledged = false;
    };

    void setSize(int count) { size_ = count < 1 ? 1 : count; }
    int size() const { return size_; }
    int inUse() const { return int(slots_.size()); }
    bool full() const { return inUse() >= size_; }
    bool empty() const { return slots_.empty(); }

    void add(Slot slot) { slots_.push_back(std::move(slot)); }
    // The slot of `seq` while it is out; null otherwise.
    Slot* find(int seq);
    // The oldest slot not yet acknowledged; null when there is none.
    Slot* oldestOpen();
    // Marks `seq` acknowledged; false when it is not out.
    bool acknowledge(int seq);
    // Acknowledges every slot (the receiver has shown it has them all).
    void acknowledgeAll();
    // Drops the acknowledged slots at the front; the file bytes they carried.
    size_t slide();

private:
    std::deque<Slot> slots_;
    int size_ = 1;
};

// Where a receiver stands in the sequence: the next packet it needs, and
// those that arrived ahead of it (a lost packet left a gap) within the
// window.
class ReceiveWindow {
public:
    enum class Place {
        Next,     // the packet needed now
        Ahead,    // later, within the window: a packet before it is missing
        Behind,   // already had: the sender missed our answer
        Outside,  // no packet the sender can have out
    };

    void setSize(int count) { size_ = count < 1 ? 1 : count; }
    int size() const { return size_; }
    void reset(int next);
    int next() const { return next_; }

    Place place(int seq) const;
    // Keeps a packet that came ahead; returns the numbers before it that
    // are missing and were not asked for yet.
    std::vector<int> keepAhead(Packet packet);
    bool holds(int seq) const { return ahead_.count(seq) != 0; }
    // Moves on past the packet needed now.
    void advance() {
        next_ = seqAfter(next_);
        if (highestAsked_ >= 0) --highestAsked_;
    }
    // The packet needed now when it came ahead earlier (it is taken).
    std::optional<Packet> takeNext();
    int heldCount() const { return int(ahead_.size()); }

private:
    int next_ = 0;
    int size_ = 1;
    int highestAsked_ = -1;  // distance from next_ of the last gap asked for
    std::map<int, Packet> ahead_;
};

}  // namespace zantor::kermit
