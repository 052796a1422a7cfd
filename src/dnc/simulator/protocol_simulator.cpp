#include "dnc/simulator/protocol_simulator.h"

#include <filesystem>

#include "core/file_io.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/simulator/received_programs.h"
#include "dnc/transfer_setup.h"

namespace zantor::sim {

ProtocolSimulator::ProtocolSimulator(int masterFd, const MachComRec& machine,
                                     int charactersPerSecond, std::string folder)
    : devices_(clock_, masterFd),
      port_(clock_, devices_),
      transfer_(port_),
      machine_(machine),
      folder_(std::move(folder)) {
    // Ten bits a character: eight data bits, no parity, one stop bit.
    port_.setLineSettings({charactersPerSecond > 0 ? charactersPerSecond * 10 : 115200, 8,
                           TParity::pNone, 1});
    // The protocols carry XON and XOFF as data, also between transfers.
    port_.setSWFlowOptions(TSWFlowOptions::swfNone);
    // A pty carries anything at once: the port's clock is the line's speed.
    port_.setLineClockOnly(true);
    port_.setDevicePath("pty");
    port_.open();
    QObject::connect(&transfer_, &FileTransfer::OnProtocolFinish,
                     [this](int code) { finished(code); });
}

ProtocolSimulator::~ProtocolSimulator() {
    stop();
}

void ProtocolSimulator::punch(std::string file) {
    punch_ = std::move(file);
}

void ProtocolSimulator::punchNow(std::string file) {
    punch_ = std::move(file);
    if (idle_ || sending_ || transfer_.progress().bytesTransferred > 0) return;
    // The receive ends on a closed port, where its cancel cannot go out.
    port_.close();
    transfer_.cancel();
    port_.open();
}

void ProtocolSimulator::stop() {
    transfer_.cancel();
    // The cancel sequence goes out before the port closes.
    clock_.waitUntil([&] { return port_.outputQueued() == 0; }, std::chrono::milliseconds(500),
                     WaitMode::Responsive);
    port_.close();
}

std::vector<std::string> ProtocolSimulator::run(std::chrono::milliseconds slice) {
    // A transfer starts from here, never from the end of the one before
    // (its driver is still on the stack then).
    if (idle_ && port_.Open()) startNext();
    clock_.sleep(slice, WaitMode::Responsive);
    return std::exchange(news_, {});
}

void ProtocolSimulator::startNext() {
    if (!punch_ && !listening_) return;
    idle_ = false;
    sending_ = punch_.has_value();
    const auto direction = sending_ ? TransferDirection::Sending : TransferDirection::Receiving;
    setupForMachine(transfer_, machine_, false, direction);
    if (sending_) {
        transfer_.FileMask = *punch_;
        transfer_.SendAsName.clear();
        transfer_.startTransmit();
    } else {
        transfer_.FileName = ReceivedPrograms::freeName(folder_);
        transfer_.startReceive();
    }
}

void ProtocolSimulator::finished(int code) {
    idle_ = true;
    const TransferProgress& progress = transfer_.progress();
    (sending_ ? bytesSent_ : bytesReceived_) += progress.bytesTransferred;
    if (code == transfer_code::kSuccess) {
        if (sending_) {
            news_.push_back("Punched " + *punch_);
            punch_.reset();
            listening_ = true;
        } else if (fileExists(transfer_.FileName)) {
            news_.push_back("Received " + transfer_.FileName);
        }
        return;
    }
    // Nobody at the other end yet, or only the far side's own start: wait
    // for them with the next start.
    const bool nothingBegun =
        progress.bytesTransferred == 0 &&
        (code == transfer_code::kTimeOut || code == transfer_code::kCancelRequested ||
         code == transfer_code::kUnrecoverable);
    if (nothingBegun) return;
    const std::string what = sending_ ? "The punch of " + *punch_ : std::string("A receive");
    news_.push_back(what + " failed: " + std::to_string(code) + " " + progress.statusText);
    // Offered again, a file the far side refuses or that cannot be read
    // would fail the same way for ever.
    const bool hopeless = code == transfer_code::kFileRejected ||
                          code == transfer_code::kFileNotFound ||
                          code == transfer_code::kPathNotFound ||
                          code == transfer_code::kAccessDenied;
    if (sending_ && hopeless) {
        punch_.reset();
        listening_ = true;
    }
}

}  // namespace zantor::sim
