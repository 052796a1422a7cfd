#include "dnc/port/kermit_packet.h"

#include "dnc/port/kermit_check.h"

namespace zantor::kermit {

namespace {
constexpr size_t kExtendedHeader = 6;  // LEN SEQ TYPE LENX1 LENX2 HCHECK
}  // namespace

std::string encodePacket(const Packet& packet, int checkType, const Framing& framing) {
    std::string line(size_t(framing.padCount), char(framing.padChar));
    line += char(kMark);
    const size_t start = line.size();
    const size_t counted = packet.data.size() + size_t(checkType);
    if (counted + 2 <= 94) {
        line += toChar(int(counted + 2));
        line += toChar(packet.seq & 63);
        line += packet.type;
    } else {
        line += toChar(0);
        line += toChar(packet.seq & 63);
        line += packet.type;
        line += toChar(int(counted / 95));
        line += toChar(int(counted % 95));
        line += blockCheck(std::string_view(line).substr(start), 1);
    }
    line += packet.data;
    line += blockCheck(std::string_view(line).substr(start), checkType);
    line += char(framing.eol);
    return line;
}

PacketReader::Result PacketReader::feed(uint8_t byte) {
    byte &= mask_;
    if (byte == kMark) {
        const bool cut = state_ != State::Idle;
        state_ = State::Length;
        frame_.clear();
        return cut ? Result::Damaged : Result::None;
    }
    switch (state_) {
        case State::Idle:
            return Result::None;
        case State::Length: {
            frame_ = char(byte);
            const int len = unChar(char(byte));
            extended_ = len == 0;
            if (!extended_ && (len < 3 || len > 94)) {
                state_ = State::Idle;
                return Result::Damaged;
            }
            wanted_ = extended_ ? kExtendedHeader : size_t(len) + 1;
            state_ = State::Body;
            return Result::None;
        }
        case State::Body:
            frame_ += char(byte);
            if (frame_.size() < wanted_) return Result::None;
            if (extended_ && frame_.size() == kExtendedHeader) {
                const std::string_view header(frame_);
                const int counted = unChar(frame_[3]) * 95 + unChar(frame_[4]);
                if (blockCheck(header.substr(0, 5), 1)[0] != frame_[5] || counted < 1 ||
                    size_t(counted) + kExtendedHeader > longest_) {
                    state_ = State::Idle;
                    return Result::Damaged;
                }
                wanted_ = kExtendedHeader + size_t(counted);
                return Result::None;
            }
            state_ = State::Idle;
            return complete();
    }
    return Result::None;
}

PacketReader::Result PacketReader::complete() {
    if (decode(checkType_)) return Result::Packet;
    // The check the two ends used before they agreed on another one.
    const char type = frame_.size() > 2 ? frame_[2] : 0;
    if (checkType_ != 1 && (type == kSendInit || type == kError) && decode(1))
        return Result::Packet;
    return Result::Damaged;
}

bool PacketReader::decode(int checkType) {
    const size_t header = extended_ ? kExtendedHeader : 3;
    if (frame_.size() < header + size_t(checkType)) return false;
    const std::string_view frame(frame_);
    const size_t checkAt = frame.size() - size_t(checkType);
    if (blockCheck(frame.substr(0, checkAt), checkType) != frame.substr(checkAt)) return false;
    const int seq = unChar(frame_[1]);
    if (seq < 0 || seq > 63) return false;
    packet_.seq = seq;
    packet_.type = frame_[2];
    packet_.data.assign(frame.substr(header, checkAt - header));
    return true;
}

}  // namespace zantor::kermit
