#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zantor::kermit {

inline constexpr uint8_t kMark = 0x01;  // every packet starts with it

// Packet types.
inline constexpr char kSendInit = 'S';
inline constexpr char kFileHeader = 'F';
inline constexpr char kAttributes = 'A';
inline constexpr char kData = 'D';
inline constexpr char kEndOfFile = 'Z';
inline constexpr char kEndOfBatch = 'B';  // "break"
inline constexpr char kAck = 'Y';
inline constexpr char kNak = 'N';
inline constexpr char kError = 'E';

// The longest packet the extended length field can describe.
inline constexpr size_t kLongestPacket = 95 * 95 - 1;

struct Packet {
    int seq = 0;  // 0..63
    char type = 0;
    std::string data;  // the encoded data field
};

// What the peer wants around each packet we send it.
struct Framing {
    int padCount = 0;
    uint8_t padChar = 0;
    uint8_t eol = '\r';
};

// The packet as it goes on the line: padding, MARK, the length (a long
// packet's extended header when the data field does not fit in 94), SEQ,
// TYPE, data, the block check of `checkType` and the end-of-line character.
std::string encodePacket(const Packet& packet, int checkType, const Framing& framing = {});

// Picks packets out of what arrives, byte by byte: noise between packets is
// skipped, a MARK inside a packet starts a new one (the one before was cut
// short), and a packet whose block check fails is reported as damaged.
class PacketReader {
public:
    enum class Result { None, Packet, Damaged };

    // The block check of the packets now expected; a Send-Init and an error
    // packet are also read with the 1-character check, which they carry
    // while the two ends may not yet agree.
    void setCheckType(int type) { checkType_ = type; }
    int checkType() const { return checkType_; }
    // On a 7-bit line the 8th bit is parity and is dropped.
    void setSevenBit(bool on) { mask_ = on ? 0x7F : 0xFF; }
    // Longer packets are taken for damage.
    void setLongest(size_t length) { longest_ = length; }

    Result feed(uint8_t byte);
    // The packet just read (valid after Result::Packet).
    const Packet& packet() const { return packet_; }

private:
    Result complete();
    bool decode(int checkType);

    enum class State { Idle, Length, Body } state_ = State::Idle;
    int checkType_ = 1;
    uint8_t mask_ = 0xFF;
    size_t longest_ = kLongestPacket;
    std::string frame_;  // LEN to the end of the block check
    size_t wanted_ = 0;  // frame_'s full size once known
    bool extended_ = false;
    Packet packet_;
};

}  // namespace zantor::kermit
