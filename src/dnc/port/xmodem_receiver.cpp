#include "dnc/port/xmodem_receiver.h"

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port/xmodem_blocks.h"

namespace zantor {

using namespace xmodem;

XmodemReceiver::XmodemReceiver(TransferHost& host, bool batch)
    : BinaryProtocolDriver(host), batch_(batch), inFile_(!batch) {}

void XmodemReceiver::start() {
    if (s_.FileName.empty()) {
        host_.fail(transfer_code::kNoFileName);
        return;
    }
    if (!batch_) {
        // XMODEM gives no name: FileName must name the file itself.
        const auto path = batchFilePath(s_.FileName, "", true);
        if (!path) {
            host_.fail(transfer_code::kNoFileName);
            return;
        }
        if (s_.WriteFailAction == wfWriteFail && fileExists(*path)) {
            host_.setStatus(transfer_status::kFileRejected);
            host_.fail(transfer_code::kFileRejected);
            return;
        }
        try {
            file_.emplace(*path);
        } catch (const FileError&) {
            host_.setStatus(transfer_status::kCannotWrite);
            host_.fail(transfer_code::kCannotWrite);
            return;
        }
    }
    takeLine();
    host_.progress().blockSize = batch_ ? 1024 : 128;
    host_.setStatus(transfer_status::kHandshake);
    requestStart();
}

void XmodemReceiver::requestStart() {
    state_ = State::Requesting;
    const int limit = std::max(
        1, int(ticksToDuration(s_.HandshakeWait) / std::chrono::milliseconds(kRequestIntervalMs)));
    if (requests_ >= limit) {
        end(transfer_code::kTimeOut, transfer_status::kTimeout, true);
        return;
    }
    // Once blocks have arrived the check is settled; before, fall back to
    // the checksum when CRC requests go unanswered.
    if (requests_ >= kCrcRequests && !anyBlock_) crc_ = false;
    ++requests_;
    write(std::string(1, char(crc_ ? kCrcRequest : kNak)));
    armTimerMs(kRequestIntervalMs, [this] { requestStart(); });
}

void XmodemReceiver::dataAvailable() {
    if (!running()) return;
    const std::string bytes = port_.readAvailable();
    for (const char c : bytes) {
        if (!running()) return;
        take(uint8_t(c));
    }
}

void XmodemReceiver::take(uint8_t byte) {
    switch (state_) {
        case State::Requesting:
        case State::BlockStart:
            blockStart(byte);
            break;
        case State::InBlock:
            block_ += char(byte);
            if (block_.size() == blockLength_)
                blockComplete();
            else
                armTimerMs(kQuietBeforeNakMs, [this] { blockCutShort(); });
            break;
        case State::Purging:
            armTimerMs(kQuietBeforeNakMs, [this] {
                write(std::string(1, char(kNak)));
                waitForBlock();
            });
            break;
        case State::Done:
            break;
    }
}

void XmodemReceiver::blockStart(uint8_t byte) {
    if (byte == kCan) {
        if (sawCancel_) {
            end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
            return;
        }
        sawCancel_ = true;
        return;
    }
    sawCancel_ = false;
    if (byte == kSoh || byte == kStx) {
        anyBlock_ = true;
        const size_t size = byte == kStx ? 1024 : 128;
        blockLength_ = 3 + size + (crc_ ? 2 : 1);
        block_.assign(1, char(byte));
        state_ = State::InBlock;
        armTimerMs(kQuietBeforeNakMs, [this] { blockCutShort(); });
    } else if (byte == kEot) {
        endOfFile();
    }
}

void XmodemReceiver::blockComplete() {
    const uint8_t number = uint8_t(block_[1]);
    const size_t size = blockLength_ - 3 - (crc_ ? 2 : 1);
    const std::string payload = block_.substr(3, size);
    if (uint8_t(block_[2]) != uint8_t(~number) ||
        !checkMatches(payload, std::string_view(block_).substr(3 + size), crc_)) {
        rejectBlock();
        return;
    }
    clearErrorRun();
    if (batch_ && !inFile_ && number == 0) {
        acceptHeader(payload);
        return;
    }
    if (!inFile_) {
        // A data block before its header: ask for the header again.
        rejectBlock();
        return;
    }
    if (number == expected_) {
        acceptData(payload);
        if (!running()) return;
        ++expected_;
    } else if (number == uint8_t(expected_ - 1)) {
        // Our ACK was lost; the sender repeats the block.
        host_.setStatus(transfer_status::kDuplicateBlock);
    } else {
        end(transfer_code::kBlockSequence, transfer_status::kSequenceError, true);
        return;
    }
    write(std::string(1, char(kAck)));
    waitForBlock();
}

void XmodemReceiver::waitForBlock() {
    state_ = State::BlockStart;
    armTimerMs(kBlockWaitMs, [this] { timedOut(); });
}

void XmodemReceiver::rejectBlock() {
    host_.setStatus(transfer_status::kBadCheck);
    if (!countError()) {
        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
        return;
    }
    // The rest of a damaged block may still be arriving: NAK once it stops.
    state_ = State::Purging;
    armTimerMs(kQuietBeforeNakMs, [this] {
        write(std::string(1, char(kNak)));
        waitForBlock();
    });
}

void XmodemReceiver::blockCutShort() {
    // The line went quiet inside a block: bytes of it were lost.
    host_.setStatus(transfer_status::kBadCheck);
    if (!countError()) {
        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
        return;
    }
    write(std::string(1, char(kNak)));
    waitForBlock();
}

void XmodemReceiver::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    if (!countError()) {
        end(transfer_code::kTimeOut, transfer_status::kTimeout, true);
        return;
    }
    if (batch_ && !inFile_) {
        requestStart();
        return;
    }
    write(std::string(1, char(kNak)));
    waitForBlock();
}

void XmodemReceiver::acceptHeader(const std::string& data) {
    const HeaderInfo info = parseHeader(data);
    write(std::string(1, char(kAck)));
    if (info.name.empty()) {
        end(transfer_code::kSuccess, transfer_status::kEndOfFile);
        return;
    }
    const auto path = batchFilePath(s_.FileName, info.name, firstFile_);
    firstFile_ = false;
    skipping_ = !path || (s_.WriteFailAction == wfWriteFail && fileExists(*path));
    if (skipping_) {
        host_.setStatus(transfer_status::kFileSkipped);
    } else if (!openFile(*path)) {
        return;
    }
    host_.progress().fileName = path ? *path : info.name;
    host_.progress().fileSize = info.size;
    declaredSize_ = info.size;
    received_ = 0;
    held_.clear();
    inFile_ = true;
    expected_ = 1;
    requests_ = 0;
    write(std::string(1, char(crc_ ? kCrcRequest : kNak)));
    waitForBlock();
}

bool XmodemReceiver::openFile(const std::string& path) {
    try {
        file_.emplace(path);
        return true;
    } catch (const FileError&) {
        end(transfer_code::kCannotWrite, transfer_status::kCannotWrite, true);
        return false;
    }
}

void XmodemReceiver::acceptData(const std::string& data) {
    flushHeld(false);
    held_ = data;
}

void XmodemReceiver::flushHeld(bool last) {
    std::string_view data = held_;
    if (declaredSize_ >= 0) {
        data = data.substr(0, size_t(std::max(0LL, declaredSize_ - received_)));
    } else if (last) {
        // Without a size the padding of the last block is all there is to go by.
        while (!data.empty() && uint8_t(data.back()) == kPad) data.remove_suffix(1);
    }
    if (file_ && !skipping_ && !data.empty()) {
        try {
            file_->write(data);
        } catch (const FileError&) {
            held_.clear();
            fileError();
            return;
        }
    }
    received_ += long(data.size());
    host_.progress().bytesTransferred = batchBytes_ + received_;
    held_.clear();
}

void XmodemReceiver::endOfFile() {
    write(std::string(1, char(kAck)));
    if (!inFile_) {
        // Our ACK of the last EOT was lost.
        waitForBlock();
        return;
    }
    flushHeld(true);
    if (!running()) return;
    if (file_ && !skipping_) {
        try {
            file_->keep();
        } catch (const FileError&) {
            fileError();
            return;
        }
        host_.progress().fileWritten = true;
    }
    file_.reset();
    if (!batch_) {
        end(transfer_code::kSuccess, transfer_status::kEndOfFile);
        return;
    }
    batchBytes_ += received_;
    inFile_ = false;
    skipping_ = false;
    requests_ = 0;
    requestStart();
}

void XmodemReceiver::fileError() {
    end(transfer_code::kCannotWrite, transfer_status::kCannotWrite, true);
}

void XmodemReceiver::releaseFile(bool keepPart) {
    // The block held back for its padding belongs to what is kept.
    if (keepPart && file_ && !held_.empty()) {
        try {
            file_->write(held_);
        } catch (const FileError&) {
            keepPart = false;
        }
    }
    held_.clear();
    releaseReceivedFile(file_, keepPart);
}

}  // namespace zantor
