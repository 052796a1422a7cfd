#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zantor {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, errno);
        }
        bytes.remove_prefix(size_t(n));
    }
}

// Follows a symbolic link so that the rename replaces the file, not the link.
std::string resolveTarget(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string out(real);
    std::free(real);
    return out;
}

}  // namespace

FileError::FileError(std::string path, int errorNumber)
    : std::runtime_error(systemErrorText(errorNumber)),
      path_(std::move(path)),
      errorNumber_(errorNumber) {}

std::string systemErrorText(int errorNumber) {
    return std::strerror(errorNumber);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readFileBytes(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw FileError(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw FileError(path, errno);
    if (S_ISDIR(st.st_mode)) throw FileError(path, EISDIR);
    std::string bytes;
    bytes.reserve(size_t(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, errno);
        }
        if (n == 0) break;
        bytes.append(buffer, size_t(n));
    }
    return bytes;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = resolveTarget(path);
    std::string temp = target + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) throw FileError(path, errno);
    try {
        struct stat st {};
        const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0666 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return mask;
        }();
        if (::fchmod(fd.get(), mode) != 0) throw FileError(path, errno);
        writeAll(fd.get(), bytes, path);
        if (::fsync(fd.get()) != 0) throw FileError(path, errno);
        if (::close(fd.release()) != 0) throw FileError(path, errno);
        if (::rename(temp.c_str(), target.c_str()) != 0) throw FileError(path, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

void appendToFile(const std::string& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (fd.get() < 0) throw FileError(path, errno);
    writeAll(fd.get(), bytes, path);
    if (::close(fd.release()) != 0) throw FileError(path, errno);
}

}  // namespace zantor
