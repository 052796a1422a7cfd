#include "dnc/port/fake_serial_device.h"

#include <cerrno>

#include "dnc/port/open_failure.h"

namespace zantor {

LineSettings FakeSerialDevice::Peer::lineSettings() const {
    return settings_.value_or(device_.settings_);
}

void FakeSerialDevice::Peer::write(std::string_view bytes) {
    const LineSettings sender = lineSettings();
    for (const char c : bytes)
        device_.transmit(device_.toDevice_, encodeFrame(uint8_t(c), sender), sender);
}

void FakeSerialDevice::Peer::sendBreak() {
    device_.transmit(device_.toDevice_, breakFrame(lineSettings()), lineSettings());
}

void FakeSerialDevice::Peer::injectLineErrors(const LineErrorCounts& extra) {
    LineErrorCounts& e = device_.errors_;
    e.overrun += extra.overrun;
    e.parity += extra.parity;
    e.framing += extra.framing;
    e.breaks += extra.breaks;
    if (device_.open_) emit device_.lineErrorsChanged();
}

void FakeSerialDevice::Peer::unplug() {
    device_.lost_ = true;
    if (device_.open_) emit device_.deviceLost();
}

void FakeSerialDevice::Peer::setDtr(bool on) {
    dtr_ = on;
    if (device_.open_) emit device_.modemLinesChanged();
}

void FakeSerialDevice::Peer::setRts(bool on) {
    rts_ = on;
    if (device_.open_) emit device_.modemLinesChanged();
}

void FakeSerialDevice::Peer::setRing(bool on) {
    ring_ = on;
    if (device_.open_) emit device_.modemLinesChanged();
}

ModemLines FakeSerialDevice::Peer::lines() const {
    return ModemLines{device_.rts(), device_.dtr(), device_.dtr(), false};
}

std::string FakeSerialDevice::Peer::received() const {
    std::string bytes;
    bytes.reserve(arrivals_.size());
    for (const Arrival& a : arrivals_) bytes.push_back(char(a.byte));
    return bytes;
}

FakeSerialDevice::FakeSerialDevice(Clock& clock) : clock_(clock), peer_(*this) {}

FakeSerialDevice::~FakeSerialDevice() {
    cancelWire(toPeer_);
    cancelWire(toDevice_);
}

std::optional<OpenFailure> FakeSerialDevice::open(const std::string& path,
                                                  const LineSettings& settings) {
    if (lost_) return describeOpenFailure(path, ENOENT);
    if (accessDenied_) return describeOpenFailure(path, EACCES);
    if (busy_ || open_) return describeOpenFailure(path, EBUSY);
    open_ = true;
    settings_ = settings;
    dtr_ = rts_ = true;
    break_ = false;
    recordLines();
    errors_ = {};
    received_.clear();
    return std::nullopt;
}

void FakeSerialDevice::close() {
    if (!open_) return;
    open_ = false;
    cancelWire(toPeer_);
    received_.clear();
    recordLines();
}

void FakeSerialDevice::recordLines() {
    lineChanges_.push_back({clock_.now(), open_, dtr_, rts_});
}

void FakeSerialDevice::cancelWire(Wire& wire) {
    if (wire.pending) clock_.cancel(*wire.pending);
    wire.pending.reset();
    wire.frames.clear();
}

bool FakeSerialDevice::applySettings(const LineSettings& settings) {
    if (!open_) return false;
    settings_ = settings;
    return true;
}

ptrdiff_t FakeSerialDevice::read(uint8_t* buffer, size_t capacity) {
    if (lost_) return -1;
    size_t n = 0;
    while (n < capacity && !received_.empty()) {
        buffer[n++] = received_.front();
        received_.pop_front();
    }
    return ptrdiff_t(n);
}

ptrdiff_t FakeSerialDevice::write(const uint8_t* bytes, size_t count) {
    if (lost_ || !open_) return -1;
    if (writesRefused_) return 0;
    size_t accepted = 0;
    while (accepted < count && toPeer_.frames.size() < kDriverBufferSize) {
        transmit(toPeer_, encodeFrame(bytes[accepted], settings_), settings_);
        ++accepted;
    }
    return ptrdiff_t(accepted);
}

std::optional<size_t> FakeSerialDevice::outputQueued() const {
    return toPeer_.frames.size();
}

void FakeSerialDevice::discardOutput() {
    // The character on the wire finishes; those not begun are dropped.
    const Clock::Duration now = clock_.now();
    while (!toPeer_.frames.empty() &&
           toPeer_.frames.back().completes - characterTime(toPeer_.frames.back().sender) >= now)
        toPeer_.frames.pop_back();
    toPeer_.busyUntil =
        toPeer_.frames.empty() ? std::min(toPeer_.busyUntil, now) : toPeer_.frames.back().completes;
}

void FakeSerialDevice::setDtr(bool on) {
    dtr_ = on;
    recordLines();
}

void FakeSerialDevice::setRts(bool on) {
    rts_ = on;
    recordLines();
}

void FakeSerialDevice::setBreak(bool on) {
    if (on && !break_) ++peer_.errors_.breaks;
    break_ = on;
}

ModemLines FakeSerialDevice::modemLines() {
    return ModemLines{peer_.rts_, peer_.dtr_, peer_.dtr_, peer_.ring_};
}

void FakeSerialDevice::transmit(Wire& wire, const SerialFrame& frame, const LineSettings& sender) {
    const Clock::Duration start = std::max(wire.busyUntil, clock_.now());
    wire.busyUntil = start + characterTime(sender);
    wire.frames.push_back(InFlight{frame, sender, wire.busyUntil});
    schedule(wire);
}

void FakeSerialDevice::schedule(Wire& wire) {
    if (wire.pending || wire.frames.empty()) return;
    const bool towardPeer = &wire == &toPeer_;
    wire.pending =
        clock_.callAfter(wire.frames.front().completes - clock_.now(), [this, towardPeer] {
            if (towardPeer)
                deliverToPeer();
            else
                deliverToDevice();
        });
}

void FakeSerialDevice::deliverToPeer() {
    toPeer_.pending.reset();
    const Clock::Duration now = clock_.now();
    bool moved = false;
    while (!toPeer_.frames.empty() && toPeer_.frames.front().completes <= now) {
        const InFlight sent = toPeer_.frames.front();
        toPeer_.frames.pop_front();
        receiveAtPeer(sent);
        moved = true;
    }
    schedule(toPeer_);
    if (moved && open_) emit readyWrite();
}

void FakeSerialDevice::receiveAtPeer(const InFlight& sent) {
    const ReceivedChar c = decodeFrame(sent.frame, sent.sender, peer_.lineSettings());
    if (c.isBreak) {
        ++peer_.errors_.breaks;
        return;
    }
    if (c.parityError) ++peer_.errors_.parity;
    if (c.framingError) {
        ++peer_.errors_.framing;
        return;
    }
    peer_.arrivals_.push_back(Arrival{c.byte, sent.completes, dtr()});
    if (peer_.onByte) peer_.onByte(c.byte);
}

void FakeSerialDevice::deliverToDevice() {
    toDevice_.pending.reset();
    const Clock::Duration now = clock_.now();
    const LineErrorCounts before = errors_;
    bool arrived = false;
    while (!toDevice_.frames.empty() && toDevice_.frames.front().completes <= now) {
        const InFlight sent = toDevice_.frames.front();
        toDevice_.frames.pop_front();
        if (!open_) continue;  // nobody listens on a closed port
        const size_t had = received_.size();
        receiveAtDevice(sent);
        arrived = arrived || received_.size() != had;
    }
    schedule(toDevice_);
    if (!open_) return;
    if (!(errors_ == before)) emit lineErrorsChanged();
    if (arrived) emit readyRead();
}

void FakeSerialDevice::receiveAtDevice(const InFlight& sent) {
    const ReceivedChar c = decodeFrame(sent.frame, sent.sender, settings_);
    if (c.isBreak) {
        ++errors_.breaks;
        return;
    }
    if (c.parityError) ++errors_.parity;
    if (c.framingError) {
        ++errors_.framing;
        return;
    }
    if (received_.size() >= kDriverBufferSize) {
        ++errors_.overrun;
        return;
    }
    received_.push_back(c.byte);
}

}  // namespace zantor
