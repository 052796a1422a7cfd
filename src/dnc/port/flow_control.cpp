#include "dnc/port/flow_control.h"

namespace zantor {

int roundedFraction(int size, int numerator, int denominator) {
    return int((2LL * size * numerator + denominator) / (2LL * denominator));
}

Thresholds checkedThresholds(int inSize, Thresholds requested) {
    Thresholds t = requested;
    if (t.bufferFull == 0 || t.bufferFull > inSize) t.bufferFull = roundedFraction(inSize, 3, 4);
    if (t.bufferResume == 0 || t.bufferResume > t.bufferFull)
        t.bufferResume = roundedFraction(inSize, 1, 4);
    return t;
}

}  // namespace zantor
