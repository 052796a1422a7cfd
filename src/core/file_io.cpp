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
    ReadableFile file(path);
    std::string bytes;
    bytes.reserve(size_t(file.size()));
    char buffer[65536];
    while (const size_t n = file.read(buffer, sizeof buffer)) bytes.append(buffer, n);
    return bytes;
}

ReadableFile::ReadableFile(const std::string& path) : path_(path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) throw FileError(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw FileError(path, errno);
    if (S_ISDIR(st.st_mode)) throw FileError(path, EISDIR);
    if (!S_ISREG(st.st_mode)) throw FileError(path, EINVAL);
    size_ = st.st_size;
    fd_ = fd.release();
}

ReadableFile::~ReadableFile() {
    if (fd_ >= 0) ::close(fd_);
}

size_t ReadableFile::readAt(long long offset, char* buffer, size_t length) const {
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd_, buffer + done, length - done, off_t(offset + long(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(path_, errno);
        }
        if (n == 0) break;
        done += size_t(n);
    }
    return done;
}

size_t ReadableFile::read(char* buffer, size_t length) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, length);
        if (n >= 0) return size_t(n);
        if (errno != EINTR) throw FileError(path_, errno);
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path, 0);
    writer.write(bytes);
    writer.commit();
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, size_t bufferSize)
    : path_(path),
      target_(resolveTarget(path)),
      temp_(target_ + ".XXXXXX"),
      bufferSize_(bufferSize) {
    FileDescriptor fd(::mkostemp(temp_.data(), O_CLOEXEC));
    if (fd.get() < 0) throw FileError(path_, errno);
    struct stat st {};
    const mode_t mode = ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    if (::fchmod(fd.get(), mode) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        throw FileError(path_, error);
    }
    buffer_.reserve(bufferSize_);
    fd_ = fd.release();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() <= bufferSize_) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() >= bufferSize_)
        writeAll(fd_, bytes, path_);
    else
        buffer_.append(bytes);
}

void AtomicFileWriter::flushBuffer() {
    writeAll(fd_, buffer_, path_);
    buffer_.clear();
}

void AtomicFileWriter::commit(const std::function<void()>& beforeReplace) {
    flushBuffer();
    if (::fsync(fd_) != 0) throw FileError(path_, errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) throw FileError(path_, errno);
    if (beforeReplace) beforeReplace();
    if (::rename(temp_.c_str(), target_.c_str()) != 0) throw FileError(path_, errno);
    temp_.clear();
}

void appendToFile(const std::string& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (fd.get() < 0) throw FileError(path, errno);
    writeAll(fd.get(), bytes, path);
    if (::close(fd.release()) != 0) throw FileError(path, errno);
}

}  // namespace zantor
