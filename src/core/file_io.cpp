#include "core/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
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

std::function<void(AtomicWriteStep)>& atomicWriteHook() {
    static std::function<void(AtomicWriteStep)> hook;
    return hook;
}

void reach(AtomicWriteStep step) {
    if (atomicWriteHook()) atomicWriteHook()(step);
}

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        reach(AtomicWriteStep::Write);
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

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Temporary files are named "<target>.zantor-<pid>-<random>", so that one
// whose process has died can be told from one still being written.
constexpr const char* kTemporaryMark = ".zantor-";

std::string temporaryName(const std::string& target) {
    static std::mt19937 generator{std::random_device{}()};
    char tail[40];
    std::snprintf(tail, sizeof tail, "%s%ld-%08x", kTemporaryMark, long(::getpid()),
                  unsigned(generator()));
    return target + tail;
}

bool processAlive(long pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

// Removes the temporary files that killed writers of `target` left behind.
void removeStaleTemporaries(const std::string& target) {
    const std::string folder = folderOf(target);
    const std::string prefix = target.substr(target.find_last_of('/') + 1) + kTemporaryMark;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, prefix.size()) != prefix) continue;
        const std::string rest(name.substr(prefix.size()));
        char* end = nullptr;
        const long pid = std::strtol(rest.c_str(), &end, 10);
        if (end == rest.c_str() || *end != '-' || processAlive(pid)) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void setAtomicWriteHook(std::function<void(AtomicWriteStep)> hook) {
    atomicWriteHook() = std::move(hook);
}

FileError::FileError(std::string path, int errorNumber)
    : FileError(std::move(path), errorNumber, systemErrorText(errorNumber)) {}

FileError::FileError(std::string path, int errorNumber, const std::string& text)
    : std::runtime_error(text), path_(std::move(path)), errorNumber_(errorNumber) {}

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
    if (!S_ISREG(st.st_mode)) throw FileError(path, EINVAL, kNotARegularFile);
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
    : path_(path), target_(resolveTarget(path)), bufferSize_(bufferSize) {
    removeStaleTemporaries(target_);
    struct stat st {};
    const mode_t mode =
        ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    reach(AtomicWriteStep::Create);
    // An unnamed file needs /proc to be given its name at the end.
    int raw = ::access("/proc/self/fd", X_OK) == 0
                  ? ::open(folderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)
                  : (errno = EOPNOTSUPP, -1);
    if (raw < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        temp_ = temporaryName(target_);
        raw = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (raw < 0) {
            const int error = errno;
            temp_.clear();
            throw FileError(path_, error);
        }
    }
    if (raw < 0) throw FileError(path_, errno);
    FileDescriptor fd(raw);
    if (::fchmod(fd.get(), mode) != 0) {
        const int error = errno;
        if (!temp_.empty()) ::unlink(temp_.c_str());
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

void AtomicFileWriter::nameTemporary() {
    if (!temp_.empty()) return;  // named from the start
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (;;) {
        std::string name = temporaryName(target_);
        reach(AtomicWriteStep::Name);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = std::move(name);
            return;
        }
        if (errno != EEXIST) throw FileError(path_, errno);
    }
}

void AtomicFileWriter::commit(const std::function<void()>& beforeReplace) {
    flushBuffer();
    reach(AtomicWriteStep::Sync);
    if (::fsync(fd_) != 0) throw FileError(path_, errno);
    nameTemporary();
    reach(AtomicWriteStep::Close);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) throw FileError(path_, errno);
    if (beforeReplace) beforeReplace();
    reach(AtomicWriteStep::Replace);
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

namespace zantor {

void copyFileAtomically(const std::string& source, const std::string& target) {
    ReadableFile in(source);
    AtomicFileWriter out(target);
    std::string buffer(65536, '\0');
    while (const size_t n = in.read(buffer.data(), buffer.size()))
        out.write(std::string_view(buffer.data(), n));
    out.commit();
}

}  // namespace zantor
