#include "dnc/simulator/pty_simulator.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace zantor::sim {

PtySimulator::PtySimulator(int masterFd, MachineProfile profile, int charactersPerSecond)
    : MachineSimulator(profile), fd_(masterFd), rate_(charactersPerSecond) {
    pacer_.setRate(charactersPerSecond);
    thread_ = std::thread([this] { run(); });
}

PtySimulator::~PtySimulator() {
    stop();
}

void PtySimulator::stop() {
    if (!thread_.joinable()) return;
    wake_.quit();
    thread_.join();
}

void PtySimulator::lineWrite(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd out{fd_, POLLOUT, 0};
            ::poll(&out, 1, 10);
        }
    }
}

void PtySimulator::schedule(Duration delay, std::function<void()> callback) {
    // A timer set by a running timer counts from when that one was due: poll
    // wakes in whole milliseconds, and counting from the wake-up would stretch
    // every character time below a millisecond (16 characters at 92160 a
    // second take 0.17 ms) to a whole one. A thread held up for long does not
    // catch up at once.
    constexpr std::chrono::milliseconds kMostCatchUp(20);
    const TimePoint now = std::chrono::steady_clock::now();
    const TimePoint from = runningTimer_ ? std::max(runningDue_, now - kMostCatchUp) : now;
    timers_.emplace(from + delay, std::move(callback));
    if (std::this_thread::get_id() != thread_.get_id()) wake_.nudge();
}

MachineSimulator::Duration PtySimulator::characterTime() const {
    return rate_ > 0 ? Duration(1'000'000'000 / rate_) : Duration(0);
}

void PtySimulator::changed() {
    {
        std::lock_guard lock(waitMutex_);
        ++version_;
    }
    changed_.notify_all();
}

bool PtySimulator::waitFor(const std::function<bool(const MachineSimulator&)>& done,
                           std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(waitMutex_);
    for (;;) {
        const unsigned long seen = version_;
        lock.unlock();
        if (done(*this)) return true;
        lock.lock();
        if (!changed_.wait_until(lock, deadline, [&] { return version_ != seen; }))
            return done(*this);
    }
}

void PtySimulator::run() {
    std::vector<char> buffer(4096);
    for (;;) {
        std::chrono::milliseconds wait(-1);
        const size_t allowance = pacer_.allowance(buffer.size(), wait);
        {
            std::lock_guard lock(mutex_);
            if (!timers_.empty()) {
                const auto due = std::chrono::ceil<std::chrono::milliseconds>(
                    timers_.begin()->first - std::chrono::steady_clock::now());
                const auto untilTimer = std::max(due, std::chrono::milliseconds(0));
                wait = wait.count() < 0 ? untilTimer : std::min(wait, untilTimer);
            }
        }
        pollfd fds[2] = {{fd_, short(allowance ? POLLIN : 0), 0}, {wake_.fd(), POLLIN, 0}};
        if (::poll(fds, 2, int(wait.count())) < 0 && errno != EINTR) return;
        if ((fds[1].revents & POLLIN) && wake_.drain()) return;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(fd_, buffer.data(), std::min(buffer.size(), allowance));
            if (n > 0) {
                pacer_.passed(size_t(n), allowance);
                lineReceived(std::string_view(buffer.data(), size_t(n)));
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody holds the slave: wait for the program to open it again.
            ::poll(&fds[1], 1, 5);
        }
        bool ran = false;
        for (;;) {
            std::lock_guard lock(mutex_);
            if (timers_.empty() || timers_.begin()->first > std::chrono::steady_clock::now())
                break;
            auto callback = std::move(timers_.begin()->second);
            runningDue_ = timers_.begin()->first;
            timers_.erase(timers_.begin());
            runningTimer_ = true;
            callback();
            runningTimer_ = false;
            ran = true;
        }
        if (ran) changed();
    }
}

}  // namespace zantor::sim
