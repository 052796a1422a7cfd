#pragma once

#include <algorithm>
#include <limits>

namespace zantor {

// Time in the DNC station is counted in ticks of 92/1675 second (about 55 ms).
constexpr int kTicksPerSecondNumerator = 1675;
constexpr int kTicksPerSecondDenominator = 92;

// Seconds to ticks; integer division truncates. A delay too long to count
// in ticks is held at the longest one, never wrapped into another value.
constexpr int SecsToTicks(int seconds) {
    const long long ticks =
        static_cast<long long>(seconds) * kTicksPerSecondNumerator / kTicksPerSecondDenominator;
    return static_cast<int>(std::clamp<long long>(ticks, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}
// Ticks to seconds, rounding the way stored delays have always been written.
constexpr int TicksToSecs(int ticks) {
    return int((static_cast<long long>(ticks) + 9) * kTicksPerSecondDenominator /
               kTicksPerSecondNumerator);
}
// A stored delay: n >= 0 is seconds; a negative value is a tick count.
constexpr int StoredDelayToTicks(int stored) {
    if (stored >= 0) return SecsToTicks(stored);
    return stored == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -stored;
}

constexpr long long TicksToMilliseconds(long long ticks) {
    return ticks * 1000 * kTicksPerSecondDenominator / kTicksPerSecondNumerator;
}

}  // namespace zantor
