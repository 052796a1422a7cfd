#include "users/activity_log.h"

#include <cstdio>

#include "core/file_io.h"

namespace zantor {

std::string ActivityLog::formatLine(std::time_t when, const std::string& text) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%04d,%02d:%02d:%02d,", local.tm_mon + 1,
                  local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return stamp + text + "\n";
}

bool ActivityLog::WriteLog(const std::string& text) {
    if (!LoggingEnabled) return true;
    try {
        appendToFile(logFile_, formatLine(clock_(), text));
        lastError_.clear();
        return true;
    } catch (const FileError& error) {
        lastError_ = logFile_ + ": " + error.what();
        return false;
    }
}

}  // namespace zantor
