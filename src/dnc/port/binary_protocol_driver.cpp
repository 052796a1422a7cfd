#include "dnc/port/binary_protocol_driver.h"

#include <filesystem>

#include "dnc/port/com_port.h"
#include "dnc/port/transfer_codes.h"

namespace zantor {

namespace {
// Damaged or lost blocks in a row before a transfer gives up.
constexpr int kErrorLimit = 10;
}  // namespace

BinaryProtocolDriver::BinaryProtocolDriver(TransferHost& host)
    : host_(host), port_(host.port()), s_(host.settings()), timer_(host.port().clock()) {}

BinaryProtocolDriver::~BinaryProtocolDriver() {
    restoreLine();
}

bool BinaryProtocolDriver::takeLine() {
    running_ = true;
    savedFlow_ = port_.SWFlowOptions();
    // An XOFF byte inside a block must not hold our output, nor may we drop
    // one into the peer's stream.
    port_.setSWFlowOptions(TSWFlowOptions::swfNone);
    // Windows and acknowledgements pace the transfer: the line need not
    // wait on its own clock (on a pty it has none).
    savedPacing_ = port_.outputPacing();
    port_.setOutputPacing(OutputPacing::Device);
    lineTaken_ = true;
    return true;
}

void BinaryProtocolDriver::restoreLine() {
    if (!lineTaken_) return;
    lineTaken_ = false;
    port_.setSWFlowOptions(savedFlow_);
    port_.setOutputPacing(savedPacing_);
}

std::string BinaryProtocolDriver::sentFileName() const {
    return std::filesystem::path(s_.SendAsName.empty() ? s_.FileMask : s_.SendAsName)
        .filename()
        .string();
}

void BinaryProtocolDriver::write(std::string_view bytes) {
    if (outPos_ == out_.size()) {
        out_.clear();
        outPos_ = 0;
    }
    out_.append(bytes);
    flushOutput();
}

void BinaryProtocolDriver::discardUnsent() {
    out_.clear();
    outPos_ = 0;
    port_.discardOutput();
}

size_t BinaryProtocolDriver::unsent() const {
    return out_.size() - outPos_ + port_.outputQueued();
}

void BinaryProtocolDriver::flushOutput() {
    // The port reports progress from inside sendBlock: no second pass then.
    if (flushing_) return;
    flushing_ = true;
    while (outPos_ < out_.size()) {
        const size_t room = std::min(port_.outputFree(), out_.size() - outPos_);
        if (room == 0) break;
        const size_t from = outPos_;
        outPos_ += room;
        if (port_.sendBlock(reinterpret_cast<const uint8_t*>(out_.data() + from), room) !=
            SendResult::Sent) {
            outPos_ = from;
            break;
        }
    }
    flushing_ = false;
}

void BinaryProtocolDriver::outputProgress() {
    if (!running_) return;
    flushOutput();
}

void BinaryProtocolDriver::armTimer(int ticks, std::function<void()> onTimeOut) {
    timer_.start(ticksToDuration(ticks), std::move(onTimeOut));
}

void BinaryProtocolDriver::armTimerMs(int ms, std::function<void()> onTimeOut) {
    timer_.start(std::chrono::milliseconds(ms), std::move(onTimeOut));
}

bool BinaryProtocolDriver::countError() {
    ++host_.progress().blockErrors;
    ++host_.progress().totalErrors;
    return ++errorRun_ < kErrorLimit;
}

void BinaryProtocolDriver::end(int code, int status, bool cancelPeer) {
    if (!running_) return;
    running_ = false;
    timer_.cancel();
    if (cancelPeer && port_.Open()) {
        discardUnsent();
        port_.sendText(cancelSequence());
    }
    releaseFile(code != transfer_code::kSuccess && host_.keepsPartialFile(code));
    restoreLine();
    if (status >= 0) host_.setStatus(status);
    if (code == transfer_code::kSuccess)
        host_.finish(code);
    else
        host_.fail(code);
}

void BinaryProtocolDriver::stop(int code) {
    if (!running_) return;
    running_ = false;
    timer_.cancel();
    if (port_.Open()) {
        discardUnsent();
        if (code == transfer_code::kCancelRequested) port_.sendText(cancelSequence());
    }
    releaseFile(host_.keepsPartialFile(code));
    restoreLine();
}

bool BinaryProtocolDriver::openFileToSend(std::optional<ReadableFile>& file) {
    if (s_.FileMask.empty()) {
        host_.fail(transfer_code::kFileNotFound);
        return false;
    }
    try {
        file.emplace(s_.FileMask);
    } catch (const FileError& error) {
        host_.fail(fileErrorCode(error.errorNumber()));
        return false;
    }
    takeLine();
    host_.progress().fileSize = file->size();
    return true;
}

void BinaryProtocolDriver::releaseReceivedFile(std::optional<ReceivedFile>& file,
                                               bool keepPart) {
    if (keepPart && file) {
        try {
            file->keep();
            host_.progress().fileWritten = true;
        } catch (const FileError&) {
            // Nothing more can be kept.
        }
    }
    file.reset();
}

}  // namespace zantor
