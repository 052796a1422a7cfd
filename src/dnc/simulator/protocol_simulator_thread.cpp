#include "dnc/simulator/protocol_simulator_thread.h"

#include <QThread>

#include "dnc/simulator/protocol_simulator.h"

namespace zantor::sim {

namespace {
// How long the thread handles the line between looks at its requests.
constexpr std::chrono::milliseconds kSlice{20};
}  // namespace

ProtocolSimulatorThread::ProtocolSimulatorThread(int masterFd, const MachComRec& machine,
                                                 int charactersPerSecond, std::string folder)
    : folder_(std::move(folder)) {
    // The simulator's port, clock and timers belong to the thread that makes them.
    thread_.reset(QThread::create([this, masterFd, machine, charactersPerSecond] {
        run(masterFd, machine, charactersPerSecond);
    }));
    thread_->start();
}

ProtocolSimulatorThread::~ProtocolSimulatorThread() {
    stop();
}

void ProtocolSimulatorThread::run(int masterFd, const MachComRec& machine,
                                  int charactersPerSecond) {
    ProtocolSimulator control(masterFd, machine, charactersPerSecond, folder_);
    while (!stopping_) {
        std::optional<std::string> punch;
        unsigned long asked = 0;
        {
            const std::lock_guard lock(mutex_);
            punch.swap(punch_);
            asked = punchesAsked_;
        }
        if (punch) {
            control.punchNow(std::move(*punch));
            {
                const std::lock_guard lock(mutex_);
                punchesTaken_ = asked;
            }
            punchTaken_.notify_all();
        }
        std::vector<std::string> told = control.run(kSlice);
        const std::lock_guard lock(mutex_);
        news_.insert(news_.end(), told.begin(), told.end());
    }
    control.stop();
    punchTaken_.notify_all();
}

void ProtocolSimulatorThread::punchNow(std::string file) {
    std::unique_lock lock(mutex_);
    punch_ = std::move(file);
    const unsigned long ticket = ++punchesAsked_;
    punchTaken_.wait_for(lock, std::chrono::seconds(2),
                         [&] { return punchesTaken_ >= ticket || stopping_; });
}

std::vector<std::string> ProtocolSimulatorThread::news() const {
    const std::lock_guard lock(mutex_);
    return news_;
}

void ProtocolSimulatorThread::stop() {
    if (!thread_) return;
    stopping_ = true;
    thread_->wait();
    thread_.reset();
}

}  // namespace zantor::sim
