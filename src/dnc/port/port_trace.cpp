#include "dnc/port/port_trace.h"

#include <string>

namespace zantor {

bool PortTrace::setTracing(bool on) {
    if (trace_.is_open()) trace_.close();
    if (on) trace_.open(folder_ + TraceName, std::ios::binary | std::ios::app);
    return trace_.is_open() == on;
}

bool PortTrace::setLogging(bool on) {
    if (log_.is_open()) log_.close();
    logWritten_ = 0;
    if (on) log_.open(folder_ + LogName, std::ios::binary | std::ios::trunc);
    return log_.is_open() == on;
}

void PortTrace::record(Direction direction, long long milliseconds, const uint8_t* bytes,
                       size_t count) {
    if (count == 0) return;
    if (trace_.is_open()) {
        // The line is built whole and written at once: this runs for every
        // chunk of traffic while tracing is on.
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string line = std::to_string(milliseconds);
        line += direction == Direction::Sent ? " TX" : " RX";
        line.reserve(line.size() + count * 3 + 1);
        for (size_t i = 0; i < count; ++i) {
            line += ' ';
            line += kDigits[bytes[i] >> 4];
            line += kDigits[bytes[i] & 0x0F];
        }
        line += '\n';
        trace_.write(line.data(), std::streamsize(line.size()));
        trace_.flush();
    }
    if (log_.is_open()) {
        if (logWritten_ + count > LogSize) {
            log_.close();
            log_.open(folder_ + LogName, std::ios::binary | std::ios::trunc);
            logWritten_ = 0;
        }
        log_.write(reinterpret_cast<const char*>(bytes), std::streamsize(count));
        log_.flush();
        logWritten_ += count;
    }
}

}  // namespace zantor
