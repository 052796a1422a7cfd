#pragma once

#include "dnc/port/transfer_progress.h"
#include "dnc/port/transfer_settings.h"

namespace zantor {

class ComPort;

// What a protocol gets from the FileTransfer that runs it.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    virtual ComPort& port() = 0;
    virtual const TransferSettings& settings() const = 0;
    virtual TransferProgress& progress() = 0;
    virtual void setStatus(int status) = 0;
    // Whether a receive that failed with `code` keeps what it captured.
    virtual bool keepsPartialFile(int code) const = 0;
    // A fatal error: the error event now, then the end with `code`.
    virtual void fail(int code) = 0;
    // The end: `code` 0 for success.
    virtual void finish(int code) = 0;
};

// One direction of one protocol (the ASCII transmitter, the ASCII receiver,
// later the published protocols), driven by the port's events. A driver
// ends by calling its host's fail or finish exactly once, after which it is
// called no more.
class ProtocolDriver {
public:
    virtual ~ProtocolDriver() = default;
    virtual void start() = 0;
    virtual void dataAvailable() {}
    virtual void outputProgress() {}
    // Brings the progress's byte count up to date (before it is shown).
    virtual void refreshProgress() {}
    // The transfer is ended from outside (cancel, the line lost) with
    // `code`: let go of everything now; the host reports the end.
    virtual void stop(int code) = 0;
};

}  // namespace zantor
