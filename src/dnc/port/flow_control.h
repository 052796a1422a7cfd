#pragma once

#include <cstdint>

namespace zantor {

enum class TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };

enum THWFlowOptions : uint8_t {
    hwfUseDTR = 1,
    hwfUseRTS = 2,
    hwfRequireDSR = 4,
    hwfRequireCTS = 8,
};
// A set of THWFlowOptions.
using HWFlowSet = uint8_t;

enum class FlowState {
    Off,
    On,
    HeldByDsr,
    HeldByCts,
    HeldByDcd,
    TransmitHeldByXoff,
    ReceiveHeldXoffSent,
    BothHeld,
};

constexpr bool obeysXoff(TSWFlowOptions o) {
    return o == TSWFlowOptions::swfTransmit || o == TSWFlowOptions::swfBoth;
}
constexpr bool sendsXoff(TSWFlowOptions o) {
    return o == TSWFlowOptions::swfReceive || o == TSWFlowOptions::swfBoth;
}

struct Thresholds {
    int bufferFull;
    int bufferResume;
};

// The threshold rule applied when software flow control is switched on: a
// full level of 0 or above the queue size becomes 3/4 of it (and the resume
// level with it 1/4), a resume level of 0 or above the full level 1/4 of it,
// each rounded to the nearest byte.
Thresholds checkedThresholds(int inSize, Thresholds requested);

// Half away from zero, the way the thresholds are rounded.
int roundedFraction(int size, int numerator, int denominator);

}  // namespace zantor
