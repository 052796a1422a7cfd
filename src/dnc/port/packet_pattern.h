#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zantor {

// A start or end string of a data packet: "?" matches any one byte and "\"
// makes the next character literal ("\?" is a question mark, "\\" a
// backslash). Letters compare in capitals when case is ignored.
class PacketPattern {
public:
    PacketPattern() = default;
    PacketPattern(std::string_view text, bool ignoreCase);

    size_t size() const { return elements_.size(); }
    bool empty() const { return elements_.empty(); }
    // Whether element `index` accepts `byte`.
    bool accepts(size_t index, uint8_t byte) const;
    // The same for the first element, by table: most bytes of a stream stop here.
    bool firstAccepts(uint8_t byte) const { return firstAccepts_[byte]; }

private:
    static constexpr int kAnyByte = -1;
    std::vector<int> elements_;
    bool ignoreCase_ = false;
    std::array<bool, 256> firstAccepts_{};
};

// Finds the first occurrence of a pattern in a stream fed a byte at a time:
// after a partial match fails, the search goes on from the byte after the
// one where that match began. It holds no more than the pattern's length.
class StreamMatcher {
public:
    void setPattern(PacketPattern pattern);
    // True when the pattern has just matched whole; matched() holds its bytes.
    bool feed(uint8_t byte);
    void reset() { window_.clear(); }
    const std::string& matched() const { return window_; }
    const PacketPattern& pattern() const { return pattern_; }

private:
    bool windowMatches() const;

    PacketPattern pattern_;
    std::string window_;  // the bytes of the match in progress
};

}  // namespace zantor
