#pragma once

#include <array>
#include <optional>
#include <string>

#include "dnc/port/kermit_driver.h"
#include "dnc/port/kermit_window.h"
#include "dnc/port/received_file.h"

namespace zantor {

// Receives a Kermit batch into FileName and beside it (see batchFilePath).
// Every packet is acknowledged or asked for again (NAK) by its number; with
// sliding windows, packets that come after a lost one are kept and
// acknowledged, and the file is written in order. A file whose sent name
// would leave the folder is refused (its attributes answered "N", or its
// data "X"); a receive that fails drops the part it got.
class KermitReceiver : public KermitDriver {
public:
    explicit KermitReceiver(TransferHost& host);

    void start() override;

private:
    enum class State { Init, FileHeader, FileData, Done };

    void onPacket(const kermit::Packet& packet) override;
    void onDamaged() override;
    // Handles a packet in its turn.
    void handle(const kermit::Packet& packet);
    void onSendInit(const kermit::Packet& packet);
    void onFileHeader(const kermit::Packet& packet);
    void onAttributes(const kermit::Packet& packet);
    void onData(const kermit::Packet& packet);
    void onEndOfFile(const kermit::Packet& packet);
    void ack(int seq, std::string_view data = {});
    void nak(int seq);
    void awaitPacket();
    void timedOut();
    void fileError();
    void releaseFile(bool keepPart) override;

    State state_ = State::Init;
    kermit::ReceiveWindow window_;
    std::array<std::string, 64> answers_;  // the last answer to each number, for repeats
    std::optional<ReceivedFile> file_;
    bool firstFile_ = true;
    bool refusing_ = false;     // the file offered is not wanted
    long long batchBytes_ = 0;  // of the files before this one
    Clock::Duration startedAt_{0};
};

}  // namespace zantor
