#pragma once

#include <optional>
#include <string>

#include "dnc/port/binary_protocol_driver.h"
#include "dnc/port/received_file.h"

namespace zantor {

// Receives by XMODEM into FileName or, with `batch`, by YMODEM into
// FileName and beside it (see batchFilePath). It asks for CRC-16 blocks and
// falls back to the checksum when the sender does not answer that. A
// damaged block is asked for again once the line has gone quiet; a block
// out of sequence ends the transfer. A YMODEM file whose sent name would
// leave the folder is received into nothing (skipped).
class XmodemReceiver : public BinaryProtocolDriver {
public:
    XmodemReceiver(TransferHost& host, bool batch);

    void start() override;
    void dataAvailable() override;

    static constexpr int kRequestIntervalMs = 3000;  // between start requests
    static constexpr int kCrcRequests = 3;           // before falling back to the checksum
    static constexpr int kBlockWaitMs = 10000;
    // Quiet inside a block, or after a damaged one, before it is asked for again.
    static constexpr int kQuietBeforeNakMs = 1000;

private:
    enum class State { Requesting, BlockStart, InBlock, Purging, Done };

    void requestStart();
    void take(uint8_t byte);
    void blockStart(uint8_t byte);
    void blockComplete();
    void acceptHeader(const std::string& data);
    void acceptData(const std::string& data);
    void endOfFile();
    bool openFile(const std::string& path);
    void flushHeld(bool last);
    void rejectBlock();
    void waitForBlock();
    void blockCutShort();
    void timedOut();
    void fileError();
    void releaseFile(bool keepPart) override;

    bool batch_;
    State state_ = State::Requesting;
    int requests_ = 0;
    bool crc_ = true;
    bool anyBlock_ = false;
    bool inFile_ = false;  // a file's blocks are expected (YMODEM: after its header)
    bool skipping_ = false;
    bool firstFile_ = true;
    std::string block_;
    size_t blockLength_ = 0;
    uint8_t expected_ = 1;
    bool sawCancel_ = false;
    std::optional<ReceivedFile> file_;
    std::string held_;  // the latest block, kept until the next shows it was not the last
    long long declaredSize_ = -1;
    long long received_ = 0;    // file bytes of the current file
    long long batchBytes_ = 0;  // of the files before it
};

}  // namespace zantor
