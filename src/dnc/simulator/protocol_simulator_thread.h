#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "machines/mach_com_rec.h"

class QThread;

namespace zantor::sim {

// A ProtocolSimulator run by a thread of its own, so that it answers while
// the station's window waits on the same line in the user-interface thread.
class ProtocolSimulatorThread {
public:
    // The fd stays owned by the caller's PtyPair; received programs go to `folder`.
    ProtocolSimulatorThread(int masterFd, const MachComRec& machine, int charactersPerSecond,
                            std::string folder);
    ~ProtocolSimulatorThread();
    ProtocolSimulatorThread(const ProtocolSimulatorThread&) = delete;
    ProtocolSimulatorThread& operator=(const ProtocolSimulatorThread&) = delete;

    // ProtocolSimulator::punchNow, from any thread; returns once the
    // simulator has taken it (or has stopped), so that a receive started
    // next does not meet the simulator's own.
    void punchNow(std::string file);
    // What the simulator has told so far (see ProtocolSimulator::run).
    std::vector<std::string> news() const;
    // Ends what is under way (telling the far side) and the thread, before
    // the master is closed.
    void stop();

private:
    void run(int masterFd, const MachComRec& machine, int charactersPerSecond);

    std::string folder_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable punchTaken_;  // punchesTaken_ grew
    std::optional<std::string> punch_;    // guarded by mutex_
    unsigned long punchesAsked_ = 0;      // guarded by mutex_
    unsigned long punchesTaken_ = 0;      // guarded by mutex_
    std::vector<std::string> news_;       // guarded by mutex_
    std::unique_ptr<QThread> thread_;
};

}  // namespace zantor::sim
