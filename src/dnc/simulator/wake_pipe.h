#pragma once

namespace zantor::sim {

// Wakes a thread that waits in poll() on fd(), from any other thread:
// nudge() to make it look again, quit() to make it end.
class WakePipe {
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    int fd() const { return fds_[0]; }
    void nudge();
    void quit();
    // Takes what was written; true when quit() was among it.
    bool drain();

private:
    int fds_[2] = {-1, -1};
};

}  // namespace zantor::sim
