#include "dnc/simulator/pty_master_device.h"

#include <fcntl.h>

#include <cerrno>

#include "dnc/port/open_failure.h"

namespace zantor::sim {

std::optional<OpenFailure> PtyMasterDevice::open(const std::string& path, const LineSettings&) {
    UniqueFd fd(::fcntl(masterFd_, F_DUPFD_CLOEXEC, 0));
    if (!fd.valid()) return describeOpenFailure(path, errno);
    // The copy shares the master's file status: the port's reads and writes
    // must not block.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) | O_NONBLOCK);
    adopt(std::move(fd));
    return std::nullopt;
}

}  // namespace zantor::sim
