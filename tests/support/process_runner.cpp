#include "process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace zantor::testing {

namespace {
void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}
}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input,
                         const std::function<void(pid_t)>& started) {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC))
        throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    if (started) started(pid);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    ::signal(SIGPIPE, SIG_IGN);
    ProcessResult result;
    size_t written = 0;
    int inFd = in[1], outFd = out[0], errFd = err[0];
    if (input.empty()) closeFd(inFd);
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            int& fd = i == 0 ? outFd : errFd;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                closeFd(fd);
            else
                (i == 0 ? result.out : result.err).append(buffer, size_t(n));
        }
        if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(inFd, input.data() + written, input.size() - written);
            if (n > 0) written += size_t(n);
            if (n < 0 || written == input.size()) closeFd(inFd);
        }
    }
    // Closed before the wait, so a child still writing ends instead of blocking on a full pipe.
    closeFd(inFd);
    closeFd(outFd);
    closeFd(errFd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace zantor::testing
