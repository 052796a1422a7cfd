#pragma once

#include <functional>
#include <optional>

#include "dnc/port/clock.h"

namespace zantor {

// One pending callback on a Clock, cancelled when started again or when the
// timer goes.
class ClockTimer {
public:
    explicit ClockTimer(Clock& clock) : clock_(clock) {}
    ~ClockTimer() { cancel(); }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    void start(Clock::Duration delay, std::function<void()> callback) {
        cancel();
        id_ = clock_.callAfter(delay, [this, callback = std::move(callback)] {
            id_.reset();
            callback();
        });
    }
    void cancel() {
        if (id_) clock_.cancel(*id_);
        id_.reset();
    }
    bool active() const { return id_.has_value(); }

private:
    Clock& clock_;
    std::optional<Clock::CallbackId> id_;
};

}  // namespace zantor
