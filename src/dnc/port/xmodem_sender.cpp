#include "dnc/port/xmodem_sender.h"

#include <sys/stat.h>

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port/xmodem_blocks.h"

namespace zantor {

using namespace xmodem;

XmodemSender::XmodemSender(TransferHost& host, bool batch)
    : BinaryProtocolDriver(host), batch_(batch) {}

void XmodemSender::start() {
    if (!openFileToSend(file_)) return;
    host_.progress().blockSize = batch_ ? 1024 : 128;
    host_.setStatus(transfer_status::kHandshake);
    armTimer(s_.HandshakeWait,
             [this] { end(transfer_code::kTimeOut, transfer_status::kTimeout, true); });
    if (port_.bytesWaiting() > 0) dataAvailable();
}

void XmodemSender::dataAvailable() {
    while (running() && port_.bytesWaiting() > 0) answer(port_.readByte());
}

void XmodemSender::answer(uint8_t byte) {
    if (byte == kCan) {
        // Two in a row: the receiver gave up.
        if (sawCancel_) {
            end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
            return;
        }
        sawCancel_ = true;
        return;
    }
    sawCancel_ = false;
    switch (state_) {
        case State::WaitingForStart:
        case State::WaitingForDataStart:
        case State::WaitingForBatchEnd:
            if (byte == kCrcRequest || byte == kNak) startRequested(byte == kCrcRequest);
            break;
        case State::Header:
        case State::Data:
        case State::Eot:
        case State::BatchEnd:
            if (byte == kAck)
                acknowledged();
            else if (byte == kNak)
                resend();
            break;
        case State::Done:
            break;
    }
}

void XmodemSender::startRequested(bool crc) {
    if (state_ == State::WaitingForStart) {
        crc_ = crc;
        host_.setStatus(transfer_status::kOk);
        if (batch_) {
            sendHeader(false);
            return;
        }
    }
    if (state_ == State::WaitingForBatchEnd) {
        sendHeader(true);
        return;
    }
    sendNextBlock();
}

void XmodemSender::sendHeader(bool last) {
    state_ = last ? State::BatchEnd : State::Header;
    std::string data;
    if (!last) {
        struct stat info {};
        const long long modified = ::stat(s_.FileMask.c_str(), &info) == 0 ? info.st_mtime : 0;
        data = headerData(sentFileName(), file_->size(), modified);
    }
    block_ = encodeBlock(0, data, false, crc_, 0);
    blockData_ = 0;
    write(block_);
    awaitAnswer();
}

void XmodemSender::sendNextBlock() {
    state_ = State::Data;
    const long long left = file_->size() - sent_;
    if (left <= 0) {
        sendEot();
        return;
    }
    // 1K blocks while they are mostly data; the tail goes in short ones.
    const bool large = batch_ && left > 896;
    std::string data(large ? 1024 : 128, '\0');
    try {
        data.resize(file_->readAt(sent_, data.data(), data.size()));
    } catch (const FileError& error) {
        end(fileErrorCode(error.errorNumber()), -1, true);
        return;
    }
    if (data.empty()) {
        sendEot();
        return;
    }
    blockData_ = data.size();
    host_.progress().blockSize = large ? 1024 : 128;
    block_ = encodeBlock(number_, data, large, crc_);
    write(block_);
    awaitAnswer();
}

void XmodemSender::sendEot() {
    state_ = State::Eot;
    block_ = std::string(1, char(kEot));
    blockData_ = 0;
    write(block_);
    awaitAnswer();
}

void XmodemSender::awaitAnswer() {
    armTimerMs(kAnswerWaitMs, [this] { timedOut(); });
}

void XmodemSender::resend() {
    if (!countError()) {
        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
        return;
    }
    write(block_);
    awaitAnswer();
}

void XmodemSender::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    if (!countError()) {
        end(transfer_code::kTimeOut, transfer_status::kTimeout, true);
        return;
    }
    write(block_);
    awaitAnswer();
}

void XmodemSender::acknowledged() {
    clearErrorRun();
    host_.setStatus(transfer_status::kOk);
    switch (state_) {
        case State::Header:
            state_ = State::WaitingForDataStart;
            awaitAnswer();
            break;
        case State::Data:
            sent_ += long(blockData_);
            host_.progress().bytesTransferred = sent_;
            ++number_;
            sendNextBlock();
            break;
        case State::Eot:
            if (batch_) {
                state_ = State::WaitingForBatchEnd;
                awaitAnswer();
            } else {
                state_ = State::Done;
                end(transfer_code::kSuccess, transfer_status::kEndOfFile);
            }
            break;
        case State::BatchEnd:
            state_ = State::Done;
            end(transfer_code::kSuccess, transfer_status::kEndOfFile);
            break;
        default:
            break;
    }
}

}  // namespace zantor
