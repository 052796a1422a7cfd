#pragma once

namespace zantor {

// Time in the DNC station is counted in ticks of 92/1675 second (about 55 ms).
constexpr int kTicksPerSecondNumerator = 1675;
constexpr int kTicksPerSecondDenominator = 92;

// Seconds to ticks; integer division truncates.
constexpr int SecsToTicks(int seconds) {
    return static_cast<int>(static_cast<long long>(seconds) * kTicksPerSecondNumerator /
                            kTicksPerSecondDenominator);
}
// Ticks to seconds, rounding the way stored delays have always been written.
constexpr int TicksToSecs(int ticks) {
    return int((static_cast<long long>(ticks) + 9) * kTicksPerSecondDenominator /
               kTicksPerSecondNumerator);
}
// A stored delay: n >= 0 is seconds; a negative value is a tick count.
constexpr int StoredDelayToTicks(int stored) {
    return stored >= 0 ? SecsToTicks(stored) : -stored;
}

constexpr long long TicksToMilliseconds(long long ticks) {
    return ticks * 1000 * kTicksPerSecondDenominator / kTicksPerSecondNumerator;
}

}  // namespace zantor
