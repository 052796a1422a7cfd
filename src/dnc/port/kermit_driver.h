#pragma once

#include <string>
#include <string_view>

#include "dnc/port/binary_protocol_driver.h"
#include "dnc/port/kermit_init.h"
#include "dnc/port/kermit_packet.h"

namespace zantor {

// What Kermit's sender and receiver share: packets read from the line and
// sent to it, what we announce in the Send-Init exchange and what was
// agreed, the wait for the other end's next packet, and the error packet
// that stops it.
class KermitDriver : public BinaryProtocolDriver {
public:
    explicit KermitDriver(TransferHost& host);

    void dataAvailable() override;

    // What we ask the other end to wait for our next packet.
    static constexpr int kTimeoutSeconds = 10;
    // The longest packet we ask for: long enough that a full window keeps
    // the line busy, short enough that a noisy line still lets most
    // packets through whole. Longer ones are read all the same.
    static constexpr size_t kLongestReceive = 2048;
    // Between tries of the Send-Init exchange.
    static constexpr int kInitRetryMs = 5000;

protected:
    virtual void onPacket(const kermit::Packet& packet) = 0;
    virtual void onDamaged() = 0;

    // What this line and this program can do.
    kermit::InitParams ourInit() const;
    // From now on packets go and are read as `agreement` says.
    void useAgreement(const kermit::Agreement& agreement);
    // Sends a packet now with the check agreed so far; returns it as sent.
    std::string sendPacket(int seq, char type, std::string_view data);
    // A file name or a message as a data field, and back.
    std::string encodeText(std::string_view text) const;
    std::string decodeText(std::string_view field) const;
    // Only seven data bits pass: bytes with the 8th bit need its prefix.
    bool sevenBitLine() const;
    // How long the other end may take to send its next packet: the time it
    // asked for, plus the line time of what we still have to send and of
    // the longest packet it may send us.
    int answerWaitMs() const;
    // Ends with `code`, telling the other end why in an error packet.
    void abort(int code, int status, std::string message);

    std::string cancelSequence() const override;

    kermit::PacketReader reader_;
    kermit::Agreement agreed_;
    int sendCheck_ = 1;  // the block check of the packets we send
    int lastSeq_ = 0;
    size_t longestIncoming_ = kLongestReceive;  // the longest packet we asked for
    std::string errorMessage_ = "Cancelled by user";
};

}  // namespace zantor
