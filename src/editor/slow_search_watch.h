#pragma once

#include <chrono>
#include <functional>

#include "editor/text_search.h"

namespace zantor::editor {

// Watches one search: once it has run for `threshold`, becameSlow is called
// (the desktop shows the busy cursor) and from then on each question also
// asks stopRequested (the desktop looks for Esc). Time comes from `now`, so
// tests drive it by hand.
class SlowSearchWatch : public SearchWatch {
public:
    using Now = std::function<std::chrono::milliseconds()>;
    static constexpr std::chrono::milliseconds kDefaultThreshold{100};

    SlowSearchWatch(Now now, std::function<void()> becameSlow, std::function<bool()> stopRequested,
                    std::chrono::milliseconds threshold = kDefaultThreshold);

    bool keepGoing() override;
    bool slow() const { return slow_; }
    // The search was stopped: it found nothing, and no "not found" is due.
    bool stopped() const { return stopped_; }

private:
    Now now_;
    std::function<void()> becameSlow_;
    std::function<bool()> stopRequested_;
    std::chrono::milliseconds deadline_;
    bool slow_ = false;
    bool stopped_ = false;
};

}  // namespace zantor::editor
