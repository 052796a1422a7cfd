#include "dnc/port/kermit_sender.h"

#include <algorithm>

#include "dnc/port/com_port.h"
#include "dnc/port/kermit_check.h"
#include "dnc/port/kermit_data.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

using namespace kermit;

namespace {
constexpr size_t kReadChunk = 65536;
// A packet of repeated bytes can hold this many times its room.
constexpr size_t kBestCompression = kLongestRepeat / 5 + 1;
}  // namespace

KermitSender::KermitSender(TransferHost& host) : KermitDriver(host) {}

void KermitSender::start() {
    if (!openFileToSend(file_)) return;
    host_.setStatus(transfer_status::kHandshake);
    startedAt_ = port_.clock().now();
    sendNext(kSendInit, encodeInit(ourInit()));
    if (port_.bytesWaiting() > 0) dataAvailable();
}

void KermitSender::sendNext(char type, std::string data, size_t fileBytes) {
    const int seq = nextSeq_;
    nextSeq_ = seqAfter(nextSeq_);
    window_.add({seq, sendPacket(seq, type, data), fileBytes, false});
    awaitAnswer();
}

void KermitSender::resend(SendWindow::Slot& slot) {
    write(slot.line);
    awaitAnswer();
}

void KermitSender::awaitAnswer() {
    armTimerMs(state_ == State::Init ? kInitRetryMs : answerWaitMs(), [this] { timedOut(); });
}

void KermitSender::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    if (state_ == State::Init) {
        if (port_.clock().now() - startedAt_ >= ticksToDuration(s_.HandshakeWait)) {
            abort(transfer_code::kTimeOut, transfer_status::kTimeout, "No answer to Send-Init");
            return;
        }
    } else if (!countError()) {
        // The receiver acknowledged the end of the file, so it has it whole:
        // only its answer to the end of the batch is missing.
        if (state_ == State::Break) {
            finishBatch();
            return;
        }
        abort(transfer_code::kTimeOut, transfer_status::kTimeout, "Too many time-outs");
        return;
    }
    if (SendWindow::Slot* oldest = window_.oldestOpen())
        resend(*oldest);
    else
        awaitAnswer();
}

void KermitSender::onDamaged() {
    // The receiver's answer was damaged: the time-out sends again.
    host_.setStatus(transfer_status::kBadCheck);
    ++host_.progress().totalErrors;
}

void KermitSender::onPacket(const Packet& p) {
    switch (p.type) {
        case kAck:
            onAck(p.seq, p.data);
            break;
        case kNak:
            onNak(p.seq);
            break;
        case kError:
            end(transfer_code::kUnrecoverable, transfer_status::kProtocolError);
            break;
        default:
            break;
    }
}

void KermitSender::onNak(int seq) {
    SendWindow::Slot* slot = window_.find(seq);
    if (slot && !slot->acknowledged) {
        host_.setStatus(transfer_status::kBadCheck);
        if (!countError()) {
            abort(transfer_code::kUnrecoverable, transfer_status::kProtocolError,
                  "Too many retries");
            return;
        }
        resend(*slot);
        return;
    }
    // A NAK for the packet after the last one sent: the receiver has them all.
    if (seq == nextSeq_ && !window_.empty()) {
        std::vector<int> open;
        for (int s = seqAfter(nextSeq_, 64 - window_.inUse()); s != nextSeq_; s = seqAfter(s))
            if (window_.find(s) && !window_.find(s)->acknowledged) open.push_back(s);
        for (const int s : open)
            if (running() && window_.find(s)) onAck(s, "");
    }
}

void KermitSender::onAck(int seq, const std::string& data) {
    if (!window_.acknowledge(seq)) return;
    clearErrorRun();
    acknowledged_ += long(window_.slide());
    host_.progress().bytesTransferred = acknowledged_;
    switch (state_) {
        case State::Init: {
            const InitParams theirs = decodeInit(data);
            useAgreement(agree(ourInit(), theirs));
            window_.setSize(agreed_.window);
            host_.progress().blockSize = int(agreed_.dataRoom());
            host_.setStatus(transfer_status::kOk);
            state_ = State::FileHeader;
            sendNext(kFileHeader, encodeText(sentFileName()));
            return;
        }
        case State::FileHeader:
            if (agreed_.attributes) {
                // Size and binary: the file arrives as it is here.
                const std::string size = std::to_string(file_->size());
                std::string attributes = "\"";
                attributes += toChar(2);
                attributes += "B8";
                attributes += '1';
                attributes += toChar(int(size.size()));
                attributes += size;
                state_ = State::Attributes;
                sendNext(kAttributes, attributes);
            } else {
                startData();
            }
            return;
        case State::Attributes:
            if (!data.empty() && data[0] == 'N') {
                interrupted_ = true;
                endOfFile();
            } else {
                startData();
            }
            return;
        case State::Data:
            if (!data.empty() && (data[0] == 'X' || data[0] == 'Z')) interrupted_ = true;
            if (!fillWindow()) return;
            if (window_.empty() && (interrupted_ || fileRead_))
                endOfFile();
            else if (!window_.empty())
                awaitAnswer();
            return;
        case State::EndOfFile:
            state_ = State::Break;
            sendNext(kEndOfBatch, "");
            return;
        case State::Break:
            finishBatch();
            return;
        case State::Done:
            return;
    }
}

void KermitSender::finishBatch() {
    state_ = State::Done;
    if (interrupted_)
        end(transfer_code::kFileRejected, transfer_status::kFileRejected);
    else
        end(transfer_code::kSuccess, transfer_status::kEndOfFile);
}

void KermitSender::startData() {
    state_ = State::Data;
    if (!fillWindow()) return;
    if (window_.empty()) endOfFile();  // an empty file
}

void KermitSender::endOfFile() {
    state_ = State::EndOfFile;
    file_.reset();
    sendNext(kEndOfFile, interrupted_ ? "D" : "");
}

bool KermitSender::readMore() {
    if (pendingAt_ > 0) {
        pending_.erase(0, pendingAt_);
        pendingAt_ = 0;
    }
    const size_t had = pending_.size();
    pending_.resize(had + kReadChunk);
    size_t got = 0;
    try {
        got = file_->read(pending_.data() + had, kReadChunk);
    } catch (const FileError& error) {
        pending_.resize(had);
        abort(fileErrorCode(error.errorNumber()), -1, "Cannot read the file");
        return false;
    }
    pending_.resize(had + got);
    if (got == 0) fileRead_ = true;
    if (sevenBitLine() && !agreed_.outgoing.eighthBit &&
        std::any_of(pending_.begin() + long(had), pending_.end(),
                    [](char c) { return uint8_t(c) & 0x80; })) {
        abort(transfer_code::kUnrecoverable, transfer_status::kProtocolError,
              "8-bit data cannot pass a 7-bit line without 8th-bit prefixing");
        return false;
    }
    return true;
}

bool KermitSender::fillWindow() {
    const size_t room = agreed_.dataRoom();
    while (!interrupted_ && !window_.full()) {
        while (!fileRead_ && pending_.size() - pendingAt_ < room * kBestCompression)
            if (!readMore()) return false;
        if (pendingAt_ == pending_.size()) break;
        std::string field;
        const size_t taken = encodeData(std::string_view(pending_).substr(pendingAt_),
                                        agreed_.outgoing, room, field);
        pendingAt_ += taken;
        sendNext(kData, std::move(field), taken);
    }
    return true;
}

}  // namespace zantor
