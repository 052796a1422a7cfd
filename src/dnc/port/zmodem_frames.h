#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zantor::zmodem {

// Frame types.
enum FrameType : uint8_t {
    ZRQINIT = 0,
    ZRINIT = 1,
    ZSINIT = 2,
    ZACK = 3,
    ZFILE = 4,
    ZSKIP = 5,
    ZNAK = 6,
    ZABORT = 7,
    ZFIN = 8,
    ZRPOS = 9,
    ZDATA = 10,
    ZEOF = 11,
    ZFERR = 12,
    ZCRC = 13,
    ZCHALLENGE = 14,
    ZCOMPL = 15,
    ZCAN = 16,
    ZFREECNT = 17,
    ZCOMMAND = 18,
    ZSTDERR = 19,
};

// How a data subpacket ends: what the receiver does next.
enum FrameEnd : uint8_t {
    ZCRCE = 'h',  // end of frame, a header follows
    ZCRCG = 'i',  // more data follows, no answer
    ZCRCQ = 'j',  // more data follows, ZACK wanted
    ZCRCW = 'k',  // end of frame, ZACK wanted
};

inline constexpr uint8_t kZpad = '*';
inline constexpr uint8_t kZdle = 0x18;
// ZRINIT flags (ZF0).
inline constexpr uint8_t CANFDX = 0x01, CANOVIO = 0x02, CANFC32 = 0x20;
// ZFILE conversion option (ZF0): resume an interrupted file.
inline constexpr uint8_t ZCRESUM = 3;

// A header's four bytes: a position (ZP0 lowest) or flags (ZF0 = [3]).
using HeaderBytes = std::array<uint8_t, 4>;
HeaderBytes positionBytes(uint32_t position);
uint32_t positionOf(const HeaderBytes& bytes);

std::string hexHeader(uint8_t type, const HeaderBytes& bytes);
std::string binaryHeader(uint8_t type, const HeaderBytes& bytes, bool crc32);
// `data` escaped, the frame end and the block check.
std::string dataSubpacket(std::string_view data, FrameEnd end, bool crc32);

// What the reader made of the bytes so far.
struct Event {
    enum Kind { None, Header, Data, BadHeader, BadData, Cancel } kind = None;
    uint8_t type = 0;
    HeaderBytes bytes{};
    bool crc32 = false;  // the header's check, which its data subpackets use
    std::string data;
    uint8_t frameEnd = 0;
};

// Reads the line byte by byte: hunts for headers, and after a header that
// carries data (expectData) reads data subpackets until one ends the frame
// or fails its check. Five CANs in a row are the peer's cancel.
class Reader {
public:
    Event feed(uint8_t byte);
    // The subpackets after the last header are read as data (crc32 as
    // given), until a frame end without more, a bad one, or stopData.
    void expectData(bool crc32);
    void stopData();
    bool readingData() const { return state_ == State::Data || state_ == State::DataCheck; }

    static constexpr size_t kMaxSubpacket = 8192;

private:
    enum class State { Hunt, Pad, Dle, Hex, Binary, Data, DataCheck };
    Event headerDone(bool ok);
    Event badData();

    State state_ = State::Hunt;
    bool escaped_ = false;
    int cans_ = 0;
    bool binary32_ = false;
    bool data32_ = false;
    std::string field_;  // header bytes or check bytes being read
    std::string data_;
    uint8_t frameEnd_ = 0;
    size_t wanted_ = 0;
};

}  // namespace zantor::zmodem
