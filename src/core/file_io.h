#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zantor {

// A failed file operation; what() is the system's text for the error number,
// which is what the user is shown.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, int errorNumber);
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
// Appends to the file, creating it when missing. Throws FileError.
void appendToFile(const std::string& path, std::string_view bytes);

}  // namespace zantor
