#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dnc/port/clock_timer.h"
#include "dnc/port/com_port.h"
#include "dnc/port/flow_control.h"
#include "dnc/port/protocol_driver.h"
#include "dnc/port/received_file.h"

namespace zantor {

// What the published protocols' drivers share: the line made transparent
// for the transfer (XON and XOFF are data, the protocols pace themselves),
// an output queue that waits for room in the port, one protocol timer, the
// cancel sequence, and the end reported once.
class BinaryProtocolDriver : public ProtocolDriver {
public:
    explicit BinaryProtocolDriver(TransferHost& host);
    ~BinaryProtocolDriver() override;

    void outputProgress() override;
    void stop(int code) override;

    // Eight CAN then eight backspaces: stops every one of these protocols'
    // peers and erases the CANs from a terminal that shows them.
    static constexpr std::string_view kCancelSequence =
        "\x18\x18\x18\x18\x18\x18\x18\x18\x08\x08\x08\x08\x08\x08\x08\x08";

protected:
    // What stops the peer: the cancel sequence unless the protocol has its own.
    virtual std::string cancelSequence() const { return std::string(kCancelSequence); }
    // Takes the line for the transfer; false (and the end reported) when
    // the port is gone.
    bool takeLine();
    void write(std::string_view bytes);
    // Drops what has not gone on the line yet.
    void discardUnsent();
    // Bytes waiting to go, ours and the port's.
    size_t unsent() const;
    void armTimer(int ticks, std::function<void()> onTimeOut);
    void armTimerMs(int ms, std::function<void()> onTimeOut);
    void cancelTimer() { timer_.cancel(); }
    bool running() const { return running_; }
    // The name a sender gives the file: SendAsName's or FileMask's, without folders.
    std::string sentFileName() const;

    // Ends with `code`: 0 finishes, anything else is a fatal error. With
    // `cancelPeer` the cancel sequence goes out first.
    void end(int code, int status, bool cancelPeer = false);
    // Counts a damaged or lost block; false when too many in a row.
    bool countError();
    void clearErrorRun() { errorRun_ = 0; }

    // Receivers: releases the file, keeping the part received when the
    // code allows.
    virtual void releaseFile(bool keepPart) = 0;
    // A sender's start: FileMask opened into `file`, the line taken and the
    // size shown; false when the transfer has failed instead.
    bool openFileToSend(std::optional<ReadableFile>& file);
    // A receiver's releaseFile: what came is put in its place when the
    // ending keeps a partial file, and the file is let go either way.
    void releaseReceivedFile(std::optional<ReceivedFile>& file, bool keepPart);

    TransferHost& host_;
    ComPort& port_;
    const TransferSettings& s_;

private:
    void flushOutput();
    void restoreLine();

    ClockTimer timer_;
    std::string out_;
    size_t outPos_ = 0;
    bool running_ = false;
    bool flushing_ = false;
    bool lineTaken_ = false;
    TSWFlowOptions savedFlow_ = TSWFlowOptions::swfNone;
    OutputPacing savedPacing_ = OutputPacing::LineClock;
    int errorRun_ = 0;
};

}  // namespace zantor
