#pragma once

#include <optional>
#include <string>

#include "core/file_io.h"
#include "dnc/port/binary_protocol_driver.h"
#include "dnc/port/zmodem_frames.h"

namespace zantor {

// Sends FileMask by ZMODEM: offers the file (ZFILE with name, size and
// time), streams ZDATA from wherever the receiver asks (ZRPOS: the start, a
// resumed file's end, or the place where the line damaged the data), and
// closes the session (ZEOF, ZFIN, "OO"). A receiver that skips the file
// ends the send with "File was rejected".
class ZmodemSender : public BinaryProtocolDriver {
public:
    explicit ZmodemSender(TransferHost& host);

    void start() override;
    void dataAvailable() override;
    void outputProgress() override;
    void refreshProgress() override;

    static constexpr size_t kSubpacket = 1024;
    // Bytes kept queued ahead of the line while streaming.
    static constexpr size_t kStreamAhead = 4096;
    static constexpr int kAnswerWaitMs = 10000;

private:
    enum class State { Init, FileOffered, Streaming, EofSent, FinSent, Done };

    void onEvent(const zmodem::Event& e);
    void offerFile();
    void sendFrom(uint32_t position);
    void pump();
    void sendFin();
    void sendHeader(const std::string& header);
    void awaitAnswer();
    void timedOut();
    void releaseFile(bool) override { file_.reset(); }

    State state_ = State::Init;
    std::optional<ReadableFile> file_;
    zmodem::Reader reader_;
    bool crc32_ = false;
    std::string lastHeader_;
    long long position_ = 0;    // the next file byte to go into a subpacket
    long long queuedFrom_ = 0;  // where the present ZDATA frame began
    bool skipped_ = false;
    uint32_t lastAskedFrom_ = 0;
};

}  // namespace zantor
