#include "dnc/port/flow_control.h"

namespace zantor {

int roundedFraction(int size, int numerator, int denominator) {
    return int((2LL * size * numerator + denominator) / (2LL * denominator));
}

Thresholds checkedThresholds(int inSize, Thresholds requested) {
    Thresholds t = requested;
    // A resume level chosen for a full level that had to be replaced means
    // nothing any more: both start again from the standard levels.
    const bool fullReplaced = t.bufferFull == 0 || t.bufferFull > inSize;
    if (fullReplaced) t.bufferFull = roundedFraction(inSize, 3, 4);
    if (fullReplaced || t.bufferResume == 0 || t.bufferResume > t.bufferFull)
        t.bufferResume = roundedFraction(inSize, 1, 4);
    return t;
}

}  // namespace zantor
