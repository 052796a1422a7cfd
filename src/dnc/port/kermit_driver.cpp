#include "dnc/port/kermit_driver.h"

#include <algorithm>

#include "dnc/port/com_port.h"
#include "dnc/port/kermit_data.h"

namespace zantor {

using namespace kermit;

KermitDriver::KermitDriver(TransferHost& host) : BinaryProtocolDriver(host) {
    reader_.setSevenBit(sevenBitLine());
    reader_.setLongest(kLongestPacket);
}

bool KermitDriver::sevenBitLine() const {
    return port_.DataBits() < 8;
}

InitParams KermitDriver::ourInit() const {
    InitParams p;
    p.maxLength = 94;
    p.timeoutSeconds = kTimeoutSeconds;
    p.padCount = 0;
    p.padChar = s_.KermitPadCharacter;
    p.eol = '\r';
    p.control = '#';
    p.eighthBit = sevenBitLine() ? '&' : 'Y';
    p.checkType = 3;
    p.repeat = '~';
    p.longPackets = p.slidingWindows = p.attributes = true;
    p.window = kLongestWindow;
    p.longLength = int(kLongestReceive);
    return p;
}

void KermitDriver::useAgreement(const Agreement& agreement) {
    agreed_ = agreement;
    sendCheck_ = agreement.checkType;
    reader_.setCheckType(agreement.checkType);
    host_.progress().kermitWindows = agreement.window;
}

std::string KermitDriver::sendPacket(int seq, char type, std::string_view data) {
    lastSeq_ = seq;
    std::string line = encodePacket({seq, type, std::string(data)}, sendCheck_, agreed_.framing);
    write(line);
    return line;
}

std::string KermitDriver::encodeText(std::string_view text) const {
    std::string field;
    encodeData(text, agreed_.outgoing, SIZE_MAX, field);
    return field;
}

std::string KermitDriver::decodeText(std::string_view field) const {
    std::string text;
    decodeData(field, agreed_.incoming, text);
    return text;
}

int KermitDriver::answerWaitMs() const {
    const int asked = agreed_.peerTimeoutSeconds > 0 ? agreed_.peerTimeoutSeconds : kTimeoutSeconds;
    const auto perCharacter = characterTime(port_.lineSettings());
    const auto onTheLine = perCharacter * long(unsent() + longestIncoming_);
    return asked * 1000 +
           int(std::chrono::duration_cast<std::chrono::milliseconds>(onTheLine).count());
}

void KermitDriver::abort(int code, int status, std::string message) {
    errorMessage_ = std::move(message);
    end(code, status, true);
}

std::string KermitDriver::cancelSequence() const {
    return encodePacket({lastSeq_, kError, encodeText(errorMessage_)}, sendCheck_, agreed_.framing);
}

void KermitDriver::dataAvailable() {
    while (running() && port_.bytesWaiting() > 0) {
        const std::string bytes = port_.readAvailable(4096);
        for (const char c : bytes) {
            switch (reader_.feed(uint8_t(c))) {
                case PacketReader::Result::Packet:
                    onPacket(reader_.packet());
                    break;
                case PacketReader::Result::Damaged:
                    onDamaged();
                    break;
                case PacketReader::Result::None:
                    break;
            }
            if (!running()) return;
        }
    }
}

}  // namespace zantor
