#pragma once

#include <optional>
#include <string>

#include "core/file_io.h"
#include "dnc/port/clock_timer.h"
#include "dnc/port/protocol_driver.h"

namespace zantor {

// Captures what arrives into FileName until the line has been quiet for
// AsciiEOFTimeout (the quiet time starts again with every byte): 0x00
// dropped, the CR and LF translations, Ctrl-Z handling, written through an
// 8192-byte buffer (RTS lowered around each write when RTSLowForWrite is
// on). While it runs, XON and XOFF from the line are data.
//
// The capture goes to a temporary file beside FileName that replaces it
// only at the end: a receive that got nothing, was cancelled or lost the
// line leaves an existing file as it was. When the file cannot be written
// (-6012), what was captured so far is kept under FileName.
class AsciiReceiver : public ProtocolDriver {
public:
    explicit AsciiReceiver(TransferHost& host);

    void start() override;
    void dataAvailable() override;
    void stop(int code) override;

    static constexpr size_t kDiskBuffer = 8192;

private:
    void armEndOfFile();
    void endOfFile();
    bool flush();
    // Keeps the captured part under FileName (or drops it) and lets go of
    // the port.
    void close(bool keep);
    void cannotWrite();

    TransferHost& host_;
    ComPort& port_;
    const TransferSettings& s_;
    std::optional<AtomicFileWriter> file_;
    std::string buffer_;
    long long stored_ = 0;
    ClockTimer endOfFileTimer_;
    bool receiving_ = false;
};

}  // namespace zantor
