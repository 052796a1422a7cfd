#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "dnc/port/clock_timer.h"
#include "dnc/port/protocol_driver.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port/transfer_history.h"
#include "dnc/port/transfer_progress.h"
#include "dnc/port/transfer_settings.h"

namespace zantor {

class ComPort;

// The file transfer engine of the DNC station: sends the file FileMask or
// receives into FileName on a ComPort, by the protocol ProtocolType, with
// the settings it inherits. It runs in the event loop on the port's events
// and clock; start* return at once, and the end is reported by
// OnProtocolFinish exactly once (code 0 for success), after OnProtocolError
// for a fatal error. A protocol without a driver ends at once with
// "Function not supported by protocol".
class FileTransfer : public QObject, public TransferSettings {
    Q_OBJECT
public:
    explicit FileTransfer(ComPort& port, QObject* parent = nullptr);
    ~FileTransfer() override;

    ProtocolStatusDisplay* StatusDisplay = nullptr;  // none: no progress shown
    TransferHistory ProtocolLog;

    void startTransmit();
    void startReceive();
    bool inProgress() const { return inProgress_; }
    // Ends the transfer with "Cancel requested" (no error event).
    void cancel();

    const TransferProgress& progress() const { return progress_; }
    // The code of the last transfer that ended.
    int lastCode() const { return lastCode_; }
    ComPort& port() { return port_; }

signals:
    void OnProtocolError(int code);
    void OnProtocolFinish(int code);

private:
    class Host;
    void start(bool receiving);
    // The driver of ProtocolType; none for a protocol not carried out.
    std::unique_ptr<ProtocolDriver> makeDriver(bool receiving);
    void end(int code, bool withError);
    void endFromOutside(int code, int status, bool withError);
    void showProgress();

    ComPort& port_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<ProtocolDriver> driver_;
    std::unique_ptr<ProtocolDriver> ended_;  // kept until the next start: it may still be on the stack
    TransferProgress progress_;
    ClockTimer statusTimer_;
    ClockTimer startFailure_;
    Clock::Duration startedAt_{0};
    bool inProgress_ = false;
    bool starting_ = false;
    bool ending_ = false;
    int lastCode_ = 0;
    std::vector<QMetaObject::Connection> connections_;
};

}  // namespace zantor
