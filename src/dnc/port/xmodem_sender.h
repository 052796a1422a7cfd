#pragma once

#include <optional>
#include <string>

#include "core/file_io.h"
#include "dnc/port/binary_protocol_driver.h"

namespace zantor {

// Sends FileMask by XMODEM (128-byte blocks with CRC-16, or with the
// checksum when the receiver asks for it by NAK) or, with `batch`, by
// YMODEM: a header block with the name and size, 1K blocks, and the empty
// header that ends the batch. Each block waits for its ACK; a NAK or a
// silent receiver sends it again, ten times at most.
class XmodemSender : public BinaryProtocolDriver {
public:
    XmodemSender(TransferHost& host, bool batch);

    void start() override;
    void dataAvailable() override;

    // Seconds a block waits for its answer.
    static constexpr int kAnswerWaitMs = 10000;

private:
    enum class State {
        WaitingForStart,
        Header,
        WaitingForDataStart,
        Data,
        Eot,
        WaitingForBatchEnd,
        BatchEnd,
        Done
    };

    void answer(uint8_t byte);
    void startRequested(bool crc);
    void sendHeader(bool last);
    void sendNextBlock();
    void resend();
    void sendEot();
    void acknowledged();
    void timedOut();
    void awaitAnswer();
    void releaseFile(bool) override { file_.reset(); }

    bool batch_;
    State state_ = State::WaitingForStart;
    std::optional<ReadableFile> file_;
    std::string block_;     // the block on the line, as sent
    size_t blockData_ = 0;  // file bytes in it
    uint8_t number_ = 1;
    bool crc_ = true;
    long long sent_ = 0;  // file bytes acknowledged
    bool sawCancel_ = false;
};

}  // namespace zantor
