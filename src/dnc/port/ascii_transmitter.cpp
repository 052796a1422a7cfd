#include "dnc/port/ascii_transmitter.h"

#include <algorithm>

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

namespace {
constexpr size_t kReadBuffer = 8192;
constexpr uint8_t kCtrlZ = 0x1A;
constexpr int kTickMs = 55;
}  // namespace

AsciiTransmitter::AsciiTransmitter(TransferHost& host)
    : host_(host),
      port_(host.port()),
      clock_(host.port().clock()),
      s_(host.settings()),
      readBuffer_(kReadBuffer),
      transmitTimer_(host.port().clock()),
      pauseTimer_(host.port().clock()) {}

void AsciiTransmitter::start() {
    if (s_.FileMask.empty()) {
        fail(transfer_code::kFileNotFound, -1);
        return;
    }
    try {
        file_.emplace(s_.FileMask);
    } catch (const FileError& error) {
        fail(fileErrorCode(error.errorNumber()), -1);
        return;
    }
    host_.progress().fileSize = file_->size();
    pass(true);
}

void AsciiTransmitter::fail(int code, int status) {
    state_ = State::Done;
    transmitTimer_.cancel();
    pauseTimer_.cancel();
    file_.reset();
    if (status >= 0) host_.setStatus(status);
    host_.fail(code);
}

void AsciiTransmitter::stop(int) {
    state_ = State::Done;
    transmitTimer_.cancel();
    pauseTimer_.cancel();
    file_.reset();
    // What is still queued would reach the machine after the cancel.
    port_.discardOutput();
}

bool AsciiTransmitter::nextBlock() {
    blockLen_ = blockPos_ = 0;
    while (blockLen_ < block_.size()) {
        if (readPos_ == readLen_) {
            readPos_ = 0;
            readLen_ = file_->read(readBuffer_.data(), readBuffer_.size());
            if (readLen_ == 0) break;
        }
        const size_t n = std::min(block_.size() - blockLen_, readLen_ - readPos_);
        std::copy_n(readBuffer_.begin() + long(readPos_), n, block_.begin() + long(blockLen_));
        readPos_ += n;
        blockLen_ += n;
    }
    return blockLen_ > 0;
}

bool AsciiTransmitter::translate(uint8_t b, std::string& out) const {
    switch (b) {
        case '\n':
            if (s_.AsciiLFTranslation == aetAddCRBefore)
                out += "\r\n";
            else if (s_.AsciiLFTranslation != aetStrip)
                out += '\n';
            return true;
        case '\r':
            if (s_.AsciiCRTranslation == aetAddLFAfter)
                out += "\r\n";
            else if (s_.AsciiCRTranslation != aetStrip)
                out += '\r';
            return true;
        case kCtrlZ:
            if (!s_.AsciiCtrlZIsData && s_.AsciiSuppressCtrlZ) return false;
            out += char(b);
            return true;
        default:
            out += char(b);
            return true;
    }
}

void AsciiTransmitter::pass(bool fresh) {
    if (inPass_) return;
    inPass_ = true;
    if (fresh) passPausedMs_ = 0;
    state_ = State::Sending;
    const bool paced = s_.AsciiCharDelay > 0 || s_.AsciiLineDelay > 0;
    try {
        while (state_ == State::Sending) {
            if (!pauses_.empty()) {
                takePause();
            } else if (blockPos_ == blockLen_) {
                if (!nextBlock()) {
                    drain();
                } else {
                    passPausedMs_ = 0;
                }
            } else if (paced) {
                sendOne();
            } else {
                sendRun();
            }
        }
    } catch (const FileError& error) {
        fail(fileErrorCode(error.errorNumber()), -1);
    }
    inPass_ = false;
}

void AsciiTransmitter::sendRun() {
    const size_t room = port_.outputFree();
    const size_t first = blockPos_;
    out_.clear();
    bool blockEnded = false;
    while (blockPos_ < blockLen_) {
        const size_t before = out_.size();
        if (!translate(block_[blockPos_], out_)) {
            blockEnded = true;
            break;
        }
        if (out_.size() > room) {
            out_.resize(before);
            break;
        }
        ++blockPos_;
    }
    if (blockEnded) blockPos_ = blockLen_;  // Ctrl-Z: the rest of the block is not sent
    if (blockPos_ == first) {
        waitForRoom();
        return;
    }
    consumed_ += long(blockPos_ - first);
    if (!out_.empty()) send(out_);
}

void AsciiTransmitter::sendOne() {
    if (port_.outputFree() < 2) {
        waitForRoom();
        return;
    }
    const uint8_t b = block_[blockPos_];
    out_.clear();
    if (!translate(b, out_)) {
        // Ctrl-Z: the rest of the block is not sent, and no pause follows.
        consumed_ += long(blockLen_ - blockPos_);
        blockPos_ = blockLen_;
        return;
    }
    ++blockPos_;
    ++consumed_;
    if (!out_.empty() && !send(out_)) return;
    if (b == s_.AsciiEOLChar && s_.AsciiLineDelay > 0) pauses_.push_back(s_.AsciiLineDelay);
    if (s_.AsciiCharDelay > 0) pauses_.push_back(s_.AsciiCharDelay);
}

bool AsciiTransmitter::send(const std::string& bytes) {
    const SendResult r = port_.sendBlock(reinterpret_cast<const uint8_t*>(bytes.data()),
                                         bytes.size());
    if (r == SendResult::Sent) return true;
    fail(r == SendResult::PortClosed ? transfer_code::kNotOpen : transfer_code::kOutputTooSmall,
         -1);
    return false;
}

void AsciiTransmitter::refreshProgress() {
    const long long queued = state_ == State::Done ? 0 : static_cast<long long>(port_.outputQueued());
    host_.progress().bytesTransferred = std::max(0LL, consumed_ - queued);
}

void AsciiTransmitter::takePause() {
    const int ms = pauses_.front();
    pauses_.pop_front();
    const Clock::Duration now = clock_.now();
    const Clock::Duration base = resumedFromPause_ ? resumedDue_ : now;
    const bool busy = passPausedMs_ + ms < kBusyWaitBudgetMs;
    Clock::Duration due;
    if (busy) {
        passPausedMs_ += ms;
        due = base + std::chrono::milliseconds(ms);
    } else {
        due = base + ticksToDuration((ms + kTickMs - 1) / kTickMs);
    }
    state_ = State::Pausing;
    pauseTimer_.start(std::max(due - now, Clock::Duration(0)), [this, due, busy] {
        resumedFromPause_ = true;
        resumedDue_ = due;
        pass(!busy);
    });
}

void AsciiTransmitter::waitForRoom() {
    state_ = State::WaitingForRoom;
    resumedFromPause_ = false;
    if (s_.TransmitTimeout > 0 && !transmitTimer_.active())
        transmitTimer_.start(ticksToDuration(s_.TransmitTimeout), [this] { timedOut(); });
}

void AsciiTransmitter::outputProgress() {
    if (state_ == State::WaitingForRoom) {
        // Room for a block, as the engine has always waited for; a port
        // with a smaller queue only needs to be empty.
        const size_t wanted = std::min<size_t>(block_.size() + 1, port_.OutSize());
        if (port_.outputFree() < wanted) return;
        transmitTimer_.cancel();
        pass(true);
    } else if (state_ == State::Draining) {
        checkDrained();
    }
}

void AsciiTransmitter::drain() {
    state_ = State::Draining;
    file_.reset();
    if (s_.TransmitTimeout > 0)
        transmitTimer_.start(ticksToDuration(s_.TransmitTimeout), [this] { timedOut(); });
    checkDrained();
}

void AsciiTransmitter::checkDrained() {
    if (port_.outputQueued() != 0) return;
    state_ = State::Done;
    transmitTimer_.cancel();
    refreshProgress();
    host_.setStatus(transfer_status::kEndOfFile);
    host_.finish(transfer_code::kSuccess);
}

void AsciiTransmitter::timedOut() {
    if (state_ != State::WaitingForRoom && state_ != State::Draining) return;
    fail(transfer_code::kTimeOut, transfer_status::kTimeout);
}

}  // namespace zantor
