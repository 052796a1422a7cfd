#pragma once

#include <chrono>
#include <cstddef>

namespace zantor::sim {

// Lets bytes through no faster than a serial line at a set number of
// characters a second would carry them, so that what a writer runs ahead of
// the line waits in a pty as it would in a UART. A line keeps its pace:
// while bytes wait, a late wake-up catches up; an idle line gives no credit
// beyond a couple of milliseconds. Not thread-safe: one reader uses it.
class LinePacer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // 0: no pacing, every byte passes at once.
    void setRate(int charactersPerSecond) { rate_ = charactersPerSecond; }
    int rate() const { return rate_; }

    // How many bytes may pass now, at most `most`; 0 with `wait` set to how
    // long until one may. `wait` is -1 when there is nothing to wait for.
    size_t allowance(size_t most, std::chrono::milliseconds& wait) const;
    // `n` bytes of an allowance of `allowed` have passed.
    void passed(size_t n, size_t allowed);

private:
    int rate_ = 0;
    TimePoint lineFreeAt_{};
    bool backlog_ = false;  // the last pass took all the line allowed: more was waiting
};

}  // namespace zantor::sim
