#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dnc/port/clock.h"
#include "dnc/port/serial_device.h"
#include "dnc/port/serial_frame.h"

namespace zantor {

// An in-memory null modem for tests and benchmarks. The device end behaves as
// a serial port; the peer end is the machine at the far side of the cable.
// Every character takes its frame time on the line (in the clock's time), is
// sent as bits with the sender's framing and read with the receiver's, so
// wrong data bits, parity or baud show up as on a real line. The wiring is a
// full null modem: DTR to DSR and DCD, RTS to CTS.
class FakeSerialDevice : public SerialDevice {
    Q_OBJECT
public:
    static constexpr size_t kDriverBufferSize = 4096;

    struct Arrival {
        uint8_t byte;
        Clock::Duration at;  // when the last bit arrived
        bool deviceDtr;      // the device's DTR at that moment
    };

    class Peer {
    public:
        // The peer's framing; by default the device's own.
        void setLineSettings(std::optional<LineSettings> settings) { settings_ = settings; }
        LineSettings lineSettings() const;

        void write(std::string_view bytes);
        void sendBreak();
        // Counts of line errors the device's receiver will report next.
        void injectLineErrors(const LineErrorCounts& extra);
        // The cable is pulled: the device reports itself lost.
        void unplug();

        void setDtr(bool on);
        void setRts(bool on);
        void setRing(bool on);
        // What the peer's own modem-status lines show.
        ModemLines lines() const;

        std::string received() const;
        const std::vector<Arrival>& arrivals() const { return arrivals_; }
        void clearReceived() { arrivals_.clear(); }
        const LineErrorCounts& lineErrors() const { return errors_; }
        // Called for every byte that arrives, after it is recorded.
        std::function<void(uint8_t)> onByte;

    private:
        friend class FakeSerialDevice;
        explicit Peer(FakeSerialDevice& device) : device_(device) {}
        FakeSerialDevice& device_;
        std::optional<LineSettings> settings_;
        std::vector<Arrival> arrivals_;
        LineErrorCounts errors_;
        bool dtr_ = true, rts_ = true, ring_ = false;
    };

    explicit FakeSerialDevice(Clock& clock);
    ~FakeSerialDevice() override;

    Peer& peer() { return peer_; }
    // Test switches for the failures of open.
    void setBusy(bool busy) { busy_ = busy; }
    void setAccessDenied(bool denied) { accessDenied_ = denied; }
    // The driver takes no bytes (its buffer is full), and says nothing when
    // that ends: the port must find the room again by itself.
    void setWritesRefused(bool refused) { writesRefused_ = refused; }
    const LineSettings& lineSettings() const { return settings_; }
    // Every change of the device's open state, DTR and RTS, in order.
    struct LineChange {
        Clock::Duration at;
        bool open, dtr, rts;
        bool operator==(const LineChange&) const = default;
    };
    const std::vector<LineChange>& lineChanges() const { return lineChanges_; }
    bool dtr() const { return open_ && dtr_; }
    bool rts() const { return open_ && rts_; }

    std::optional<OpenFailure> open(const std::string& path, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
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

private:
    struct InFlight {
        SerialFrame frame;
        LineSettings sender;
        Clock::Duration completes;
    };
    // One direction of the cable.
    struct Wire {
        std::deque<InFlight> frames;
        Clock::Duration busyUntil{0};
        std::optional<Clock::CallbackId> pending;
    };

    void transmit(Wire& wire, const SerialFrame& frame, const LineSettings& sender);
    void schedule(Wire& wire);
    void deliverToPeer();
    void deliverToDevice();
    void receiveAtPeer(const InFlight& sent);
    void receiveAtDevice(const InFlight& sent);
    void cancelWire(Wire& wire);
    void recordLines();

    Clock& clock_;
    Peer peer_;
    bool busy_ = false, accessDenied_ = false, lost_ = false;
    bool writesRefused_ = false;
    bool open_ = false;
    bool dtr_ = false, rts_ = false, break_ = false;
    LineSettings settings_;
    Wire toPeer_, toDevice_;
    std::deque<uint8_t> received_;
    LineErrorCounts errors_;
    std::vector<LineChange> lineChanges_;
};

}  // namespace zantor
