#include "dnc/port/file_transfer.h"

#include "dnc/port/ascii_receiver.h"
#include "dnc/port/ascii_transmitter.h"
#include "dnc/port/com_port.h"
#include "dnc/port/kermit_receiver.h"
#include "dnc/port/kermit_sender.h"
#include "dnc/port/xmodem_receiver.h"
#include "dnc/port/xmodem_sender.h"
#include "dnc/port/zmodem_receiver.h"
#include "dnc/port/zmodem_sender.h"

namespace zantor {

class FileTransfer::Host : public TransferHost {
public:
    explicit Host(FileTransfer& transfer) : t_(transfer) {}
    ComPort& port() override { return t_.port_; }
    const TransferSettings& settings() const override { return t_; }
    TransferProgress& progress() override { return t_.progress_; }
    void setStatus(int status) override {
        t_.progress_.status = status;
        t_.progress_.statusText = statusText(status);
    }
    bool keepsPartialFile(int code) const override {
        return zantor::keepsPartialFile(code, t_.ProtocolType, t_.ProtocolLog.DeleteFailed);
    }
    void fail(int code) override { t_.end(code, true); }
    void finish(int code) override { t_.end(code, false); }

private:
    FileTransfer& t_;
};

FileTransfer::FileTransfer(ComPort& port, QObject* parent)
    : QObject(parent),
      port_(port),
      host_(std::make_unique<Host>(*this)),
      statusTimer_(port.clock()),
      startFailure_(port.clock()) {}

FileTransfer::~FileTransfer() {
    for (const auto& c : connections_) disconnect(c);
    if (driver_) driver_->stop(transfer_code::kCancelRequested);
}

std::unique_ptr<ProtocolDriver> FileTransfer::makeDriver(bool receiving) {
    switch (ProtocolType) {
        case ptAscii:
            if (receiving) return std::make_unique<AsciiReceiver>(*host_);
            return std::make_unique<AsciiTransmitter>(*host_);
        case ptXmodemCRC:
        case ptYmodem: {
            const bool batch = ProtocolType == ptYmodem;
            if (receiving) return std::make_unique<XmodemReceiver>(*host_, batch);
            return std::make_unique<XmodemSender>(*host_, batch);
        }
        case ptZmodem:
            if (receiving) return std::make_unique<ZmodemReceiver>(*host_);
            return std::make_unique<ZmodemSender>(*host_);
        case ptKermit:
            if (receiving) return std::make_unique<KermitReceiver>(*host_);
            return std::make_unique<KermitSender>(*host_);
        default:
            return nullptr;
    }
}

void FileTransfer::startTransmit() {
    start(false);
}

void FileTransfer::startReceive() {
    start(true);
}

void FileTransfer::start(bool receiving) {
    if (inProgress_) return;
    ended_.reset();
    inProgress_ = true;
    ending_ = false;
    progress_ = TransferProgress{};
    progress_.protocol = ProtocolType;
    progress_.receiving = receiving;
    progress_.blockCheck = BlockCheckMethod;
    progress_.fileName = receiving ? FileName : FileMask;
    const auto characterNs = characterTime(port_.lineSettings()).count();
    progress_.lineCharactersPerSecond = characterNs > 0 ? 1e9 / double(characterNs) : 0;
    host_->setStatus(transfer_status::kOk);
    startedAt_ = port_.clock().now();

    connections_.push_back(connect(&port_, &ComPort::dataAvailable, this, [this] {
        if (driver_) driver_->dataAvailable();
    }));
    connections_.push_back(connect(&port_, &ComPort::outputProgress, this, [this] {
        if (driver_) driver_->outputProgress();
    }));
    connections_.push_back(connect(&port_, &ComPort::portLost, this, [this] {
        endFromOutside(transfer_code::kCarrierLost, transfer_status::kCarrierLost, true);
    }));

    ProtocolLog.started(ProtocolType, receiving, progress_.fileName);

    // A start that fails at once still ends from the event loop, so that the
    // caller has returned from start* before it hears of the end.
    starting_ = true;
    if (!port_.Open()) {
        host_->fail(transfer_code::kNotOpen);
    } else if ((driver_ = makeDriver(receiving))) {
        driver_->start();
    } else {
        host_->fail(transfer_code::kNotSupported);
    }
    starting_ = false;
    // Shown once the driver knows what it transfers (the file's size).
    if (StatusDisplay && inProgress_ && !ending_) {
        StatusDisplay->transferStarted(*this, progress_);
        showProgress();
    }
}

void FileTransfer::showProgress() {
    if (!StatusDisplay || !inProgress_) return;
    if (driver_) driver_->refreshProgress();
    progress_.elapsed = port_.clock().now() - startedAt_;
    StatusDisplay->updateProgress(progress_);
    statusTimer_.start(ticksToDuration(std::max(StatusInterval, 1)), [this] { showProgress(); });
}

void FileTransfer::cancel() {
    endFromOutside(transfer_code::kCancelRequested, transfer_status::kCancelRequested, false);
}

void FileTransfer::endFromOutside(int code, int status, bool withError) {
    if (!inProgress_ || ending_) return;
    host_->setStatus(status);
    if (driver_) {
        driver_->refreshProgress();
        driver_->stop(code);
    }
    end(code, withError);
}

void FileTransfer::end(int code, bool withError) {
    if (!inProgress_ || ending_) return;
    if (starting_) {
        startFailure_.start(Clock::Duration(0), [this, code, withError] { end(code, withError); });
        return;
    }
    ending_ = true;
    statusTimer_.cancel();
    startFailure_.cancel();
    for (const auto& c : connections_) disconnect(c);
    connections_.clear();
    ended_ = std::move(driver_);

    progress_.elapsed = port_.clock().now() - startedAt_;
    if (code != transfer_code::kSuccess && progress_.status == transfer_status::kOk)
        progress_.statusText = protocolErrorText(code);
    if (code == transfer_code::kSuccess) {
        const long long ticks = progress_.elapsed / ticksToDuration(1);
        ProtocolLog.finishedOk(ProtocolType, progress_.receiving, progress_.fileName, ticks,
                               progress_.bytesTransferred);
    } else {
        ProtocolLog.failed(ProtocolType, progress_.receiving, progress_.fileName,
                           progress_.statusText);
    }
    lastCode_ = code;
    if (StatusDisplay) StatusDisplay->transferEnded(progress_, code);
    if (withError) emit OnProtocolError(code);
    inProgress_ = false;
    emit OnProtocolFinish(code);
}

}  // namespace zantor
