#include "compare/file_info.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace zantor::compare {

std::string FormatReportTime(std::time_t time) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (!localtime_r(&time, &local)) return {};
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d-%s-%04d %02d:%02d:%02d", local.tm_mday,
                  months[local.tm_mon], local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec);
    return buffer;
}

std::string WithThousands(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), ",");
    return value < 0 ? "-" + digits : digits;
}

std::string TFileInfo::Description() const {
    if (!found) return {};
    std::string date = FormatReportTime(modified);
    if (date.empty()) date = "BAD FILE DATE";
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, "%12s  Size: %6s  Date: %s  %s", fileName.c_str(),
                  WithThousands(size).c_str(), date.c_str(), attributes.c_str());
    return buffer;
}

TFileInfo ReadFileInfo(const std::string& path) {
    TFileInfo info;
    info.fullName = path;
    const size_t slash = path.rfind('/');
    info.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    info.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return info;
    info.found = true;
    info.modified = st.st_mtim.tv_sec;
    info.modifiedNanoseconds = st.st_mtim.tv_nsec;
    info.size = (long long)(st.st_size);
    if (::access(path.c_str(), W_OK) != 0) info.attributes[0] = 'R';
    if (!info.fileName.empty() && info.fileName.front() == '.') info.attributes[3] = 'H';
    return info;
}

}  // namespace zantor::compare
