#include "nctools/nc_file_info.h"

#include <cstdio>

namespace zantor {

namespace {

std::string oneDecimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%5.1f", value);
    return text;
}

std::string withoutFolder(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

NcFileInfo ncFileInfo(const editor::TextDocument& document) {
    NcFileInfo info;
    info.fileName = withoutFolder(document.FileName());
    info.lines = document.LineCount();
    info.characters = document.ByteCount();
    info.feet = double(info.characters) / 120.0;
    info.meters = info.feet * 0.3;
    info.modified = document.Modified();
    return info;
}

std::vector<std::pair<std::string, std::string>> ncFileInfoRows(const NcFileInfo& info) {
    return {{"File Name: ", info.fileName},
            {"Lines:", std::to_string(info.lines)},
            {"Characters:", std::to_string(info.characters)},
            {"Feet:", oneDecimal(info.feet)},
            {"Meters:", oneDecimal(info.meters)},
            {"Modified:", info.modified ? "Yes" : "No"}};
}

}  // namespace zantor
