#pragma once

#include <memory>
#include <optional>

#include "dnc/port/clock.h"
#include "dnc/port/serial_device.h"
#include "dnc/port/unique_fd.h"

class QSocketNotifier;

namespace zantor {

// A Linux tty driven through termios with non-blocking I/O. Flow control is
// left to the port above it (the kernel's IXON/IXOFF and CRTSCTS stay off), so
// the port can bound what leaves after an XOFF. Modem lines and the driver's
// error counters are read once a tick while open, where the driver has them.
class TermiosDevice : public SerialDevice {
    Q_OBJECT
public:
    explicit TermiosDevice(Clock& clock);
    ~TermiosDevice() override;

    std::optional<OpenFailure> open(const std::string& path, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return fd_.valid(); }
    bool applySettings(const LineSettings& settings) override;
    ptrdiff_t read(uint8_t* buffer, size_t capacity) override;
    ptrdiff_t write(const uint8_t* bytes, size_t count) override;
    std::optional<size_t> outputQueued() const override;
    void discardOutput() override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void setBreak(bool on) override;
    ModemLines modemLines() override;
    LineErrorCounts lineErrors() const override { return errors_; }

protected:
    // Runs the device on `fd`, a tty already set up: the rest of an open.
    void adopt(UniqueFd fd);

private:
    void poll();
    void schedulePoll();
    std::optional<LineErrorCounts> readCounters() const;
    void markLost();

    Clock& clock_;
    UniqueFd fd_;
    std::unique_ptr<QSocketNotifier> readNotifier_, writeNotifier_;
    std::optional<Clock::CallbackId> pollTimer_;
    bool hasModemLines_ = false;
    bool trueOutputCount_ = false;
    bool lost_ = false;
    ModemLines lines_;
    LineErrorCounts baseCounters_, errors_;
};

}  // namespace zantor
