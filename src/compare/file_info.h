#pragma once

#include <ctime>
#include <string>

namespace zantor::compare {

// The facts about one compared file that the reports show.
struct TFileInfo {
    std::string fileName;  // without folder
    std::string folder;    // with its trailing "/"
    std::string fullName;
    bool found = false;
    std::time_t modified = 0;
    long long modifiedNanoseconds = 0;  // within the second, to order files saved close together
    long long size = 0;
    std::string attributes = "----";  // R read-only, A archive, S system, H hidden

    // "%12s  Size: %6s  Date: %s  %s"; empty when the file was not found.
    std::string Description() const;
};

TFileInfo ReadFileInfo(const std::string& path);

// "dd-MMM-yyyy hh:mm:ss" in local time, with English month names as the
// reports have always shown them.
std::string FormatReportTime(std::time_t time);

// 1234567 as "1,234,567".
std::string WithThousands(long long value);

}  // namespace zantor::compare
