#include "dnc/port/line_settings.h"

#include <algorithm>

namespace zantor {

int stopHalfBits(const LineSettings& settings) {
    if (settings.DataBits == 5) return 3;
    return settings.StopBits == 1 ? 2 : 4;
}

int frameHalfBits(const LineSettings& settings) {
    const int parity = settings.Parity == TParity::pNone ? 0 : 1;
    return 2 * (1 + settings.DataBits + parity) + stopHalfBits(settings);
}

std::chrono::nanoseconds characterTime(const LineSettings& settings) {
    const int32_t baud = std::max<int32_t>(settings.Baud, 1);
    return std::chrono::nanoseconds(int64_t(frameHalfBits(settings)) * 500'000'000 / baud);
}

char parityLetter(TParity parity) {
    switch (parity) {
        case TParity::pNone:
            return 'N';
        case TParity::pOdd:
            return 'O';
        case TParity::pEven:
            return 'E';
        case TParity::pMark:
            return 'M';
        case TParity::pSpace:
            return 'S';
    }
    return 'N';
}

std::string frameText(const LineSettings& settings) {
    return std::to_string(settings.DataBits) + parityLetter(settings.Parity) +
           std::to_string(settings.StopBits);
}

bool isSupportedBaud(int32_t baud) {
    return std::find(kSupportedBauds.begin(), kSupportedBauds.end(), baud) != kSupportedBauds.end();
}

}  // namespace zantor
