#include "dnc/port/kermit_init.h"

#include <algorithm>

#include "dnc/port/kermit_check.h"

namespace zantor::kermit {

namespace {

// Characters that may serve as a prefix.
bool isPrefix(char c) {
    return (c >= 33 && c <= 62) || (c >= 96 && c <= 126);
}

constexpr int kDefaultMaxLength = 80;
constexpr int kDefaultLongLength = 500;

}  // namespace

std::string encodeInit(const InitParams& p) {
    std::string d;
    d += toChar(std::clamp(p.maxLength, 10, 94));
    d += toChar(std::clamp(p.timeoutSeconds, 0, 94));
    d += toChar(std::clamp(p.padCount, 0, 94));
    d += char(ctl(p.padChar));
    d += toChar(p.eol);
    d += p.control;
    d += p.eighthBit;
    d += char('0' + p.checkType);
    d += p.repeat;
    d += toChar((p.longPackets ? kCanLongPackets : 0) |
                (p.slidingWindows ? kCanSlidingWindows : 0) | (p.attributes ? kCanAttributes : 0));
    d += toChar(std::clamp(p.window, 1, kLongestWindow));
    const int longLength = std::clamp(p.longLength, 0, int(kLongestPacket));
    d += toChar(longLength / 95);
    d += toChar(longLength % 95);
    return d;
}

InitParams decodeInit(std::string_view d) {
    // A field the other end left out, or sent blank, keeps its default.
    const auto field = [&](size_t i) -> char { return i < d.size() ? d[i] : ' '; };
    InitParams p;
    p.maxLength = field(0) == ' ' ? kDefaultMaxLength : std::clamp(unChar(field(0)), 10, 94);
    p.timeoutSeconds = field(1) == ' ' ? 5 : unChar(field(1));
    p.padCount = std::max(0, unChar(field(2)));
    p.padChar = field(3) == ' ' ? 0 : ctl(uint8_t(field(3)));
    p.eol = field(4) == ' ' ? '\r' : uint8_t(unChar(field(4)));
    p.control = isPrefix(field(5)) ? field(5) : '#';
    p.eighthBit = field(6) == ' ' ? 'N' : field(6);
    p.checkType = (field(7) >= '1' && field(7) <= '3') ? field(7) - '0' : 1;
    p.repeat = field(8);
    size_t i = 9;
    int capas = 0;
    if (i < d.size()) {
        capas = unChar(d[i]);
        // Further CAPAS bytes hold capabilities we do not use.
        while (i < d.size() && (unChar(d[i]) & 1)) ++i;
        ++i;
    }
    p.longPackets = capas & kCanLongPackets;
    p.slidingWindows = capas & kCanSlidingWindows;
    p.attributes = capas & kCanAttributes;
    p.window = field(i) == ' ' ? 1 : std::clamp(unChar(field(i)), 1, kLongestWindow);
    if (i + 2 < d.size())
        p.longLength = std::max(0, unChar(field(i + 1)) * 95 + unChar(field(i + 2)));
    return p;
}

InitParams answerInit(const InitParams& able, const InitParams& offer) {
    InitParams a = able;
    a.checkType = offer.checkType;
    // Asked for a prefix: agreed; offered one: asked for only when our line needs it.
    if (isPrefix(offer.eighthBit) && (able.eighthBit == 'Y' || isPrefix(able.eighthBit)))
        a.eighthBit = 'Y';
    a.repeat = isPrefix(offer.repeat) && offer.repeat != offer.control ? offer.repeat : ' ';
    a.longPackets = able.longPackets && offer.longPackets;
    a.slidingWindows = able.slidingWindows && offer.slidingWindows;
    a.window = a.slidingWindows ? std::min(able.window, offer.window) : 1;
    // Without a window every packet waits for its answer: the longest
    // packets make the fewest waits (with one the line stays busy anyway,
    // and shorter packets lose less to a noisy line).
    if (a.longPackets && a.window == 1) a.longLength = int(kLongestPacket);
    a.attributes = able.attributes && offer.attributes;
    return a;
}

size_t Agreement::dataRoom() const {
    const size_t check = size_t(checkType);
    // A normal packet's LEN counts SEQ, TYPE, the data and the check; a long
    // one has three header characters more, and we keep one spare.
    if (sendLength <= 94) return sendLength - 2 - check;
    return sendLength - 6 - check;
}

Agreement agree(const InitParams& mine, const InitParams& theirs) {
    Agreement a;
    a.checkType = mine.checkType == theirs.checkType ? mine.checkType : 1;
    const char m = mine.eighthBit, t = theirs.eighthBit;
    char eighthBit = 0, repeat = 0;
    if (isPrefix(m) && (t == 'Y' || t == m))
        eighthBit = m;
    else if (isPrefix(t) && m == 'Y')
        eighthBit = t;
    if (isPrefix(mine.repeat) && mine.repeat == theirs.repeat && mine.repeat != mine.control &&
        mine.repeat != theirs.control && mine.repeat != eighthBit)
        repeat = mine.repeat;
    a.outgoing = {mine.control, eighthBit, repeat};
    a.incoming = {theirs.control, eighthBit, repeat};
    if (mine.longPackets && theirs.longPackets)
        a.sendLength = theirs.longLength > 0 ? size_t(theirs.longLength) : kDefaultLongLength;
    else
        a.sendLength = size_t(theirs.maxLength);
    a.sendLength = std::clamp<size_t>(a.sendLength, 10, kLongestPacket);
    a.window = mine.slidingWindows && theirs.slidingWindows
                   ? std::clamp(std::min(mine.window, theirs.window), 1, kLongestWindow)
                   : 1;
    a.attributes = mine.attributes && theirs.attributes;
    a.framing = {theirs.padCount, theirs.padChar, theirs.eol};
    a.peerTimeoutSeconds = theirs.timeoutSeconds;
    return a;
}

}  // namespace zantor::kermit
