#include "dnc/port/packet_pattern.h"

#include "core/text_util.h"

namespace zantor {

PacketPattern::PacketPattern(std::string_view text, bool ignoreCase) : ignoreCase_(ignoreCase) {
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '?') {
            elements_.push_back(kAnyByte);
            continue;
        }
        // A "\" at the very end has nothing to quote and stands for itself.
        if (c == '\\' && i + 1 < text.size()) c = text[++i];
        elements_.push_back(uint8_t(ignoreCase ? asciiUpper(c) : c));
    }
    if (!elements_.empty())
        for (int b = 0; b < 256; ++b) firstAccepts_[size_t(b)] = accepts(0, uint8_t(b));
}

bool PacketPattern::accepts(size_t index, uint8_t byte) const {
    const int element = elements_[index];
    if (element == kAnyByte) return true;
    return element == uint8_t(ignoreCase_ ? asciiUpper(char(byte)) : char(byte));
}

void StreamMatcher::setPattern(PacketPattern pattern) {
    pattern_ = std::move(pattern);
    window_.clear();
}

bool StreamMatcher::windowMatches() const {
    for (size_t i = 0; i < window_.size(); ++i)
        if (!pattern_.accepts(i, uint8_t(window_[i]))) return false;
    return true;
}

bool StreamMatcher::feed(uint8_t byte) {
    if (pattern_.empty()) return false;
    if (window_.empty() && !pattern_.firstAccepts(byte)) return false;  // the usual byte
    if (window_.size() == pattern_.size()) window_.clear();  // after a whole match
    window_.push_back(char(byte));
    while (!window_.empty() && !windowMatches()) window_.erase(0, 1);
    return window_.size() == pattern_.size();
}

}  // namespace zantor
