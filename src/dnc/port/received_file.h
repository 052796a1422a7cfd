#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/file_io.h"

namespace zantor {

// Where a file of a batch receive goes. `target` is FileName: the first
// file is stored under it unless it is a folder; later files, and the first
// when `target` is a folder, go into that folder under the name the sender
// gave. A sent name that is empty, absolute or climbs out of the folder
// ("..") gives nothing: the file is refused.
std::optional<std::string> batchFilePath(const std::string& target, std::string_view sentName,
                                         bool first);

// A file being received: written beside its place and put there only when
// kept, so that a failed receive leaves an existing file as it was.
class ReceivedFile {
public:
    // Throws FileError. With `resumeFrom` the first that many bytes of the
    // existing file are taken over (a resumed receive).
    explicit ReceivedFile(std::string path, long long resumeFrom = 0);

    const std::string& path() const { return path_; }
    long long size() const { return size_; }
    // Throws FileError.
    void write(std::string_view bytes);
    // Puts the file in its place. Throws FileError.
    void keep();

private:
    std::string path_;
    AtomicFileWriter writer_;
    long long size_ = 0;
};

}  // namespace zantor
