#include "editor/slow_search_watch.h"

namespace zantor::editor {

SlowSearchWatch::SlowSearchWatch(Now now, std::function<void()> becameSlow,
                                 std::function<bool()> stopRequested,
                                 std::chrono::milliseconds threshold)
    : now_(std::move(now)),
      becameSlow_(std::move(becameSlow)),
      stopRequested_(std::move(stopRequested)),
      deadline_(now_() + threshold) {}

bool SlowSearchWatch::keepGoing() {
    if (stopped_) return false;
    if (!slow_) {
        if (now_() < deadline_) return true;
        slow_ = true;
        if (becameSlow_) becameSlow_();
    }
    if (stopRequested_ && stopRequested_()) stopped_ = true;
    return !stopped_;
}

}  // namespace zantor::editor
