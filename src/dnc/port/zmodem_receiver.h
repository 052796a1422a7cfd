#pragma once

#include <optional>
#include <string>

#include "dnc/port/binary_protocol_driver.h"
#include "dnc/port/received_file.h"
#include "dnc/port/zmodem_frames.h"

namespace zantor {

// Receives a ZMODEM batch into FileName and beside it (see batchFilePath):
// a file whose sent name would leave the folder is skipped (ZSKIP). Damaged
// data is asked for again from the last good byte (ZRPOS). When the sender
// asks to resume and part of the file is here, the receive goes on from
// its end. A failed receive keeps what it got, for a later resume.
class ZmodemReceiver : public BinaryProtocolDriver {
public:
    explicit ZmodemReceiver(TransferHost& host);

    void start() override;
    void dataAvailable() override;

    static constexpr int kAnswerWaitMs = 10000;

private:
    enum class State { Init, FileInfo, WaitingForData, Receiving, Done };

    void onEvent(const zmodem::Event& e);
    void onHeader(const zmodem::Event& e);
    void onData(const zmodem::Event& e);
    void fileOffered(const std::string& info);
    void askFrom(long long position, bool isError);
    void sendInit();
    void endOfFile(uint32_t position);
    void awaitSender();
    void timedOut();
    void fileError();
    void releaseFile(bool keepPart) override;

    State state_ = State::Init;
    zmodem::Reader reader_;
    bool firstFile_ = true;
    bool resumeAsked_ = false;
    bool sinitData_ = false;      // the data after ZSINIT, answered with ZACK
    bool repeatedOffer_ = false;  // the data of a ZFILE already answered
    std::optional<ReceivedFile> file_;
    long long batchBytes_ = 0;  // of the files before this one
    int waits_ = 0;             // answer waits in a row without a word from the sender
};

}  // namespace zantor
