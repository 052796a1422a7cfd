#include "dnc/port/port_trace.h"

#include <cstdio>

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
        trace_ << milliseconds << (direction == Direction::Sent ? " TX" : " RX");
        char hex[4];
        for (size_t i = 0; i < count; ++i) {
            std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
            trace_ << hex;
        }
        trace_ << '\n';
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
