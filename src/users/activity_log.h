#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace zantor {

inline constexpr const char* kActivityLogFileName = "ZTRDNC.LOG";

// The activity log: one line per event, "mm/dd/yyyy,hh:mm:ss,text". The file
// is opened, appended and closed for every line, so another program can read
// it at any time and a crash loses nothing already written.
class ActivityLog {
public:
    using Clock = std::function<std::time_t()>;

    explicit ActivityLog(
        std::string logFile, Clock clock = [] { return std::time(nullptr); })
        : logFile_(std::move(logFile)), clock_(std::move(clock)) {}

    const std::string& logFile() const { return logFile_; }
    bool LoggingEnabled = false;

    // False when logging is on and the line could not be written; the reason
    // is then in lastError().
    bool WriteLog(const std::string& text);
    const std::string& lastError() const { return lastError_; }

    static std::string formatLine(std::time_t when, const std::string& text);

private:
    std::string logFile_;
    Clock clock_;
    std::string lastError_;
};

}  // namespace zantor
