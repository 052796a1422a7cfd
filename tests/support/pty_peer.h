#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "line_pacer.h"
#include "wake_pipe.h"

namespace zantor::testing {

// The far end of a pty pair, run by a thread of its own like a machine
// control: it records every byte with the time it arrived, and answers
// scripted triggers. All methods may be called from the test's thread.
class PtyPeer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Takes over the master side; the fd stays owned by the caller's PtyPair.
    explicit PtyPeer(int masterFd);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // Writes all of `bytes` to the line and returns the time it was done.
    TimePoint write(std::string_view bytes);
    // When what arrived ends with `trigger`, `reply` is written back once.
    void respond(std::string trigger, std::string reply);
    // When `count` bytes have arrived in all, `reply` is written back at once
    // by the peer's own thread, the way a control reacts to its buffer level.
    void respondAfter(size_t count, std::string reply);
    // When the last scripted reply was written; nullopt before the first.
    std::optional<TimePoint> lastReplyAt() const;
    // Takes bytes off the pty no faster than a serial line at this many
    // characters a second would deliver them (0: as fast as they come), so
    // that what a writer runs ahead of the line waits in the pty as it would
    // in a UART.
    void setLineRate(int charactersPerSecond) { lineRate_ = charactersPerSecond; }
    // Called from the peer's thread after each arrival (to wake the test's
    // event loop, for instance).
    void setOnReceive(std::function<void()> callback);
    // Stops the reader thread (before the master is closed).
    void stop();

    std::string received() const;
    size_t receivedCount() const;
    // Bytes whose arrival was after `when`.
    size_t receivedAfter(TimePoint when) const;
    // Waits until `done(received())` holds; false on timeout.
    bool waitFor(const std::function<bool(const std::string&)>& done,
                 std::chrono::milliseconds timeout) const;
    bool waitForCount(size_t count, std::chrono::milliseconds timeout) const;

private:
    void run();
    void writeLocked(std::string_view bytes);

    int fd_;
    std::atomic<int> lineRate_{0};
    LinePacer pacer_;  // the reader thread's own
    WakePipe wake_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::mutex writeMutex_;
    std::string received_;
    std::vector<TimePoint> arrivals_;
    struct Response {
        std::string trigger;  // empty: by count
        size_t count = 0;
        std::string reply;
    };
    std::vector<Response> responses_;
    std::optional<TimePoint> lastReplyAt_;
    std::function<void()> onReceive_;
    std::thread thread_;
};

}  // namespace zantor::testing
