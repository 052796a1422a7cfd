// A relay for the middle of a serial line in tests: copies its standard
// input to its standard output as it comes, except that it inverts the
// bytes at the offsets given after "flip" and leaves out those after "drop".
// It ends when its input ends or when its output's reader has gone.
// Usage: line_damager [flip N]... [drop N]...
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>

int main(int argc, char** argv) {
    std::set<long long> flips, drops;
    for (int i = 1; i + 1 < argc; i += 2)
        (std::strcmp(argv[i], "drop") == 0 ? drops : flips).insert(std::atoll(argv[i + 1]));
    unsigned char buffer[65536], out[65536];
    long long offset = 0;
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {STDOUT_FILENO, 0, 0}};
        if (::poll(fds, 2, -1) < 0) return 1;
        if (fds[1].revents & (POLLERR | POLLHUP)) return 0;
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) return 0;
        size_t kept = 0;
        for (ssize_t i = 0; i < n; ++i, ++offset) {
            if (drops.count(offset)) continue;
            out[kept++] = flips.count(offset) ? static_cast<unsigned char>(~buffer[i]) : buffer[i];
        }
        for (size_t done = 0; done < kept;) {
            const ssize_t w = ::write(STDOUT_FILENO, out + done, kept - done);
            if (w <= 0) return 1;
            done += size_t(w);
        }
    }
}
