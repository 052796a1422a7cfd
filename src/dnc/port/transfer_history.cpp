#include "dnc/port/transfer_history.h"

#include <cmath>
#include <cstdio>

#include "core/file_io.h"
#include "core/ticks.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

namespace {
const char* direction(bool receiving) {
    return receiving ? " receive " : " transmit ";
}
}  // namespace

std::string TransferHistory::stamp(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mon + 1,
                  local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string TransferHistory::figures(long long elapsedTicks, long long bytes) {
    const long long seconds = elapsedTicks * kTicksPerSecondDenominator / kTicksPerSecondNumerator;
    const long long cps =
        elapsedTicks <= 17
            ? bytes
            : std::llround(double(bytes) * kTicksPerSecondNumerator /
                           (double(elapsedTicks) * kTicksPerSecondDenominator));
    char text[128];
    std::snprintf(text, sizeof text, "   Elapsed time: %lld:%02lld   CPS: %lld   Size: %lld",
                  seconds / 60, seconds % 60, cps, bytes);
    return text;
}

void TransferHistory::started(TProtocolType type, bool receiving, const std::string& file) {
    append(protocolName(type) + direction(receiving) + "started on  " + stamp(wallClock()) +
           " : " + file + "\r\n");
}

void TransferHistory::finishedOk(TProtocolType type, bool receiving, const std::string& file,
                                 long long elapsedTicks, long long bytes) {
    append(protocolName(type) + direction(receiving) + "finished OK " + stamp(wallClock()) +
           " : " + file + "\r\n" + figures(elapsedTicks, bytes) + "\r\n\r\n");
}

void TransferHistory::failed(TProtocolType type, bool receiving, const std::string& file,
                             const std::string& status) {
    append(protocolName(type) + (receiving ? " receive failed " : " transmit failed ") + file +
           " " + status + "\r\n\r\n");
}

void TransferHistory::skipped(TProtocolType type, bool receiving, const std::string& file,
                              const std::string& status) {
    append(protocolName(type) + (receiving ? " receive skipped " : " transmit skipped ") + file +
           " " + status + "\r\n\r\n");
}

void TransferHistory::append(const std::string& text) {
    if (HistoryName.empty()) return;
    try {
        appendToFile(HistoryName, text);
        lastError_.clear();
    } catch (const FileError& error) {
        lastError_ = HistoryName + ": " + error.what();
    }
}

}  // namespace zantor
