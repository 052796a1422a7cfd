#include "dnc/port/zmodem_receiver.h"

#include <filesystem>

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port/xmodem_blocks.h"

namespace zantor {

using namespace zmodem;

ZmodemReceiver::ZmodemReceiver(TransferHost& host) : BinaryProtocolDriver(host) {}

void ZmodemReceiver::start() {
    if (s_.FileName.empty()) {
        host_.fail(transfer_code::kNoFileName);
        return;
    }
    takeLine();
    host_.progress().blockSize = 1024;
    host_.setStatus(transfer_status::kHandshake);
    sendInit();
}

void ZmodemReceiver::sendInit() {
    state_ = State::Init;
    write(hexHeader(ZRINIT, {0, 0, 0, uint8_t(CANFDX | CANOVIO | CANFC32)}));
    awaitSender();
}

void ZmodemReceiver::awaitSender() {
    armTimerMs(kAnswerWaitMs, [this] { timedOut(); });
}

void ZmodemReceiver::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    const int handshakeWaits = std::max(
        1, int(ticksToDuration(s_.HandshakeWait) / std::chrono::milliseconds(kAnswerWaitMs)));
    ++waits_;
    if ((state_ == State::Init && waits_ >= handshakeWaits) ||
        (state_ != State::Init && !countError())) {
        end(transfer_code::kTimeOut, transfer_status::kTimeout, true);
        return;
    }
    reader_.stopData();
    if (state_ == State::Init || !file_)
        sendInit();
    else
        askFrom(file_->size(), false);
}

void ZmodemReceiver::dataAvailable() {
    if (!running()) return;
    const std::string bytes = port_.readAvailable();
    for (const char c : bytes) {
        const Event e = reader_.feed(uint8_t(c));
        if (e.kind != Event::None) onEvent(e);
        if (!running()) return;
    }
}

void ZmodemReceiver::onEvent(const Event& e) {
    switch (e.kind) {
        case Event::Cancel:
            end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
            return;
        case Event::Header:
            waits_ = 0;
            onHeader(e);
            return;
        case Event::Data:
            waits_ = 0;
            onData(e);
            return;
        case Event::BadData:
            host_.setStatus(transfer_status::kBadCheck);
            if (state_ == State::Receiving && file_) {
                if (!countError()) {
                    end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
                    return;
                }
                askFrom(file_->size(), true);
            } else {
                write(hexHeader(ZNAK, {}));
            }
            return;
        case Event::BadHeader:
            host_.setStatus(transfer_status::kBadCheck);
            ++host_.progress().totalErrors;
            return;
        case Event::None:
            return;
    }
}

void ZmodemReceiver::onHeader(const Event& e) {
    switch (e.type) {
        case ZRQINIT:
            if (state_ == State::Init) sendInit();
            break;
        case ZSINIT:
            sinitData_ = true;
            reader_.expectData(e.crc32);
            break;
        case ZFILE:
            if (state_ == State::Init || state_ == State::FileInfo) {
                state_ = State::FileInfo;
                resumeAsked_ = e.bytes[3] == ZCRESUM;
                reader_.expectData(e.crc32);
            } else if (state_ == State::WaitingForData && file_) {
                // Our ZRPOS was lost and the offer comes again: answer it again.
                repeatedOffer_ = true;
                reader_.expectData(e.crc32);
            }
            break;
        case ZDATA:
            if (!file_ || (state_ != State::WaitingForData && state_ != State::Receiving)) break;
            if (positionOf(e.bytes) != uint32_t(file_->size())) {
                // Data from somewhere else: once more from where we are.
                askFrom(file_->size(), true);
                break;
            }
            state_ = State::Receiving;
            reader_.expectData(e.crc32);
            awaitSender();
            break;
        case ZEOF:
            if (file_ && state_ != State::Init) endOfFile(positionOf(e.bytes));
            break;
        case ZFIN:
            write(hexHeader(ZFIN, {}));
            state_ = State::Done;
            end(transfer_code::kSuccess, transfer_status::kEndOfFile);
            break;
        case ZCAN:
        case ZABORT:
            end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
            break;
        default:
            break;
    }
}

void ZmodemReceiver::onData(const Event& e) {
    if (sinitData_) {
        sinitData_ = false;
        write(hexHeader(ZACK, {}));
        return;
    }
    if (repeatedOffer_) {
        repeatedOffer_ = false;
        askFrom(file_->size(), false);
        return;
    }
    if (state_ == State::FileInfo) {
        fileOffered(e.data);
        return;
    }
    if (state_ != State::Receiving || !file_) return;
    try {
        file_->write(e.data);
    } catch (const FileError&) {
        fileError();
        return;
    }
    clearErrorRun();
    host_.setStatus(transfer_status::kOk);
    host_.progress().bytesTransferred = batchBytes_ + file_->size();
    if (e.frameEnd == ZCRCW || e.frameEnd == ZCRCQ)
        write(hexHeader(ZACK, positionBytes(uint32_t(file_->size()))));
    if (e.frameEnd == ZCRCE || e.frameEnd == ZCRCW) state_ = State::WaitingForData;
    awaitSender();
}

void ZmodemReceiver::fileOffered(const std::string& info) {
    const xmodem::HeaderInfo offered = xmodem::parseHeader(info);
    const auto path = batchFilePath(s_.FileName, offered.name, firstFile_);
    firstFile_ = false;
    if (!path || (s_.WriteFailAction == wfWriteFail && fileExists(*path) && !resumeAsked_)) {
        host_.setStatus(transfer_status::kFileSkipped);
        state_ = State::Init;
        write(hexHeader(ZSKIP, {}));
        awaitSender();
        return;
    }
    // A resume takes over the part already here, when it is shorter.
    long long have = 0;
    std::error_code error;
    if (resumeAsked_ && std::filesystem::is_regular_file(*path, error)) {
        have = (long long)std::filesystem::file_size(*path, error);
        if (error || (offered.size >= 0 && have > offered.size)) have = 0;
    }
    try {
        file_.emplace(*path, have);
    } catch (const FileError&) {
        fileError();
        return;
    }
    host_.progress().fileName = *path;
    host_.progress().fileSize = offered.size;
    host_.progress().bytesTransferred = batchBytes_ + file_->size();
    host_.setStatus(transfer_status::kOk);
    state_ = State::WaitingForData;
    askFrom(file_->size(), false);
}

void ZmodemReceiver::askFrom(long long position, bool isError) {
    if (isError && !countError()) {
        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
        return;
    }
    reader_.stopData();
    if (state_ == State::Receiving) state_ = State::WaitingForData;
    write(hexHeader(ZRPOS, positionBytes(uint32_t(position))));
    awaitSender();
}

void ZmodemReceiver::endOfFile(uint32_t position) {
    // A ZEOF for an end we have not reached is stale: a ZRPOS is under way.
    if (position != uint32_t(file_->size())) return;
    try {
        file_->keep();
    } catch (const FileError&) {
        fileError();
        return;
    }
    host_.progress().fileWritten = true;
    batchBytes_ += file_->size();
    file_.reset();
    sendInit();
}

void ZmodemReceiver::fileError() {
    end(transfer_code::kCannotWrite, transfer_status::kCannotWrite, true);
}

void ZmodemReceiver::releaseFile(bool keepPart) {
    releaseReceivedFile(file_, keepPart);
}

}  // namespace zantor
