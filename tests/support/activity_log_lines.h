#pragma once

#include <string>
#include <vector>

#include "core/file_io.h"

namespace zantor::testing {

// The lines of an activity log without their date and time ("12/11/2026,02:24:10,"),
// none when there is no log.
inline std::vector<std::string> activityLogLines(const std::string& path) {
    std::vector<std::string> lines;
    if (!fileExists(path)) return lines;
    const std::string text = readFileBytes(path);
    constexpr size_t kStamp = 20;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (end - at >= kStamp) lines.push_back(text.substr(at + kStamp, end - at - kStamp));
        at = end + 1;
    }
    return lines;
}

}  // namespace zantor::testing
