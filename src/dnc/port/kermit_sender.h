#pragma once

#include <optional>
#include <string>

#include "core/file_io.h"
#include "dnc/port/kermit_driver.h"
#include "dnc/port/kermit_window.h"

namespace zantor {

// Sends FileMask by Kermit: the Send-Init exchange, the file's name, its
// attributes (size, binary) when the receiver takes them, the data in as
// many packets as the agreed window lets out at once, end of file and end
// of batch. A packet the receiver asks for again (NAK) or does not answer
// in time goes again. A receiver that refuses the file ends the send with
// "File was rejected".
class KermitSender : public KermitDriver {
public:
    explicit KermitSender(TransferHost& host);

    void start() override;

private:
    enum class State { Init, FileHeader, Attributes, Data, EndOfFile, Break, Done };

    void onPacket(const kermit::Packet& packet) override;
    void onDamaged() override;
    void onAck(int seq, const std::string& data);
    void onNak(int seq);
    // Sends the next packet in sequence and keeps it until acknowledged.
    void sendNext(char type, std::string data, size_t fileBytes = 0);
    void resend(kermit::SendWindow::Slot& slot);
    void startData();
    // Sends data packets while the window has room; false when it failed.
    bool fillWindow();
    bool readMore();
    void endOfFile();
    void finishBatch();
    void awaitAnswer();
    void timedOut();
    void releaseFile(bool) override { file_.reset(); }

    State state_ = State::Init;
    std::optional<ReadableFile> file_;
    std::string pending_;  // read from the file, not yet in a packet
    size_t pendingAt_ = 0;
    bool fileRead_ = false;  // to its end
    kermit::SendWindow window_;
    int nextSeq_ = 0;
    long long acknowledged_ = 0;  // bytes of the file
    bool interrupted_ = false;    // the receiver wants no more of the file
    Clock::Duration startedAt_{0};
};

}  // namespace zantor
