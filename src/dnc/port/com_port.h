#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dnc/port/byte_ring.h"
#include "dnc/port/clock.h"
#include "dnc/port/flow_control.h"
#include "dnc/port/line_settings.h"
#include "dnc/port/port_map.h"
#include "dnc/port/port_trace.h"
#include "dnc/port/serial_device.h"

namespace zantor {

class DeviceProvider;

// What changed on the line, as carried by lineStatusChanged.
enum LineEvent : unsigned {
    kCtsChanged = 1,
    kDsrChanged = 2,
    kDcdChanged = 4,
    kRing = 8,
    kLineError = 16,
    kBreak = 32,
};

enum class SendResult { Sent, OutputBufferFull, PortClosed };

// How far ahead of the line the port writes into the device.
enum class OutputPacing {
    // A few characters ahead of the line's own clock, so that after the
    // machine's XOFF or a dropped CTS only those few still leave.
    LineClock,
    // As far ahead as the device takes, up to kDeviceLeadBytes where the
    // device counts its queue: a UART is paced by its driver, a
    // pseudo-terminal by its reader. For protocols that pace themselves
    // with windows and acknowledgements. While output flow control is in
    // force (XOFF obeyed, CTS or DSR required) the port keeps to the line
    // clock all the same, so that a hold still stops the line at once.
    Device,
};

// The DNC station's serial port on a SerialDevice: fixed-size input and output
// queues, software and hardware flow control with thresholds, DTR and RTS,
// one-shot timers in ticks and events raised in the event loop. Nothing in it
// blocks: writes are queued and paced out as the line can carry them, keeping
// no more than a few characters ahead of the line, so that the bytes that
// still leave after the machine's XOFF are few (see OutputPacing).
class ComPort : public QObject {
    Q_OBJECT
public:
    static constexpr int kWaitTimedOut = 0;
    // The most bytes OutputPacing::Device leaves in a device that counts them.
    static constexpr size_t kDeviceLeadBytes = 2048;

    ComPort(Clock& clock, DeviceProvider& devices, QObject* parent = nullptr);
    ~ComPort() override;

    // Settings; each takes effect at once while the port is open.
    uint16_t ComNumber() const { return comNumber_; }
    void setComNumber(uint16_t number);
    // A device path instead of a numbered port; cleared by setComNumber.
    void setDevicePath(std::string path) { devicePath_ = std::move(path); }
    std::string devicePath() const;
    void setPortMap(PortMap map) { portMap_ = std::move(map); }

    int32_t Baud() const { return line_.Baud; }
    uint16_t DataBits() const { return line_.DataBits; }
    TParity Parity() const { return line_.Parity; }
    uint16_t StopBits() const { return line_.StopBits; }
    const LineSettings& lineSettings() const { return line_; }
    void setBaud(int32_t baud);
    void setDataBits(uint16_t bits);
    void setParity(TParity parity);
    void setStopBits(uint16_t stopBits);
    void setLineSettings(const LineSettings& settings);

    // Queue sizes are fixed while open; a change applies at the next open.
    uint16_t InSize() const { return inSize_; }
    uint16_t OutSize() const { return outSize_; }
    void setInSize(uint16_t size) { inSize_ = size; }
    void setOutSize(uint16_t size) { outSize_ = size; }
    uint16_t BufferFull() const { return bufferFull_; }
    uint16_t BufferResume() const { return bufferResume_; }
    void setBufferFull(uint16_t level);
    void setBufferResume(uint16_t level);

    TSWFlowOptions SWFlowOptions() const { return swFlow_; }
    void setSWFlowOptions(TSWFlowOptions options);
    HWFlowSet HWFlowOptions() const { return hwFlow_; }
    void setHWFlowOptions(HWFlowSet options);
    // While on, XON and XOFF arriving from the line are data like any other
    // byte and hold nothing: a receive in EIA, where they are the codes of
    // "3" and of the end of a comment, must get them. Our own XOFF and XON to
    // throttle the machine still go out.
    void setFlowCharactersAsData(bool on);
    bool flowCharactersAsData() const { return flowCharactersAsData_; }
    OutputPacing outputPacing() const { return pacing_; }
    void setOutputPacing(OutputPacing pacing);
    // A port standing for a line of its baud rate on a device that carries
    // any amount at once (a simulated control on a pty) keeps to the line
    // clock whatever pacing is asked for.
    void setLineClockOnly(bool on);
    uint8_t XOnChar() const { return xonChar_; }
    uint8_t XOffChar() const { return xoffChar_; }
    void setXOnChar(uint8_t c) { xonChar_ = c; }
    void setXOffChar(uint8_t c) { xoffChar_ = c; }

    bool DTR() const { return dtr_; }
    bool RTS() const { return rts_; }
    void setDtr(bool on);
    void setRts(bool on);
    void setBreak(bool on);

    bool Open() const { return device_ != nullptr; }
    // Opens with the current settings; the failure says why (nothing is queued then).
    std::optional<OpenFailure> open();
    void close();

    PortTrace& trace() { return trace_; }

    SendResult sendByte(uint8_t b);
    SendResult sendText(std::string_view text);
    SendResult sendBlock(const uint8_t* bytes, size_t count);

    size_t bytesWaiting() const { return input_.size(); }
    // The oldest received byte; call only when bytesWaiting() > 0.
    uint8_t readByte();
    // Up to `max` received bytes.
    std::string readAvailable(size_t max = SIZE_MAX);
    // Bytes not yet on the line: the output queue and what the driver still holds.
    size_t outputQueued() const;
    size_t outputFree() const { return output_.free(); }
    void discardInput();
    // Drops the output queue; paced by the device, also what the driver
    // holds, so that what is sent next (a protocol's cancel) goes at once.
    void discardOutput();

    FlowState flowState() const;
    ModemLines modemLines() const { return lines_; }
    LineErrorCounts lineErrors() const { return errors_; }

    int addTimer();
    void armTimer(int handle, int ticks);

    // Reads incoming bytes until one of the strings of `list` (split at
    // `separator`) has arrived: its 1-based index, or kWaitTimedOut when the
    // timeout passes first or the port closes. Events keep being handled.
    int waitForAnyString(std::string_view list, std::string_view separator, int timeoutTicks,
                         bool ignoreCase);

    Clock& clock() { return clock_; }

signals:
    void dataAvailable();
    void lineStatusChanged(unsigned events);
    void timerFired(int handle);
    // Bytes were queued for sending.
    void dataQueued();
    // Bytes left the output queue for the line, or the line has carried the
    // last of them: a writer waiting for room or for the queue to drain
    // looks again.
    void outputProgress();
    // The device vanished while open; the port is closed now.
    void portLost();

private:
    void applyLine(const LineSettings& settings);
    template <typename T>
    void changeLine(T LineSettings::*field, T value);
    void pullInput();
    void inputTaken();
    void sendControl(uint8_t c);
    void record(PortTrace::Direction direction, const uint8_t* bytes, size_t count);
    void takeIncoming(const uint8_t* bytes, size_t count);
    void updateReceiveFlow();
    void pumpOutput();
    size_t pumpByLineClock(uint8_t* buffer);
    size_t pumpByDevice(uint8_t* buffer);
    bool pacedByDevice() const;
    bool writeToDevice(const uint8_t* buffer, size_t count, size_t& written);
    void schedulePump(Clock::Duration at);
    bool transmitHeld() const;
    bool hardwareHeld() const;
    bool sendNow(uint8_t b);
    void driveLines();
    void onModemLines();
    void onLineErrors();
    void onDeviceLost();
    Clock::Duration leadTime() const;
    size_t charactersAhead() const;

    Clock& clock_;
    DeviceProvider& devices_;
    std::shared_ptr<SerialDevice> device_;
    PortMap portMap_;
    std::string devicePath_;
    PortTrace trace_;

    uint16_t comNumber_ = 1;
    LineSettings line_;
    uint16_t inSize_ = 8192, outSize_ = 8192;
    uint16_t bufferFull_ = 6140, bufferResume_ = 2048;
    TSWFlowOptions swFlow_ = TSWFlowOptions::swfBoth;
    HWFlowSet hwFlow_ = 0;
    uint8_t xonChar_ = 0x11, xoffChar_ = 0x13;
    bool dtr_ = true, rts_ = true;

    ByteRing input_, output_;
    bool flowCharactersAsData_ = false;
    OutputPacing pacing_ = OutputPacing::LineClock;
    bool lineClockOnly_ = false;
    bool xoffReceived_ = false;              // the machine holds our output
    bool xoffSent_ = false;                  // we hold the machine's output by XOFF
    bool receiveHeld_ = false;               // we hold it by RTS/DTR
    std::optional<uint8_t> pendingControl_;  // an XON/XOFF the driver refused
    bool inputStalled_ = false;
    bool pumping_ = false;
    bool drainReported_ = false;  // outputProgress told of the empty line
    Clock::Duration lineFreeAt_{0};
    std::optional<Clock::CallbackId> pumpTimer_;
    std::optional<Clock::CallbackId> pullTimer_;
    Clock::Duration pumpAt_{0};
    ModemLines lines_;
    LineErrorCounts errors_;

    std::map<int, std::optional<Clock::CallbackId>> timers_;
    int nextTimer_ = 1;
};

}  // namespace zantor
