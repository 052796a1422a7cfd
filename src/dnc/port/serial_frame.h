#pragma once

#include <cstdint>

#include "dnc/port/line_settings.h"

namespace zantor {

// One character as the bits on the wire, first bit in bit 0: start bit, data
// bits from the lowest, parity bit, stop bits (1.5 stop bits count as two).
struct SerialFrame {
    uint32_t bits = 0;
    int count = 0;
    bool isBreak = false;  // the line held at space for a whole frame and more
};

struct ReceivedChar {
    uint8_t byte = 0;
    bool parityError = false;
    bool framingError = false;
    bool isBreak = false;
};

SerialFrame encodeFrame(uint8_t byte, const LineSettings& sender);
SerialFrame breakFrame(const LineSettings& sender);
// Reads a frame the way a receiver with `receiver` settings samples it: bits
// past the end of the sender's frame are the idle (mark) line.
ReceivedChar decodeFrame(const SerialFrame& frame, const LineSettings& sender,
                         const LineSettings& receiver);

}  // namespace zantor
