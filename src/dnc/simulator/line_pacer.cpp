#include "dnc/simulator/line_pacer.h"

#include <algorithm>

namespace zantor::sim {

namespace {
constexpr auto kIdleCredit = std::chrono::milliseconds(2);
}

size_t LinePacer::allowance(size_t most, std::chrono::milliseconds& wait) const {
    wait = std::chrono::milliseconds(-1);
    if (rate_ <= 0) return most;
    const auto now = std::chrono::steady_clock::now();
    if (now < lineFreeAt_) {
        wait = std::chrono::ceil<std::chrono::milliseconds>(lineFreeAt_ - now);
        return 0;
    }
    // What the line has carried since it was last free.
    const auto perByte = std::chrono::nanoseconds(1'000'000'000 / rate_);
    auto behind = std::chrono::nanoseconds(now - lineFreeAt_);
    if (!backlog_) behind = std::min<std::chrono::nanoseconds>(behind, kIdleCredit);
    return std::min<size_t>(size_t(behind / perByte) + 1, most);
}

void LinePacer::passed(size_t n, size_t allowed) {
    if (rate_ <= 0 || n == 0) return;
    const auto perByte = std::chrono::nanoseconds(1'000'000'000 / rate_);
    const auto earliest = std::chrono::steady_clock::now() - kIdleCredit;
    lineFreeAt_ = (backlog_ ? lineFreeAt_ : std::max(lineFreeAt_, earliest)) + perByte * long(n);
    backlog_ = n == allowed;
}

}  // namespace zantor::sim
