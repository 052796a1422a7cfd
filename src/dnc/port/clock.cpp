#include "dnc/port/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace zantor {

namespace {

int timerMilliseconds(Clock::Duration delay) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(delay).count();
    return int(std::clamp<long long>(ms, 0, 24LL * 3600 * 1000));
}

// Queued signals and deferred deletes of the port, when there is an event loop.
void deliverPostedEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace

Clock::CallbackId CallbackQueue::add(Clock::Duration due, std::function<void()> callback) {
    const Clock::CallbackId id = nextId_++;
    queue_.emplace(std::make_pair(due, id), std::move(callback));
    dueOf_.emplace(id, due);
    return id;
}

void CallbackQueue::cancel(Clock::CallbackId id) {
    const auto it = dueOf_.find(id);
    if (it == dueOf_.end()) return;
    queue_.erase(std::make_pair(it->second, id));
    dueOf_.erase(it);
}

std::function<void()> CallbackQueue::takeDue(Clock::Duration limit) {
    if (queue_.empty() || queue_.begin()->first.first > limit) return {};
    auto node = queue_.extract(queue_.begin());
    dueOf_.erase(node.key().second);
    return std::move(node.mapped());
}

SystemClock::SystemClock() : timer_(std::make_unique<QTimer>()) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { runDue(); });
}

SystemClock::~SystemClock() = default;

Clock::Duration SystemClock::now() const {
    return std::chrono::duration_cast<Duration>(
        std::chrono::steady_clock::now().time_since_epoch());
}

Clock::CallbackId SystemClock::callAfter(Duration delay, std::function<void()> callback) {
    const CallbackId id = queue_.add(now() + std::max(delay, Duration(0)), std::move(callback));
    rearm();
    return id;
}

void SystemClock::cancel(CallbackId id) {
    queue_.cancel(id);
    rearm();
}

void SystemClock::runDue() {
    const Duration limit = now();
    while (auto callback = queue_.takeDue(limit)) callback();
    rearm();
}

void SystemClock::rearm() {
    if (queue_.empty()) {
        timer_->stop();
        return;
    }
    timer_->start(timerMilliseconds(queue_.nextDue() - now()));
}

bool SystemClock::waitUntil(const std::function<bool()>& done, Duration timeout, WaitMode mode) {
    if (done()) return true;
    const bool bounded = timeout != kForever;
    const Duration deadline = bounded ? now() + timeout : kForever;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    if (bounded) wake.start(timerMilliseconds(timeout));
    QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
    if (mode == WaitMode::IgnoreUserInput) flags |= QEventLoop::ExcludeUserInputEvents;
    while (!done()) {
        if (bounded && now() >= deadline) return false;
        QCoreApplication::processEvents(flags);
    }
    return true;
}

Clock::CallbackId ManualClock::callAfter(Duration delay, std::function<void()> callback) {
    return queue_.add(now_ + std::max(delay, Duration(0)), std::move(callback));
}

void ManualClock::cancel(CallbackId id) {
    queue_.cancel(id);
}

bool ManualClock::runNextDue(Duration limit) {
    if (queue_.empty()) return false;
    const Duration due = queue_.nextDue();
    auto callback = queue_.takeDue(limit);
    if (!callback) return false;
    now_ = std::max(now_, due);
    callback();
    deliverPostedEvents();
    return true;
}

void ManualClock::advance(Duration step) {
    const Duration until = now_ + step;
    deliverPostedEvents();
    while (runNextDue(until)) {
    }
    now_ = std::max(now_, until);
}

bool ManualClock::waitUntil(const std::function<bool()>& done, Duration timeout, WaitMode) {
    const Duration deadline = timeout == kForever ? kForever : now_ + timeout;
    deliverPostedEvents();
    while (!done()) {
        if (!runNextDue(deadline)) {
            if (deadline != kForever) now_ = std::max(now_, deadline);
            return done();
        }
    }
    return true;
}

}  // namespace zantor
