#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "dnc/port/line_settings.h"

namespace zantor {

// Input lines of the modem status register.
struct ModemLines {
    bool cts = false;
    bool dsr = false;
    bool dcd = false;
    bool ri = false;
    bool operator==(const ModemLines&) const = default;
};

// Running totals of the receive side's line errors since the device opened.
struct LineErrorCounts {
    uint32_t overrun = 0;
    uint32_t parity = 0;
    uint32_t framing = 0;
    uint32_t breaks = 0;
    bool operator==(const LineErrorCounts&) const = default;
};

// Why an open failed: the system's error number and a sentence for the user.
struct OpenFailure {
    int errorNumber = 0;
    std::string message;
};

// One serial device with non-blocking I/O. Notifications are Qt signals raised
// in the event loop of the thread that owns the device.
class SerialDevice : public QObject {
    Q_OBJECT
public:
    ~SerialDevice() override = default;

    // Opens `path` with `settings`, DTR and RTS on. nullopt on success.
    virtual std::optional<OpenFailure> open(const std::string& path,
                                            const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool applySettings(const LineSettings& settings) = 0;

    // Bytes read, 0 when none are waiting, -1 when the device is gone.
    virtual ptrdiff_t read(uint8_t* buffer, size_t capacity) = 0;
    // Bytes accepted (0 when the driver is full), -1 when the device is gone.
    virtual ptrdiff_t write(const uint8_t* bytes, size_t count) = 0;
    // Bytes written but not yet on the line, when the driver knows a true count.
    virtual std::optional<size_t> outputQueued() const = 0;
    // Drops what was written but has not gone on the line yet.
    virtual void discardOutput() = 0;

    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual void setBreak(bool on) = 0;
    // Reads the modem lines now.
    virtual ModemLines modemLines() = 0;
    virtual LineErrorCounts lineErrors() const = 0;

signals:
    void readyRead();
    // Room in the driver again after a write was refused, or bytes left the driver.
    void readyWrite();
    void modemLinesChanged();
    void lineErrorsChanged();
    // The device vanished while open (adapter unplugged, peer of a pty closed).
    void deviceLost();
};

}  // namespace zantor
