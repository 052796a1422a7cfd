#include "dnc/port/kermit_data.h"

#include <algorithm>
#include <cstdint>

#include "dnc/port/kermit_check.h"

namespace zantor::kermit {

namespace {

// One byte as it goes in the data field, without its repeat count.
void encodeByte(uint8_t b, const Quoting& q, std::string& out) {
    if (q.eighthBit && (b & 0x80)) {
        out += q.eighthBit;
        b &= 0x7F;
    }
    const uint8_t low = b & 0x7F;
    if (low < 32 || low == 127) {
        out += q.control;
        b = ctl(b);
    } else if (low == uint8_t(q.control) || (q.eighthBit && low == uint8_t(q.eighthBit)) ||
               (q.repeat && low == uint8_t(q.repeat))) {
        out += q.control;
    }
    out += char(b);
}

}  // namespace

size_t encodeData(std::string_view bytes, const Quoting& q, size_t room, std::string& out) {
    const size_t limit = out.size() + room;
    size_t taken = 0;
    std::string unit;
    while (taken < bytes.size()) {
        const uint8_t b = uint8_t(bytes[taken]);
        size_t run = 1;
        if (q.repeat)
            while (taken + run < bytes.size() && run < kLongestRepeat &&
                   uint8_t(bytes[taken + run]) == b)
                ++run;
        unit.clear();
        if (run >= kShortestRepeat) {
            unit += q.repeat;
            unit += toChar(int(run));
        } else {
            run = 1;
        }
        encodeByte(b, q, unit);
        if (out.size() + unit.size() > limit) break;
        out += unit;
        taken += run;
    }
    return taken;
}

bool decodeData(std::string_view field, const Quoting& q, std::string& out) {
    size_t i = 0;
    const auto next = [&](uint8_t& c) {
        if (i >= field.size()) return false;
        c = uint8_t(field[i++]);
        return true;
    };
    while (i < field.size()) {
        uint8_t c = uint8_t(field[i++]);
        size_t count = 1;
        if (q.repeat && c == uint8_t(q.repeat)) {
            uint8_t n = 0;
            if (!next(n) || !next(c)) return false;
            count = size_t(std::max(0, unChar(char(n))));
        }
        uint8_t bit8 = 0;
        if (q.eighthBit && c == uint8_t(q.eighthBit)) {
            bit8 = 0x80;
            if (!next(c)) return false;
        }
        if (c == uint8_t(q.control)) {
            if (!next(c)) return false;
            // '?' and '@'.. '_' stand for DEL and the controls; anything
            // else after the prefix is itself (a prefix character).
            const uint8_t low = c & 0x7F;
            if (low >= 0x3F && low <= 0x5F) c = ctl(c);
        }
        out.append(count, char(c | bit8));
    }
    return true;
}

}  // namespace zantor::kermit
