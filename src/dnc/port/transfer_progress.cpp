#include "dnc/port/transfer_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dnc/port/transfer_codes.h"

namespace zantor {

double TransferProgress::throughput() const {
    const double s = seconds();
    return s > 0 ? double(bytesTransferred) / s : 0;
}

double TransferProgress::fraction() const {
    if (fileSize <= 0) return fileSize == 0 ? 1 : 0;
    return std::min(1.0, double(bytesTransferred) / double(fileSize));
}

double TransferProgress::secondsLeft() const {
    if (fileSize < 0) return -1;
    const double rate = bytesTransferred > 0 && throughput() > 0 ? throughput()
                                                                  : lineCharactersPerSecond;
    if (rate <= 0) return -1;
    return double(std::max(0LL, fileSize - bytesTransferred)) / rate;
}

std::string minutesSeconds(double seconds) {
    const long long whole = std::llround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

std::vector<std::pair<std::string, std::string>> progressLines(const TransferProgress& p) {
    const bool sized = p.fileSize >= 0;
    const auto number = [](long long n) { return std::to_string(n); };
    const auto blocks = [&](long long bytes) { return (bytes + p.blockSize - 1) / p.blockSize; };
    const std::string unknown;
    char throughput[32], efficiency[32];
    std::snprintf(throughput, sizeof throughput, "%5.0f CPS", p.throughput());
    const double percent =
        p.lineCharactersPerSecond > 0 ? 100.0 * p.throughput() / p.lineCharactersPerSecond : 0;
    std::snprintf(efficiency, sizeof efficiency, "%3.0f%%", percent);
    const double left = p.secondsLeft();
    return {
        {"Protocol:", protocolName(p.protocol)},
        {"Block check:", p.blockCheck == bcmNone ? "None" : unknown},
        {"File name:", p.fileName},
        {"File size:", sized ? number(p.fileSize) : unknown},
        {"Block size:", number(p.blockSize)},
        {"Total Blocks:", sized ? number(blocks(p.fileSize)) : unknown},
        {"Bytes transferred:", number(p.bytesTransferred)},
        {"Bytes remaining:", sized ? number(std::max(0LL, p.fileSize - p.bytesTransferred))
                                   : unknown},
        {"Blocks transferred:", number(p.bytesTransferred / p.blockSize)},
        {"Blocks remaining:",
         sized ? number(std::max(0LL, blocks(p.fileSize) - p.bytesTransferred / p.blockSize))
               : unknown},
        {"Block errors:", number(p.blockErrors)},
        {"Total errors:", number(p.totalErrors)},
        {"Estimated time:", sized && p.lineCharactersPerSecond > 0
                                ? minutesSeconds(double(p.fileSize) / p.lineCharactersPerSecond)
                                : unknown},
        {"Elapsed time:", minutesSeconds(p.seconds())},
        {"Remaining time:", left >= 0 ? minutesSeconds(left) : unknown},
        {"Throughput:", throughput},
        {"Efficiency:", efficiency},
        {"Kermit windows:", number(p.kermitWindows)},
        {"Status:", p.statusText},
    };
}

}  // namespace zantor
