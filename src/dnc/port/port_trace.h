#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace zantor {

// The port's diagnostic files, both off unless switched on. The trace
// ("APD.TRC") gets one line per chunk of traffic: the clock time in
// milliseconds, the direction and the bytes in hex. The log ("APD.LOG") keeps
// the raw bytes of both directions and starts again when it reaches LogSize.
class PortTrace {
public:
    enum class Direction { Received, Sent };

    std::string TraceName = "APD.TRC";
    std::string LogName = "APD.LOG";
    size_t LogSize = 65000;

    // The folder the two names are taken in; empty: the working folder.
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    bool Tracing() const { return trace_.is_open(); }
    bool Logging() const { return log_.is_open(); }
    // False when the file cannot be opened; the switch stays off then.
    bool setTracing(bool on);
    bool setLogging(bool on);

    void record(Direction direction, long long milliseconds, const uint8_t* bytes, size_t count);

private:
    std::string folder_;
    std::ofstream trace_, log_;
    size_t logWritten_ = 0;
};

}  // namespace zantor
