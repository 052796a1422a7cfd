#include "dnc/port/kermit_receiver.h"

#include "dnc/port/com_port.h"
#include "dnc/port/kermit_check.h"
#include "dnc/port/kermit_data.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

using namespace kermit;

KermitReceiver::KermitReceiver(TransferHost& host) : KermitDriver(host) {}

void KermitReceiver::start() {
    if (s_.FileName.empty()) {
        host_.fail(transfer_code::kNoFileName);
        return;
    }
    takeLine();
    host_.setStatus(transfer_status::kHandshake);
    startedAt_ = port_.clock().now();
    window_.reset(0);
    awaitPacket();
    if (port_.bytesWaiting() > 0) dataAvailable();
}

void KermitReceiver::awaitPacket() {
    armTimerMs(state_ == State::Init ? kInitRetryMs : answerWaitMs(), [this] { timedOut(); });
}

void KermitReceiver::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    if (state_ == State::Init) {
        if (port_.clock().now() - startedAt_ >= ticksToDuration(s_.HandshakeWait)) {
            abort(transfer_code::kTimeOut, transfer_status::kTimeout, "No Send-Init came");
            return;
        }
    } else if (!countError()) {
        abort(transfer_code::kTimeOut, transfer_status::kTimeout, "Too many time-outs");
        return;
    }
    // Asking for the packet we need prods a sender whose packet was lost.
    nak(window_.next());
    awaitPacket();
}

void KermitReceiver::onDamaged() {
    host_.setStatus(transfer_status::kBadCheck);
    if (!countError()) {
        abort(transfer_code::kUnrecoverable, transfer_status::kProtocolError, "Too many errors");
        return;
    }
    if (!window_.holds(window_.next())) nak(window_.next());
    awaitPacket();
}

void KermitReceiver::onPacket(const Packet& p) {
    if (p.type == kError) {
        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError);
        return;
    }
    if (state_ == State::Init && p.type != kSendInit) return;
    switch (window_.place(p.seq)) {
        case ReceiveWindow::Place::Behind:
            // The sender missed our answer: it goes again.
            if (!answers_[size_t(p.seq)].empty()) write(answers_[size_t(p.seq)]);
            awaitPacket();
            return;
        case ReceiveWindow::Place::Outside:
            return;
        case ReceiveWindow::Place::Ahead:
            clearErrorRun();
            // Data is acknowledged at once so that the sender's window moves
            // on; everything is handled in its turn.
            if (p.type == kData) ack(p.seq, refusing_ ? "X" : "");
            for (const int missing : window_.keepAhead(p)) nak(missing);
            awaitPacket();
            return;
        case ReceiveWindow::Place::Next:
            break;
    }
    clearErrorRun();
    if (p.type == kData) ack(p.seq, refusing_ ? "X" : "");
    handle(p);
    window_.advance();
    while (running()) {
        const std::optional<Packet> held = window_.takeNext();
        if (!held) break;
        handle(*held);
        window_.advance();
    }
    if (running()) awaitPacket();
}

void KermitReceiver::handle(const Packet& p) {
    if (!running()) return;
    switch (p.type) {
        case kSendInit:
            if (state_ == State::Init) onSendInit(p);
            break;
        case kFileHeader:
            if (state_ == State::FileHeader) onFileHeader(p);
            break;
        case kAttributes:
            if (state_ == State::FileData) onAttributes(p);
            break;
        case kData:
            if (state_ == State::FileData) onData(p);
            break;
        case kEndOfFile:
            if (state_ == State::FileData) onEndOfFile(p);
            break;
        case kEndOfBatch:
            ack(p.seq);
            state_ = State::Done;
            end(transfer_code::kSuccess, transfer_status::kEndOfFile);
            break;
        default:
            abort(transfer_code::kUnrecoverable, transfer_status::kProtocolError,
                  std::string("Unexpected packet type ") + p.type);
            break;
    }
}

void KermitReceiver::onSendInit(const Packet& p) {
    const InitParams offer = decodeInit(p.data);
    const InitParams answer = answerInit(ourInit(), offer);
    const Agreement agreement = agree(answer, offer);
    // The answer still goes with the check both ends start with.
    agreed_.framing = agreement.framing;
    ack(p.seq, encodeInit(answer));
    if (answer.longPackets) longestIncoming_ = size_t(answer.longLength);
    useAgreement(agreement);
    window_.setSize(agreed_.window);
    // The data field of the sender's packets, as the sender works it out.
    host_.progress().blockSize = int(agree(offer, answer).dataRoom());
    host_.setStatus(transfer_status::kOk);
    state_ = State::FileHeader;
}

void KermitReceiver::onFileHeader(const Packet& p) {
    const std::string name = decodeText(p.data);
    const auto path = batchFilePath(s_.FileName, name, firstFile_);
    firstFile_ = false;
    refusing_ = !path || (s_.WriteFailAction == wfWriteFail && fileExists(*path));
    if (refusing_) {
        host_.setStatus(transfer_status::kFileSkipped);
    } else {
        try {
            file_.emplace(*path);
        } catch (const FileError&) {
            fileError();
            return;
        }
        host_.progress().fileName = *path;
        host_.progress().fileSize = -1;
        host_.setStatus(transfer_status::kOk);
    }
    state_ = State::FileData;
    ack(p.seq);
}

void KermitReceiver::onAttributes(const Packet& p) {
    // Each attribute: its letter, its length as a character, its value.
    const std::string& d = p.data;
    for (size_t i = 0; i + 1 < d.size();) {
        const char tag = d[i];
        const size_t length = size_t(std::max(0, unChar(d[i + 1])));
        const std::string value = d.substr(i + 2, length);
        i += 2 + length;
        try {
            if (tag == '1') host_.progress().fileSize = std::stoll(value);
            if (tag == '!' && host_.progress().fileSize < 0)
                host_.progress().fileSize = std::stoll(value) * 1024;
        } catch (const std::exception&) {
            // A size we cannot read is only not shown.
        }
    }
    ack(p.seq, refusing_ ? "N" : "Y");
}

void KermitReceiver::onData(const Packet& p) {
    if (refusing_ || !file_) return;
    std::string bytes;
    if (!decodeData(p.data, agreed_.incoming, bytes)) {
        abort(transfer_code::kUnrecoverable, transfer_status::kProtocolError,
              "Data packet ends inside a prefix");
        return;
    }
    try {
        file_->write(bytes);
    } catch (const FileError&) {
        fileError();
        return;
    }
    host_.progress().bytesTransferred = batchBytes_ + file_->size();
}

void KermitReceiver::onEndOfFile(const Packet& p) {
    // "D": the sender gave the file up.
    const bool discard = refusing_ || p.data == "D";
    if (file_ && !discard) {
        try {
            file_->keep();
        } catch (const FileError&) {
            fileError();
            return;
        }
        host_.progress().fileWritten = true;
        batchBytes_ += file_->size();
    }
    file_.reset();
    refusing_ = false;
    state_ = State::FileHeader;
    ack(p.seq);
}

void KermitReceiver::ack(int seq, std::string_view data) {
    answers_[size_t(seq & 63)] = sendPacket(seq, kAck, data);
}

void KermitReceiver::nak(int seq) {
    sendPacket(seq, kNak, "");
}

void KermitReceiver::fileError() {
    abort(transfer_code::kCannotWrite, transfer_status::kCannotWrite, "Cannot write the file");
}

void KermitReceiver::releaseFile(bool keepPart) {
    releaseReceivedFile(file_, keepPart);
}

}  // namespace zantor
