#include "dnc/port/zmodem_frames.h"

#include "dnc/port/transfer_crc.h"

namespace zantor::zmodem {

namespace {

const uint8_t* bytesOf(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

uint32_t crc32Of(std::string_view s) {
    return ~crc32Update(bytesOf(s), s.size(), 0xFFFFFFFFu);
}

bool isFlowByte(uint8_t b) {
    return (b & 0x7F) == 0x11 || (b & 0x7F) == 0x13;
}

bool needsEscape(uint8_t b, uint8_t previous) {
    switch (b) {
        case 0x10:
        case 0x11:
        case 0x13:
        case 0x18:
        case 0x90:
        case 0x91:
        case 0x93:
        case 0x98:
            return true;
        case 0x0D:
        case 0x8D:
            // "@" CR could be taken for a modem's escape by what is on the line.
            return (previous & 0x7F) == '@';
        default:
            return false;
    }
}

void appendEscaped(std::string& out, std::string_view bytes) {
    uint8_t previous = out.empty() ? 0 : uint8_t(out.back());
    for (const char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (needsEscape(b, previous)) {
            out += char(kZdle);
            out += char(b ^ 0x40);
        } else {
            out += c;
        }
        previous = b;
    }
}

std::string headerBody(uint8_t type, const HeaderBytes& bytes) {
    std::string body(1, char(type));
    for (const uint8_t b : bytes) body += char(b);
    return body;
}

std::string check16(std::string_view covered) {
    const uint16_t crc = crc16(bytesOf(covered), covered.size());
    return {char(crc >> 8), char(crc & 0xFF)};
}

std::string check32(std::string_view covered) {
    const uint32_t crc = crc32Of(covered);
    return {char(crc & 0xFF), char((crc >> 8) & 0xFF), char((crc >> 16) & 0xFF), char(crc >> 24)};
}

int hexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

HeaderBytes positionBytes(uint32_t position) {
    return {uint8_t(position), uint8_t(position >> 8), uint8_t(position >> 16),
            uint8_t(position >> 24)};
}

uint32_t positionOf(const HeaderBytes& b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

std::string hexHeader(uint8_t type, const HeaderBytes& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    const std::string body = headerBody(type, bytes);
    std::string out = {char(kZpad), char(kZpad), char(kZdle), 'B'};
    for (const char c : body + check16(body)) {
        out += kDigits[uint8_t(c) >> 4];
        out += kDigits[uint8_t(c) & 0xF];
    }
    out += "\r\x8a";
    // The receiver may be held by an XOFF that line noise made.
    if (type != ZACK && type != ZFIN) out += '\x11';
    return out;
}

std::string binaryHeader(uint8_t type, const HeaderBytes& bytes, bool crc32) {
    const std::string body = headerBody(type, bytes);
    std::string out = {char(kZpad), char(kZdle), crc32 ? 'C' : 'A'};
    appendEscaped(out, body + (crc32 ? check32(body) : check16(body)));
    return out;
}

std::string dataSubpacket(std::string_view data, FrameEnd end, bool crc32) {
    std::string out;
    out.reserve(data.size() + data.size() / 16 + 12);
    appendEscaped(out, data);
    out += char(kZdle);
    out += char(end);
    std::string covered;
    covered.reserve(data.size() + 1);
    covered.append(data);
    covered += char(end);
    appendEscaped(out, crc32 ? check32(covered) : check16(covered));
    return out;
}

void Reader::expectData(bool crc32) {
    data32_ = crc32;
    data_.clear();
    escaped_ = false;
    state_ = State::Data;
}

void Reader::stopData() {
    state_ = State::Hunt;
    escaped_ = false;
}

Event Reader::headerDone(bool ok) {
    state_ = State::Hunt;
    Event e;
    if (!ok || field_.size() < 5) {
        e.kind = Event::BadHeader;
        return e;
    }
    e.kind = Event::Header;
    e.type = uint8_t(field_[0]);
    for (int i = 0; i < 4; ++i) e.bytes[size_t(i)] = uint8_t(field_[size_t(i) + 1]);
    e.crc32 = binary32_;
    return e;
}

Event Reader::badData() {
    state_ = State::Hunt;
    escaped_ = false;
    data_.clear();
    Event e;
    e.kind = Event::BadData;
    return e;
}

Event Reader::feed(uint8_t b) {
    if (b == kZdle) {
        if (++cans_ >= 5) {
            cans_ = 0;
            state_ = State::Hunt;
            escaped_ = false;
            Event e;
            e.kind = Event::Cancel;
            return e;
        }
    } else {
        cans_ = 0;
    }
    switch (state_) {
        case State::Hunt:
            if ((b & 0x7F) == kZpad) state_ = State::Pad;
            return {};
        case State::Pad:
            if ((b & 0x7F) == kZpad) return {};
            state_ = b == kZdle ? State::Dle : State::Hunt;
            return {};
        case State::Dle:
            field_.clear();
            escaped_ = false;
            switch (b & 0x7F) {
                case 'A':
                    binary32_ = false;
                    wanted_ = 7;
                    state_ = State::Binary;
                    break;
                case 'C':
                    binary32_ = true;
                    wanted_ = 9;
                    state_ = State::Binary;
                    break;
                case 'B':
                    binary32_ = false;
                    wanted_ = 14;
                    state_ = State::Hex;
                    break;
                default:
                    state_ = State::Hunt;
            }
            return {};
        case State::Hex: {
            const int v = hexValue(b & 0x7F);
            if (v < 0) return headerDone(false);
            field_ += char(v);
            if (field_.size() < wanted_) return {};
            std::string body;
            for (size_t i = 0; i < wanted_; i += 2) body += char(field_[i] << 4 | field_[i + 1]);
            field_ = body;
            return headerDone(check16(body.substr(0, 5)) == body.substr(5));
        }
        default:
            break;
    }
    // Binary header, data and check bytes: escaped, flow bytes dropped.
    uint8_t value = b;
    if (escaped_) {
        escaped_ = false;
        if (state_ == State::Data && b >= ZCRCE && b <= ZCRCW) {
            frameEnd_ = b;
            field_.clear();
            wanted_ = data32_ ? 4 : 2;
            state_ = State::DataCheck;
            return {};
        }
        if (b == 'l') {
            value = 0x7F;
        } else if (b == 'm') {
            value = 0xFF;
        } else if ((b & 0x60) == 0x40) {
            value = b ^ 0x40;
        } else if (b == kZdle) {
            escaped_ = true;  // counting towards a cancel
            return {};
        } else {
            return state_ == State::Binary ? headerDone(false) : badData();
        }
    } else if (b == kZdle) {
        escaped_ = true;
        return {};
    } else if (isFlowByte(b)) {
        return {};
    }
    if (state_ == State::Binary) {
        field_ += char(value);
        if (field_.size() < wanted_) return {};
        const std::string body = field_.substr(0, 5);
        return headerDone((binary32_ ? check32(body) : check16(body)) == field_.substr(5));
    }
    if (state_ == State::Data) {
        data_ += char(value);
        if (data_.size() > kMaxSubpacket) return badData();
        return {};
    }
    // DataCheck
    field_ += char(value);
    if (field_.size() < wanted_) return {};
    std::string covered = data_;
    covered += char(frameEnd_);
    const bool ok = (data32_ ? check32(covered) : check16(covered)) == field_;
    if (!ok) return badData();
    Event e;
    e.kind = Event::Data;
    e.data = std::move(data_);
    e.frameEnd = frameEnd_;
    data_.clear();
    state_ = (frameEnd_ == ZCRCE || frameEnd_ == ZCRCW) ? State::Hunt : State::Data;
    return e;
}

}  // namespace zantor::zmodem
