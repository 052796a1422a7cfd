#include "dnc/simulator/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

namespace zantor::sim {

namespace {
constexpr char kNudge = 'n';
constexpr char kQuit = 'q';
}  // namespace

WakePipe::WakePipe() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) fds_[0] = fds_[1] = -1;
}

WakePipe::~WakePipe() {
    for (const int fd : fds_)
        if (fd >= 0) ::close(fd);
}

void WakePipe::nudge() {
    [[maybe_unused]] const ssize_t n = ::write(fds_[1], &kNudge, 1);
}

void WakePipe::quit() {
    [[maybe_unused]] const ssize_t n = ::write(fds_[1], &kQuit, 1);
}

bool WakePipe::drain() {
    bool quit = false;
    char bytes[64];
    ssize_t n;
    while ((n = ::read(fds_[0], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i) quit = quit || bytes[i] == kQuit;
    return quit;
}

}  // namespace zantor::sim
