#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace zantor {

// How a wait treats the user interface while it lasts.
enum class WaitMode {
    Responsive,       // every event is handled: windows repaint, Stop buttons work
    IgnoreUserInput,  // port and timer events only; the window does not react to the user
};

// Time of the DNC runtime. Everything that waits or fires later goes through a
// Clock, so that tests and benchmarks can run a 30-second delay instantly on a
// ManualClock while the program uses the SystemClock. Callbacks always run in
// the thread's event loop, never from inside callAfter.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;
    using CallbackId = uint64_t;
    static constexpr Duration kForever = Duration::max();

    virtual ~Clock() = default;
    virtual Duration now() const = 0;
    // Runs `callback` once, `delay` from now. The id cancels it.
    virtual CallbackId callAfter(Duration delay, std::function<void()> callback) = 0;
    virtual void cancel(CallbackId id) = 0;
    // How late a callback may run: a writer that paces itself keeps this much
    // work queued ahead so the line never starves between wake-ups.
    virtual Duration granularity() const = 0;
    // Handles events until `done` returns true or `timeout` has passed;
    // returns done().
    virtual bool waitUntil(const std::function<bool()>& done, Duration timeout, WaitMode mode) = 0;

    // Lets events run for `delay`.
    void sleep(Duration delay, WaitMode mode) {
        waitUntil([] { return false; }, delay, mode);
    }
};

// 55 ms ticks (92/1675 s) as clock time.
constexpr Clock::Duration ticksToDuration(long long ticks) {
    return Clock::Duration(ticks * 92'000'000'000LL / 1675);
}

// Callbacks ordered by due time; equal times run in the order they were added.
class CallbackQueue {
public:
    Clock::CallbackId add(Clock::Duration due, std::function<void()> callback);
    void cancel(Clock::CallbackId id);
    bool empty() const { return queue_.empty(); }
    Clock::Duration nextDue() const { return queue_.begin()->first.first; }
    // Removes and returns the first callback when it is due at `limit` or earlier.
    std::function<void()> takeDue(Clock::Duration limit);

private:
    std::map<std::pair<Clock::Duration, Clock::CallbackId>, std::function<void()>> queue_;
    std::map<Clock::CallbackId, Clock::Duration> dueOf_;
    Clock::CallbackId nextId_ = 1;
};

// The clock of the program: steady time, one Qt timer set for the earliest
// callback, the Qt event loop.
class SystemClock : public Clock {
public:
    SystemClock();
    ~SystemClock() override;
    Duration now() const override;
    CallbackId callAfter(Duration delay, std::function<void()> callback) override;
    void cancel(CallbackId id) override;
    Duration granularity() const override { return std::chrono::milliseconds(2); }
    bool waitUntil(const std::function<bool()>& done, Duration timeout, WaitMode mode) override;

private:
    void runDue();
    void rearm();

    CallbackQueue queue_;
    std::unique_ptr<QTimer> timer_;
};

// Simulated time for tests and benchmarks: nothing happens until the clock is
// advanced, by advance() or by a wait, which jumps straight to the next due
// callback. A wait with nothing left to happen returns at once instead of
// hanging.
class ManualClock : public Clock {
public:
    Duration now() const override { return now_; }
    CallbackId callAfter(Duration delay, std::function<void()> callback) override;
    void cancel(CallbackId id) override;
    Duration granularity() const override { return Duration(0); }
    bool waitUntil(const std::function<bool()>& done, Duration timeout, WaitMode mode) override;

    // Runs everything due up to now + `step`, in time order.
    void advance(Duration step);
    bool hasPending() const { return !queue_.empty(); }

private:
    bool runNextDue(Duration limit);

    Duration now_{0};
    CallbackQueue queue_;
};

}  // namespace zantor
