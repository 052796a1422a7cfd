#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "dnc/port/transfer_settings.h"

namespace zantor {

inline constexpr const char* kHistoryFileName = "ztrprot.txt";

// The transfer history: one entry per event, appended to HistoryName (the
// file is created when missing). Lines end with CR LF. A history that cannot
// be written never stops a transfer; lastError() says why.
class TransferHistory {
public:
    using WallClock = std::function<std::time_t()>;

    std::string HistoryName;  // empty: no history
    TDeleteFailed DeleteFailed = dfNonRecoverable;
    WallClock wallClock = [] { return std::time(nullptr); };

    void started(TProtocolType type, bool receiving, const std::string& file);
    // `elapsedTicks` of 55 ms; `bytes` moved.
    void finishedOk(TProtocolType type, bool receiving, const std::string& file,
                    long long elapsedTicks, long long bytes);
    void failed(TProtocolType type, bool receiving, const std::string& file,
                const std::string& status);
    void skipped(TProtocolType type, bool receiving, const std::string& file,
                 const std::string& status);

    const std::string& lastError() const { return lastError_; }

    // "mm/dd/yyyy hh:mm:ss" in local time.
    static std::string stamp(std::time_t when);
    // "   Elapsed time: 1:05   CPS: 960   Size: 62400".
    static std::string figures(long long elapsedTicks, long long bytes);

private:
    void append(const std::string& text);
    std::string lastError_;
};

}  // namespace zantor
