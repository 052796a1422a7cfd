#include "dnc/port/serial_frame.h"

#include <bit>

namespace zantor {

namespace {

int dataBitCount(const LineSettings& settings) {
    return settings.DataBits;
}

// The parity bit for `data` under `parity`; only called when parity is on.
bool parityBit(uint32_t data, TParity parity) {
    const bool oddOnes = std::popcount(data) % 2 == 1;
    switch (parity) {
        case TParity::pOdd:
            return !oddOnes;
        case TParity::pEven:
            return oddOnes;
        case TParity::pMark:
            return true;
        case TParity::pSpace:
        case TParity::pNone:
            return false;
    }
    return false;
}

int stopBitCount(const LineSettings& settings) {
    return (stopHalfBits(settings) + 1) / 2;
}

}  // namespace

SerialFrame encodeFrame(uint8_t byte, const LineSettings& sender) {
    const int data = dataBitCount(sender);
    const uint32_t value = byte & ((1u << data) - 1);
    SerialFrame frame;
    frame.bits = value << 1;  // start bit 0 in bit 0
    frame.count = 1 + data;
    if (sender.Parity != TParity::pNone) {
        if (parityBit(value, sender.Parity)) frame.bits |= 1u << frame.count;
        ++frame.count;
    }
    for (int i = 0; i < stopBitCount(sender); ++i) frame.bits |= 1u << frame.count++;
    return frame;
}

SerialFrame breakFrame(const LineSettings& sender) {
    SerialFrame frame = encodeFrame(0, sender);
    frame.bits = 0;
    frame.isBreak = true;
    return frame;
}

ReceivedChar decodeFrame(const SerialFrame& frame, const LineSettings& sender,
                         const LineSettings& receiver) {
    ReceivedChar received;
    if (frame.isBreak) {
        received.isBreak = true;
        return received;
    }
    if (sender.Baud != receiver.Baud) {
        // Sampled at the wrong rate the bits mean nothing.
        received.framingError = true;
        return received;
    }
    auto bit = [&](int n) { return n >= frame.count ? true : ((frame.bits >> n) & 1u) != 0; };
    const int data = dataBitCount(receiver);
    uint32_t value = 0;
    for (int i = 0; i < data; ++i)
        if (bit(1 + i)) value |= 1u << i;
    int at = 1 + data;
    if (receiver.Parity != TParity::pNone) {
        received.parityError = bit(at) != parityBit(value, receiver.Parity);
        ++at;
    }
    received.framingError = !bit(at);
    received.byte = uint8_t(value);
    return received;
}

}  // namespace zantor
