#include "dnc/terminal/terminal_capture.h"

#include <cerrno>

#include "core/file_io.h"

namespace zantor {

std::string TerminalCapture::start(const std::string& path) {
    stop();
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return path + ": " + systemErrorText(errno);
    file_.reset(f);
    path_ = path;
    return {};
}

void TerminalCapture::stop() {
    file_.reset();
}

std::string TerminalCapture::write(std::string_view bytes) {
    if (!file_ || bytes.empty()) return {};
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size() &&
                         std::fflush(file_.get()) == 0;
    if (written) return {};
    const int error = errno ? errno : EIO;
    stop();
    return path_ + ": " + systemErrorText(error);
}

}  // namespace zantor
