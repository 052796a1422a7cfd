#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "dnc/simulator/line_pacer.h"
#include "dnc/simulator/machine_simulator.h"
#include "dnc/simulator/wake_pipe.h"

namespace zantor::sim {

// The simulated control on the master of a pty, run by a thread of its own
// in real time. A pty has no line speed: the simulator takes bytes off it and
// puts them on it no faster than a line of `charactersPerSecond` would carry
// them (0: as fast as they come).
class PtySimulator : public MachineSimulator {
public:
    // The fd stays owned by the caller's PtyPair.
    PtySimulator(int masterFd, MachineProfile profile, int charactersPerSecond);
    ~PtySimulator() override;

    // Stops the thread (before the master is closed).
    void stop();
    // Waits until `done` holds; false when `timeout` passed first.
    bool waitFor(const std::function<bool(const MachineSimulator&)>& done,
                 std::chrono::milliseconds timeout) const;

protected:
    void lineWrite(std::string_view bytes) override;
    void schedule(Duration delay, std::function<void()> callback) override;
    Duration characterTime() const override;
    void changed() override;

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    void run();

    int fd_;
    int rate_;
    WakePipe wake_;
    LinePacer pacer_;
    std::multimap<TimePoint, std::function<void()>> timers_;  // guarded by mutex_
    // While the thread runs a timer: when that timer was due.
    bool runningTimer_ = false;
    TimePoint runningDue_;
    mutable std::mutex waitMutex_;
    mutable std::condition_variable changed_;
    unsigned long version_ = 0;
    std::thread thread_;
};

}  // namespace zantor::sim
