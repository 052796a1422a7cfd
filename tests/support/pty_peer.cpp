#include "pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zantor::testing {

PtyPeer::PtyPeer(int masterFd) : fd_(masterFd) {
    thread_ = std::thread([this] { run(); });
}

PtyPeer::~PtyPeer() {
    stop();
}

void PtyPeer::stop() {
    if (!thread_.joinable()) return;
    wake_.quit();
    thread_.join();
}

void PtyPeer::run() {
    char buffer[4096];
    while (true) {
        std::chrono::milliseconds wait(-1);
        pacer_.setRate(lineRate_);
        const size_t allowance = pacer_.allowance(sizeof buffer, wait);
        pollfd fds[2] = {{fd_, short(allowance ? POLLIN : 0), 0}, {wake_.fd(), POLLIN, 0}};
        if (::poll(fds, 2, int(wait.count())) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) {
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                // Nobody holds the slave: wait for the program to open it again.
                ::poll(&fds[1], 1, 5);
                if (fds[1].revents) return;
            }
            continue;
        }
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, allowance));
        if (n <= 0) continue;
        pacer_.passed(size_t(n), allowance);
        const auto now = std::chrono::steady_clock::now();
        std::vector<std::string> replies;
        std::function<void()> onReceive;
        {
            std::lock_guard lock(mutex_);
            received_.append(buffer, size_t(n));
            arrivals_.insert(arrivals_.end(), size_t(n), now);
            onReceive = onReceive_;
            for (auto it = responses_.begin(); it != responses_.end();) {
                const bool due = it->trigger.empty() ? received_.size() >= it->count
                                                     : received_.ends_with(it->trigger);
                if (due) {
                    replies.push_back(it->reply);
                    it = responses_.erase(it);
                } else {
                    ++it;
                }
            }
        }
        changed_.notify_all();
        for (const std::string& reply : replies) {
            {
                std::lock_guard lock(mutex_);
                lastReplyAt_ = std::chrono::steady_clock::now();
            }
            writeLocked(reply);
        }
        if (onReceive) onReceive();
    }
}

PtyPeer::TimePoint PtyPeer::write(std::string_view bytes) {
    writeLocked(bytes);
    return std::chrono::steady_clock::now();
}

void PtyPeer::writeLocked(std::string_view bytes) {
    std::lock_guard lock(writeMutex_);
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

void PtyPeer::setOnReceive(std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    onReceive_ = std::move(callback);
}

void PtyPeer::respond(std::string trigger, std::string reply) {
    std::lock_guard lock(mutex_);
    responses_.push_back({std::move(trigger), 0, std::move(reply)});
}

void PtyPeer::respondAfter(size_t count, std::string reply) {
    std::lock_guard lock(mutex_);
    responses_.push_back({"", count, std::move(reply)});
}

std::optional<PtyPeer::TimePoint> PtyPeer::lastReplyAt() const {
    std::lock_guard lock(mutex_);
    return lastReplyAt_;
}

std::string PtyPeer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

size_t PtyPeer::receivedCount() const {
    std::lock_guard lock(mutex_);
    return received_.size();
}

size_t PtyPeer::receivedAfter(TimePoint when) const {
    std::lock_guard lock(mutex_);
    return size_t(
        std::count_if(arrivals_.begin(), arrivals_.end(), [&](TimePoint t) { return t > when; }));
}

bool PtyPeer::waitFor(const std::function<bool(const std::string&)>& done,
                      std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(received_); });
}

bool PtyPeer::waitForCount(size_t count, std::chrono::milliseconds timeout) const {
    return waitFor([count](const std::string& r) { return r.size() >= count; }, timeout);
}

}  // namespace zantor::testing
