#include "dnc/remote_request.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/folders.h"
#include "core/text_util.h"
#include "machines/machine_settings.h"

namespace zantor {

namespace fs = std::filesystem;

namespace {

bool isBlankOrControl(char c) {
    return uint8_t(c) <= ' ' || c == 0x7F;
}

bool hasDotDotPart(std::string_view text) {
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find_first_of("/\\", from);
        if (end == std::string_view::npos) end = text.size();
        if (text.substr(from, end - from) == "..") return true;
        from = end + 1;
    }
    return false;
}

bool isAbsoluteText(std::string_view text) {
    return !text.empty() && (text[0] == '/' || text[0] == '\\' ||
                             (text.size() > 1 && text[1] == ':'));
}

// `folderText` made a path: absolute as the folder rule reads it, or below `base`.
std::string resolveFolder(const std::string& folderText, const std::string& base) {
    if (isAbsoluteText(folderText)) return folderTextToPath(folderText);
    std::string relative = folderText;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return withTrailingSeparator(base) + relative;
}

bool liesInside(const std::string& path, const std::string& folder) {
    std::error_code error;
    const fs::path p = fs::weakly_canonical(path, error);
    if (error) return false;
    const fs::path f = fs::weakly_canonical(folder, error);
    if (error) return false;
    auto pi = p.begin();
    for (auto fi = f.begin(); fi != f.end(); ++fi, ++pi) {
        if (fi->empty()) continue;  // the trailing separator of a folder
        if (pi == p.end() || *pi != *fi) return false;
    }
    return true;
}

std::string stripTrailingSeparators(std::string text) {
    while (text.size() > 1 && (text.back() == '\\' || text.back() == '/')) text.pop_back();
    return text;
}

}  // namespace

std::string requestTextFromLine(std::string_view bytes, TapeCode code, bool parityAdded) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (code == TapeCode::Eia) {
            text += b == 0x80 ? '\r' : char(decodeEia(b));
        } else if (code == TapeCode::Ascii && parityAdded) {
            text += char(b & 0x7F);
        } else {
            text += c;
        }
    }
    return text;
}

std::string requestArgument(std::string_view collected) {
    size_t begin = 0, end = collected.size();
    while (begin < end && isBlankOrControl(collected[begin])) ++begin;
    while (end > begin && isBlankOrControl(collected[end - 1])) --end;
    return std::string(collected.substr(begin, end - begin));
}

RemoteTarget remoteTargetPath(const MachineFormat& machine, const std::string& remotePath,
                              RemoteRequest request, const std::string& argument) {
    const std::string base =
        folderTextToPath(request == RemoteRequest::Receive ? machine.UploadFolder
                                                           : machine.DownloadFolder);
    const std::string folder =
        remotePath.empty() ? base : resolveFolder(stripTrailingSeparators(remotePath), base);
    RemoteTarget target;
    target.path = withTrailingSeparator(folder) + argument;
    // A file name of its own that has no "." gets the default extension; a
    // "." in the folder does not count.
    if (request != RemoteRequest::Directory && argument.find('.') == std::string::npos)
        target.path += "." + machine.DefaultExt;
    target.refused = argument.empty() || argument == "." || argument == ".." ||
                     argument.find_first_of("/\\") != std::string::npos ||
                     !(liesInside(folder, folderTextToPath(machine.DownloadFolder)) ||
                       liesInside(folder, folderTextToPath(machine.UploadFolder)));
    return target;
}

bool remotePathAccepted(const MachineFormat& machine, const std::string& argument) {
    if (argument.empty() || hasDotDotPart(argument)) return false;
    const std::string download = folderTextToPath(machine.DownloadFolder);
    const std::string upload = folderTextToPath(machine.UploadFolder);
    for (const std::string& base : {download, upload}) {
        const std::string folder = resolveFolder(stripTrailingSeparators(argument), base);
        std::error_code error;
        if (fs::is_directory(folder, error) &&
            (liesInside(folder, download) || liesInside(folder, upload)))
            return true;
    }
    return false;
}

bool maskMatches(std::string_view mask, std::string_view name) {
    // Iterative wildcard match: the last "*" absorbs what did not fit.
    size_t m = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || asciiUpper(mask[m]) == asciiUpper(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            star = m++;
            resume = n;
        } else if (star != std::string_view::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::vector<DirectoryEntry> matchingEntries(const std::string& folder, const std::string& mask) {
    std::vector<DirectoryEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!maskMatches(mask, name)) continue;
        std::error_code sizeError;
        const bool regular = it->is_regular_file(sizeError);
        const uint64_t size = regular ? it->file_size(sizeError) : 0;
        entries.push_back({name, sizeError ? 0 : size});
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
}

std::vector<std::string> directoryListingLines(const std::vector<DirectoryEntry>& entries,
                                               const std::string& commentStart,
                                               const std::string& commentEnd) {
    std::vector<std::string> lines = {"\r\n", "%\r\n", "O7000\r\n"};
    for (const DirectoryEntry& e : entries)
        lines.push_back(commentStart + e.name + "   " + std::to_string(e.size) + " Chrs" +
                        commentEnd + "\r\n");
    if (entries.empty()) lines.push_back(commentStart + "No Files Found?" + commentEnd + "\r\n");
    lines.push_back("M30\r\n");
    lines.push_back("%\r\n");
    return lines;
}

}  // namespace zantor
