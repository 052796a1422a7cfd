#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zantor {

// A failed file operation; what() is the system's text for the error number,
// which is what the user is shown.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, int errorNumber);
    // A failure the error number alone would describe badly.
    FileError(std::string path, int errorNumber, const std::string& text);
    const std::string& path() const { return path_; }
    int errorNumber() const { return errorNumber_; }

private:
    std::string path_;
    int errorNumber_;
};

std::string systemErrorText(int errorNumber);

bool fileExists(const std::string& path);
// The whole file; throws FileError when it cannot be read.
std::string readFileBytes(const std::string& path);
// Writes a temporary file beside the target, flushes it to the disk and renames
// it into place, so that a crash or a full disk never leaves a half-written
// file: the target holds either its old or its new contents. The target's
// permissions are kept. Throws FileError.
void writeFileAtomically(const std::string& path, std::string_view bytes);

inline constexpr const char* kNotARegularFile =
    "Not a regular file (a pipe, a device or a socket); only files can be read";

// A regular file open for reading, closed with the object. Opening never
// waits: a pipe or a device is refused (kNotARegularFile), a folder gives
// "Is a directory". Throws FileError.
class ReadableFile {
public:
    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    long long size() const { return size_; }
    const std::string& path() const { return path_; }
    // Up to `length` bytes from `offset`; fewer only at the end. Throws FileError.
    size_t readAt(long long offset, char* buffer, size_t length) const;
    // The next bytes in order; 0 at the end. Throws FileError.
    size_t read(char* buffer, size_t length);

private:
    std::string path_;
    int fd_ = -1;
    long long size_ = 0;
};

// The streaming form of writeFileAtomically, for files too big to build in
// memory first: bytes go to a temporary file beside the target through a
// buffer, and commit() renames it into place. Until then, and whenever
// anything fails, the target is untouched; a writer destroyed without a
// commit removes its temporary file. Throws FileError.
//
// The temporary file has no name while it is written (O_TMPFILE), so a
// process killed then leaves nothing behind. It gets a name just before the
// rename; one left by a process killed in that moment is removed by the next
// write of the same file. File systems without O_TMPFILE get a named file
// from the start, cleaned up the same way.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path, size_t bufferSize = 65536);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // Flushes to the disk, runs beforeReplace (the old file is still in place
    // there, e.g. for keeping a backup of it) and renames into place.
    void commit(const std::function<void()>& beforeReplace = {});

private:
    void flushBuffer();
    void nameTemporary();

    std::string path_;  // as given, for error reports
    std::string target_;
    std::string temp_;  // empty while the temporary file has no name
    int fd_ = -1;
    std::string buffer_;
    size_t bufferSize_;
};
// The system calls of an atomic write, in their order. A test stops the
// process at one of them, as a kill at that moment would.
enum class AtomicWriteStep { Create, Write, Sync, Name, Close, Replace };
void setAtomicWriteHook(std::function<void(AtomicWriteStep)> hook);

// Appends to the file, creating it when missing. Throws FileError.
void appendToFile(const std::string& path, std::string_view bytes);

}  // namespace zantor

namespace zantor {

// Copies a file's bytes to `target` by an atomic write: the target holds
// either its old bytes or all of the new ones. Throws FileError.
void copyFileAtomically(const std::string& source, const std::string& target);

}  // namespace zantor
