#include "dnc/port/zmodem_sender.h"

#include <sys/stat.h>

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port/xmodem_blocks.h"

namespace zantor {

using namespace zmodem;

ZmodemSender::ZmodemSender(TransferHost& host) : BinaryProtocolDriver(host) {}

void ZmodemSender::start() {
    if (!openFileToSend(file_)) return;
    host_.progress().blockSize = int(kSubpacket);
    host_.setStatus(transfer_status::kHandshake);
    // "rz" and a return start a receiver waiting at a shell prompt.
    write("rz\r");
    sendHeader(hexHeader(ZRQINIT, {}));
    armTimer(s_.HandshakeWait,
             [this] { end(transfer_code::kTimeOut, transfer_status::kTimeout, true); });
    if (port_.bytesWaiting() > 0) dataAvailable();
}

void ZmodemSender::dataAvailable() {
    while (running() && port_.bytesWaiting() > 0) {
        const Event e = reader_.feed(port_.readByte());
        if (e.kind != Event::None) onEvent(e);
    }
}

void ZmodemSender::onEvent(const Event& e) {
    if (e.kind == Event::Cancel) {
        end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
        return;
    }
    if (e.kind != Event::Header) return;
    switch (e.type) {
        case ZRINIT:
            if (state_ == State::Init) {
                crc32_ = (e.bytes[3] & CANFC32) != 0;
                host_.setStatus(transfer_status::kOk);
                offerFile();
            } else if (state_ == State::EofSent) {
                // The receiver has the whole file.
                sendFin();
            }
            break;
        case ZRPOS:
            if (state_ == State::FileOffered || state_ == State::Streaming ||
                state_ == State::EofSent) {
                // Only asks that make no headway in a row count towards giving up.
                if (positionOf(e.bytes) > lastAskedFrom_) clearErrorRun();
                lastAskedFrom_ = positionOf(e.bytes);
                if (state_ != State::FileOffered) {
                    host_.setStatus(transfer_status::kBadCheck);
                    if (!countError()) {
                        end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
                        return;
                    }
                }
                sendFrom(positionOf(e.bytes));
            }
            break;
        case ZSKIP:
            if (state_ == State::FileOffered) {
                skipped_ = true;
                host_.setStatus(transfer_status::kFileSkipped);
                sendFin();
            }
            break;
        case ZNAK:
            if (!lastHeader_.empty() && state_ != State::Streaming) sendHeader(lastHeader_);
            break;
        case ZFIN:
            if (state_ == State::FinSent) {
                write("OO");
                state_ = State::Done;
                if (!skipped_) host_.progress().bytesTransferred = file_->size();
                if (skipped_)
                    end(transfer_code::kFileRejected, transfer_status::kFileRejected);
                else
                    end(transfer_code::kSuccess, transfer_status::kEndOfFile);
            }
            break;
        case ZABORT:
        case ZCAN:
            end(transfer_code::kCancelRequested, transfer_status::kCancelRequested);
            break;
        case ZFERR:
            end(transfer_code::kUnrecoverable, transfer_status::kProtocolError, true);
            break;
        default:
            break;
    }
}

void ZmodemSender::sendHeader(const std::string& header) {
    lastHeader_ = header;
    write(header);
}

void ZmodemSender::offerFile() {
    state_ = State::FileOffered;
    struct stat info {};
    const long long modified = ::stat(s_.FileMask.c_str(), &info) == 0 ? info.st_mtime : 0;
    const std::string name = sentFileName();
    sendHeader(binaryHeader(ZFILE, {}, crc32_));
    write(dataSubpacket(xmodem::headerData(name, file_->size(), modified) + '\0', ZCRCW, crc32_));
    awaitAnswer();
}

void ZmodemSender::sendFrom(uint32_t position) {
    cancelTimer();
    // What waits to go belongs to a frame the receiver has given up on.
    discardUnsent();
    position_ = queuedFrom_ = std::min<long long>(position, file_->size());
    state_ = State::Streaming;
    host_.progress().bytesTransferred = position_;
    sendHeader(binaryHeader(ZDATA, positionBytes(uint32_t(position_)), crc32_));
    pump();
}

void ZmodemSender::outputProgress() {
    BinaryProtocolDriver::outputProgress();
    if (running() && state_ == State::Streaming) pump();
}

void ZmodemSender::pump() {
    std::string chunk(kSubpacket, '\0');
    while (running() && state_ == State::Streaming && unsent() < kStreamAhead) {
        size_t n = 0;
        try {
            n = file_->readAt(position_, chunk.data(), chunk.size());
        } catch (const FileError& error) {
            end(fileErrorCode(error.errorNumber()), -1, true);
            return;
        }
        position_ += long(n);
        const bool last = n < chunk.size() || position_ >= file_->size();
        // A ZDATA header always has a subpacket after it, if only an empty one.
        write(dataSubpacket(std::string_view(chunk.data(), n), last ? ZCRCE : ZCRCG, crc32_));
        if (last) {
            state_ = State::EofSent;
            sendHeader(binaryHeader(ZEOF, positionBytes(uint32_t(position_)), crc32_));
            awaitAnswer();
        }
    }
}

void ZmodemSender::refreshProgress() {
    if (state_ == State::Streaming || state_ == State::EofSent)
        host_.progress().bytesTransferred = std::max(queuedFrom_, position_ - (long long)unsent());
}

void ZmodemSender::sendFin() {
    state_ = State::FinSent;
    sendHeader(hexHeader(ZFIN, {}));
    awaitAnswer();
}

void ZmodemSender::awaitAnswer() {
    armTimerMs(kAnswerWaitMs, [this] { timedOut(); });
}

void ZmodemSender::timedOut() {
    host_.setStatus(transfer_status::kTimeout);
    if (!countError()) {
        end(transfer_code::kTimeOut, transfer_status::kTimeout, true);
        return;
    }
    if (state_ == State::FileOffered)
        offerFile();
    else if (!lastHeader_.empty())
        sendHeader(lastHeader_);
    awaitAnswer();
}

}  // namespace zantor
