#include "dnc/port/received_file.h"

#include <filesystem>
#include <vector>

namespace zantor {

namespace fs = std::filesystem;

std::optional<std::string> batchFilePath(const std::string& target, std::string_view sentName,
                                         bool first) {
    std::error_code error;
    const bool targetIsFolder = fs::is_directory(target, error);
    if (first && !targetIsFolder) return target;
    const fs::path name = fs::path(std::string(sentName)).lexically_normal();
    if (name.empty() || name.is_absolute() || name.has_root_name() || name == ".") return {};
    for (const auto& part : name)
        if (part == "..") return {};
    const fs::path folder = targetIsFolder ? fs::path(target) : fs::path(target).parent_path();
    return (folder / name).string();
}

ReceivedFile::ReceivedFile(std::string path, long long resumeFrom)
    : path_(std::move(path)), writer_(path_) {
    if (resumeFrom <= 0) return;
    ReadableFile existing(path_);
    std::vector<char> buffer(65536);
    while (size_ < resumeFrom) {
        const size_t n = existing.read(
            buffer.data(), size_t(std::min<long long>(resumeFrom - size_, long(buffer.size()))));
        if (n == 0) break;
        writer_.write(std::string_view(buffer.data(), n));
        size_ += long(n);
    }
}

void ReceivedFile::write(std::string_view bytes) {
    writer_.write(bytes);
    size_ += long(bytes.size());
}

void ReceivedFile::keep() {
    writer_.commit();
}

}  // namespace zantor
