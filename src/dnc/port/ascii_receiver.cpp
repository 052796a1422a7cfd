#include "dnc/port/ascii_receiver.h"

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

namespace {
constexpr uint8_t kCtrlZ = 0x1A;
}  // namespace

AsciiReceiver::AsciiReceiver(TransferHost& host)
    : host_(host),
      port_(host.port()),
      s_(host.settings()),
      endOfFileTimer_(host.port().clock()) {}

void AsciiReceiver::start() {
    if (s_.FileName.empty()) {
        host_.fail(transfer_code::kNoFileName);
        return;
    }
    if (s_.WriteFailAction == wfWriteFail && fileExists(s_.FileName)) {
        host_.setStatus(transfer_status::kFileRejected);
        host_.fail(transfer_code::kFileRejected);
        return;
    }
    try {
        file_.emplace(s_.FileName, 0);
    } catch (const FileError&) {
        host_.setStatus(transfer_status::kCannotWrite);
        host_.fail(transfer_code::kCannotWrite);
        return;
    }
    receiving_ = true;
    port_.setFlowCharactersAsData(true);
    armEndOfFile();
    // A first byte that a wait for it left in the queue belongs to the file.
    if (port_.bytesWaiting() > 0) dataAvailable();
}

void AsciiReceiver::armEndOfFile() {
    endOfFileTimer_.start(ticksToDuration(std::max(s_.AsciiEOFTimeout, 0)),
                          [this] { endOfFile(); });
}

void AsciiReceiver::dataAvailable() {
    if (!receiving_) return;
    const std::string bytes = port_.readAvailable();
    if (bytes.empty()) return;
    armEndOfFile();
    host_.progress().bytesTransferred += long(bytes.size());
    for (const char c : bytes) {
        switch (uint8_t(c)) {
            case 0x00:
                break;
            case '\n':
                if (s_.AsciiLFTranslation == aetAddCRBefore)
                    buffer_ += "\r\n";
                else if (s_.AsciiLFTranslation != aetStrip)
                    buffer_ += '\n';
                break;
            case '\r':
                if (s_.AsciiCRTranslation == aetAddLFAfter)
                    buffer_ += "\r\n";
                else if (s_.AsciiCRTranslation != aetStrip)
                    buffer_ += '\r';
                break;
            case kCtrlZ:
                if (s_.AsciiCtrlZIsData)
                    buffer_ += c;
                else if (!s_.AsciiSuppressCtrlZ)
                    buffer_ += '\x03';
                break;
            default:
                buffer_ += c;
        }
    }
    if (buffer_.size() >= kDiskBuffer && !flush()) cannotWrite();
}

bool AsciiReceiver::flush() {
    if (buffer_.empty()) return true;
    if (s_.RTSLowForWrite) port_.setRts(false);
    bool written = true;
    try {
        file_->write(buffer_);
        stored_ += long(buffer_.size());
    } catch (const FileError&) {
        written = false;
    }
    if (s_.RTSLowForWrite) port_.setRts(true);
    buffer_.clear();
    return written;
}

void AsciiReceiver::endOfFile() {
    if (!receiving_) return;
    if (!flush()) {
        cannotWrite();
        return;
    }
    if (stored_ == 0) {
        close(false);
        host_.setStatus(transfer_status::kNothingReceived);
        host_.finish(transfer_code::kNothingReceived);
        return;
    }
    try {
        file_->commit();
    } catch (const FileError&) {
        cannotWrite();
        return;
    }
    host_.progress().fileWritten = true;
    close(false);
    host_.setStatus(transfer_status::kEndOfFile);
    host_.finish(transfer_code::kSuccess);
}

void AsciiReceiver::cannotWrite() {
    close(true);
    host_.setStatus(transfer_status::kCannotWrite);
    host_.fail(transfer_code::kCannotWrite);
}

void AsciiReceiver::stop(int code) {
    if (!receiving_) return;
    const bool keep = host_.keepsPartialFile(code);
    if (keep) flush();
    close(keep);
}

void AsciiReceiver::close(bool keep) {
    receiving_ = false;
    endOfFileTimer_.cancel();
    port_.setFlowCharactersAsData(false);
    if (keep && file_) {
        try {
            file_->commit();
            host_.progress().fileWritten = true;
        } catch (const FileError&) {
            // Nothing more can be kept; the temporary file goes with the writer.
        }
    }
    file_.reset();
}

}  // namespace zantor
