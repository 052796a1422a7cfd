#include "dnc/port/com_port.h"

#include <cerrno>

#include "dnc/port/any_string_matcher.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/open_failure.h"

namespace zantor {

namespace {

// Characters the writer may keep ahead of the line when the clock wakes it
// exactly on time; a later-waking clock gets its granularity's worth more.
constexpr long long kLeadCharacters = 2;
constexpr size_t kChunk = 512;

// The settle time before new line settings: 18 characters at the old ones,
// in whole milliseconds, a wait under 1 ms counting double.
Clock::Duration settleTime(const LineSettings& settings) {
    const auto exact = characterTime(settings) * 18;
    if (exact < std::chrono::milliseconds(1)) return std::chrono::milliseconds(2);
    return std::chrono::ceil<std::chrono::milliseconds>(exact);
}

constexpr Clock::Duration kDrainPoll = std::chrono::milliseconds(2);
constexpr int kDrainPolls = 5000;

}  // namespace

ComPort::ComPort(Clock& clock, DeviceProvider& devices, QObject* parent)
    : QObject(parent), clock_(clock), devices_(devices) {}

ComPort::~ComPort() {
    close();
    for (auto& [handle, pending] : timers_)
        if (pending) clock_.cancel(*pending);
}

void ComPort::setComNumber(uint16_t number) {
    comNumber_ = number;
    devicePath_.clear();
}

std::string ComPort::devicePath() const {
    return devicePath_.empty() ? portMap_.devicePath(comNumber_) : devicePath_;
}

template <typename T>
void ComPort::changeLine(T LineSettings::*field, T value) {
    LineSettings s = line_;
    s.*field = value;
    applyLine(s);
}

void ComPort::setBaud(int32_t baud) {
    changeLine(&LineSettings::Baud, baud);
}

void ComPort::setDataBits(uint16_t bits) {
    changeLine(&LineSettings::DataBits, bits);
}

void ComPort::setParity(TParity parity) {
    changeLine(&LineSettings::Parity, parity);
}

void ComPort::setStopBits(uint16_t stopBits) {
    changeLine(&LineSettings::StopBits, stopBits);
}

void ComPort::setLineSettings(const LineSettings& settings) {
    applyLine(settings);
}

void ComPort::applyLine(const LineSettings& settings) {
    if (settings == line_) return;
    if (device_) {
        // Bytes still queued go out with the framing they were meant for.
        clock_.waitUntil([&] { return outputQueued() == 0 || !device_; }, kDrainPoll * kDrainPolls,
                         WaitMode::IgnoreUserInput);
        clock_.sleep(settleTime(line_), WaitMode::IgnoreUserInput);
        if (device_) device_->applySettings(settings);
    }
    line_ = settings;
}

void ComPort::setBufferFull(uint16_t level) {
    bufferFull_ = level;
}

void ComPort::setBufferResume(uint16_t level) {
    bufferResume_ = level;
}

void ComPort::setSWFlowOptions(TSWFlowOptions options) {
    if (options != TSWFlowOptions::swfNone) {
        const Thresholds t = checkedThresholds(inSize_, {bufferFull_, bufferResume_});
        bufferFull_ = uint16_t(t.bufferFull);
        bufferResume_ = uint16_t(t.bufferResume);
    }
    const bool wasObeying = obeysXoff(swFlow_);
    swFlow_ = options;
    // A machine left waiting for our XON would wait for ever.
    if (xoffSent_ && !sendsXoff(options)) {
        xoffSent_ = false;
        sendControl(xonChar_);
    }
    if (wasObeying && !obeysXoff(options)) xoffReceived_ = false;
    pumpOutput();
}

void ComPort::setFlowCharactersAsData(bool on) {
    flowCharactersAsData_ = on;
    if (on && xoffReceived_) {
        xoffReceived_ = false;
        pumpOutput();
    }
}

void ComPort::setOutputPacing(OutputPacing pacing) {
    pacing_ = pacing;
    pumpOutput();
}

void ComPort::setLineClockOnly(bool on) {
    lineClockOnly_ = on;
    pumpOutput();
}

void ComPort::setHWFlowOptions(HWFlowSet options) {
    hwFlow_ = options;
    if (!(options & (hwfUseRTS | hwfUseDTR))) receiveHeld_ = false;
    driveLines();
    updateReceiveFlow();
    pumpOutput();
}

void ComPort::setDtr(bool on) {
    dtr_ = on;
    driveLines();
}

void ComPort::setRts(bool on) {
    rts_ = on;
    driveLines();
}

void ComPort::setBreak(bool on) {
    if (device_) device_->setBreak(on);
}

void ComPort::driveLines() {
    if (!device_) return;
    device_->setDtr(dtr_ && !((hwFlow_ & hwfUseDTR) && receiveHeld_));
    device_->setRts(rts_ && !((hwFlow_ & hwfUseRTS) && receiveHeld_));
}

std::optional<OpenFailure> ComPort::open() {
    close();
    const std::string path = devicePath();
    std::shared_ptr<SerialDevice> device = devices_.deviceFor(path);
    if (!device) return describeOpenFailure(path, ENOENT);
    if (auto failure = device->open(path, line_)) return failure;
    device_ = std::move(device);
    input_ = ByteRing(inSize_);
    output_ = ByteRing(outSize_);
    xoffReceived_ = xoffSent_ = receiveHeld_ = inputStalled_ = false;
    pendingControl_.reset();
    lineFreeAt_ = clock_.now();
    errors_ = device_->lineErrors();
    lines_ = device_->modemLines();
    connect(device_.get(), &SerialDevice::readyRead, this, &ComPort::pullInput);
    connect(device_.get(), &SerialDevice::readyWrite, this, &ComPort::pumpOutput);
    connect(device_.get(), &SerialDevice::modemLinesChanged, this, &ComPort::onModemLines);
    connect(device_.get(), &SerialDevice::lineErrorsChanged, this, &ComPort::onLineErrors);
    connect(device_.get(), &SerialDevice::deviceLost, this, &ComPort::onDeviceLost);
    driveLines();
    pullInput();
    return std::nullopt;
}

void ComPort::close() {
    if (pumpTimer_) clock_.cancel(*pumpTimer_);
    if (pullTimer_) clock_.cancel(*pullTimer_);
    pumpTimer_.reset();
    pullTimer_.reset();
    if (!device_) return;
    std::shared_ptr<SerialDevice> device = std::move(device_);
    device->disconnect(this);
    device->close();
    input_.clear();
    output_.clear();
}

void ComPort::onDeviceLost() {
    // A device reports its loss and then fails the read or write that found
    // it: the user hears of it once.
    if (!device_) return;
    close();
    emit portLost();
}

void ComPort::record(PortTrace::Direction direction, const uint8_t* bytes, size_t count) {
    if (!trace_.Tracing() && !trace_.Logging()) return;
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now()).count();
    trace_.record(direction, ms, bytes, count);
}

SendResult ComPort::sendByte(uint8_t b) {
    return sendBlock(&b, 1);
}

SendResult ComPort::sendText(std::string_view text) {
    return sendBlock(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

SendResult ComPort::sendBlock(const uint8_t* bytes, size_t count) {
    if (!device_) return SendResult::PortClosed;
    if (!output_.push(bytes, count)) return SendResult::OutputBufferFull;
    drainReported_ = false;
    pumpOutput();
    emit dataQueued();
    return SendResult::Sent;
}

uint8_t ComPort::readByte() {
    const uint8_t b = input_.pop();
    inputTaken();
    return b;
}

std::string ComPort::readAvailable(size_t max) {
    std::string bytes(std::min(max, input_.size()), '\0');
    input_.drop(input_.peek(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
    inputTaken();
    return bytes;
}

void ComPort::discardInput() {
    input_.clear();
    inputTaken();
}

void ComPort::discardOutput() {
    output_.clear();
    if (device_ && pacedByDevice()) device_->discardOutput();
}

void ComPort::inputTaken() {
    updateReceiveFlow();
    if (inputStalled_ && !pullTimer_ && device_) {
        pullTimer_ = clock_.callAfter(Clock::Duration(0), [this] {
            pullTimer_.reset();
            pullInput();
        });
    }
}

void ComPort::pullInput() {
    uint8_t buffer[kChunk];
    inputStalled_ = false;
    while (device_) {
        if (input_.free() == 0) {
            // Left in the driver until the program reads: nothing is dropped here.
            inputStalled_ = true;
            return;
        }
        const ptrdiff_t n = device_->read(buffer, std::min(sizeof buffer, input_.free()));
        if (n < 0) {
            onDeviceLost();
            return;
        }
        if (n == 0) return;
        takeIncoming(buffer, size_t(n));
    }
}

void ComPort::takeIncoming(const uint8_t* bytes, size_t count) {
    record(PortTrace::Direction::Received, bytes, count);
    const bool obey = obeysXoff(swFlow_) && !flowCharactersAsData_;
    const size_t before = input_.size();
    bool released = false;
    // Data between flow control characters goes into the queue a run at a
    // time; pullInput never reads more than the queue has room for.
    size_t runStart = 0;
    for (size_t i = 0; obey && i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b != xoffChar_ && b != xonChar_) continue;
        input_.push(bytes + runStart, i - runStart);
        runStart = i + 1;
        if (b == xoffChar_) {
            xoffReceived_ = true;
        } else {
            released = xoffReceived_;
            xoffReceived_ = false;
        }
    }
    input_.push(bytes + runStart, count - runStart);
    const bool data = input_.size() != before;
    updateReceiveFlow();
    if (released) pumpOutput();
    if (data) emit dataAvailable();
}

void ComPort::updateReceiveFlow() {
    if (!device_) return;
    const size_t held = input_.size();
    const bool useLines = hwFlow_ & (hwfUseRTS | hwfUseDTR);
    if (held > bufferFull_) {
        if (sendsXoff(swFlow_) && !xoffSent_) {
            xoffSent_ = true;
            sendControl(xoffChar_);
        }
        if (useLines && !receiveHeld_) {
            receiveHeld_ = true;
            driveLines();
        }
    } else if (held <= bufferResume_) {
        if (xoffSent_) {
            xoffSent_ = false;
            sendControl(xonChar_);
        }
        if (receiveHeld_) {
            receiveHeld_ = false;
            driveLines();
        }
    }
}

void ComPort::sendControl(uint8_t c) {
    // Flow control characters go ahead of the queue and past our own hold. A
    // refused one still waiting is out of date now: sent after this one, it
    // would undo it.
    pendingControl_.reset();
    if (!sendNow(c)) pendingControl_ = c;
}

bool ComPort::sendNow(uint8_t b) {
    if (!device_) return false;
    const ptrdiff_t n = device_->write(&b, 1);
    if (n != 1) return false;
    lineFreeAt_ = std::max(lineFreeAt_, clock_.now()) + characterTime(line_);
    record(PortTrace::Direction::Sent, &b, 1);
    return true;
}

bool ComPort::hardwareHeld() const {
    if (!(hwFlow_ & (hwfRequireCTS | hwfRequireDSR))) return false;
    const ModemLines now = device_->modemLines();
    return ((hwFlow_ & hwfRequireCTS) && !now.cts) || ((hwFlow_ & hwfRequireDSR) && !now.dsr);
}

bool ComPort::transmitHeld() const {
    return (obeysXoff(swFlow_) && xoffReceived_) || hardwareHeld();
}

Clock::Duration ComPort::leadTime() const {
    const Clock::Duration ct = characterTime(line_);
    return std::max<Clock::Duration>(ct * kLeadCharacters, clock_.granularity() + ct);
}

size_t ComPort::charactersAhead() const {
    if (!device_) return 0;
    if (const auto queued = device_->outputQueued()) return *queued;
    const Clock::Duration ahead = lineFreeAt_ - clock_.now();
    if (ahead <= Clock::Duration(0)) return 0;
    const Clock::Duration ct = characterTime(line_);
    return size_t((ahead + ct - Clock::Duration(1)) / ct);
}

size_t ComPort::outputQueued() const {
    return output_.size() + (pendingControl_ ? 1 : 0) + charactersAhead();
}

void ComPort::schedulePump(Clock::Duration at) {
    if (pumpTimer_ && pumpAt_ <= at) return;
    if (pumpTimer_) clock_.cancel(*pumpTimer_);
    pumpAt_ = at;
    pumpTimer_ = clock_.callAfter(at - clock_.now(), [this] {
        pumpTimer_.reset();
        pumpOutput();
    });
}

void ComPort::pumpOutput() {
    if (!device_ || pumping_) return;
    pumping_ = true;
    if (pendingControl_ && sendNow(*pendingControl_)) pendingControl_.reset();
    uint8_t buffer[kChunk];
    const bool byDevice = pacedByDevice();
    const size_t moved = byDevice ? pumpByDevice(buffer) : pumpByLineClock(buffer);
    if (!device_) {
        pumping_ = false;
        return;
    }
    // Wake once the line has carried the rest, so a wait for the queue to
    // drain sees it happen.
    const bool empty = output_.empty();
    const size_t ahead = empty ? charactersAhead() : 0;
    if (empty && ahead > 0) {
        const Clock::Duration ct = characterTime(line_);
        schedulePump(std::max(lineFreeAt_, clock_.now() + ct * long(byDevice ? ahead : 1)));
    }
    pumping_ = false;
    const bool drained = empty && ahead == 0;
    if (moved > 0 || (drained && !drainReported_)) {
        drainReported_ = drained;
        emit outputProgress();
    }
}

bool ComPort::pacedByDevice() const {
    // A hold must stop the line within a character or two.
    const bool flowControlled = (obeysXoff(swFlow_) && !flowCharactersAsData_) ||
                                (hwFlow_ & (hwfRequireCTS | hwfRequireDSR));
    return pacing_ == OutputPacing::Device && !lineClockOnly_ && !flowControlled;
}

bool ComPort::writeToDevice(const uint8_t* buffer, size_t count, size_t& written) {
    const ptrdiff_t n = device_->write(buffer, count);
    if (n < 0) {
        pumping_ = false;
        onDeviceLost();
        return false;
    }
    written = size_t(n);
    output_.drop(written);
    record(PortTrace::Direction::Sent, buffer, written);
    return true;
}

size_t ComPort::pumpByLineClock(uint8_t* buffer) {
    const Clock::Duration ct = characterTime(line_);
    const Clock::Duration lead = leadTime();
    const long long leadChars = lead / ct;
    size_t moved = 0;
    while (device_ && !pendingControl_ && !output_.empty() && !transmitHeld()) {
        const Clock::Duration now = clock_.now();
        lineFreeAt_ = std::max(lineFreeAt_, now);
        const Clock::Duration ahead = lineFreeAt_ - now;
        if (ahead + ct > lead) {
            // The line is busy with what it has: wake when one more fits.
            schedulePump(lineFreeAt_ - lead + ct);
            break;
        }
        long long room = (lead - ahead) / ct;
        if (const auto queued = device_->outputQueued()) {
            // The driver knows better than the arithmetic (a slow or held line).
            if (static_cast<long long>(*queued) >= leadChars) {
                schedulePump(now + ct);
                break;
            }
            room = std::min(room, leadChars - static_cast<long long>(*queued));
        }
        const size_t n = output_.peek(buffer, std::min<size_t>(size_t(room), kChunk));
        size_t written = 0;
        if (!writeToDevice(buffer, n, written)) return moved;
        if (written == 0) break;  // the device says when it has room again
        moved += written;
        lineFreeAt_ += ct * long(written);
    }
    return moved;
}

size_t ComPort::pumpByDevice(uint8_t* buffer) {
    const Clock::Duration ct = characterTime(line_);
    size_t moved = 0;
    while (device_ && !pendingControl_ && !output_.empty() && !transmitHeld()) {
        // Topped up a chunk at a time where the device counts its queue:
        // woken when a chunk's worth has gone on the line.
        const auto queued = device_->outputQueued();
        if (queued && *queued + kChunk > kDeviceLeadBytes) {
            schedulePump(clock_.now() + ct * long(*queued + kChunk - kDeviceLeadBytes));
            break;
        }
        const size_t n = output_.peek(buffer, kChunk);
        size_t written = 0;
        if (!writeToDevice(buffer, n, written)) return moved;
        if (written == 0) break;  // the device says when it has room again
        moved += written;
    }
    return moved;
}

FlowState ComPort::flowState() const {
    if (hwFlow_ != 0) {
        if ((hwFlow_ & hwfRequireDSR) && !lines_.dsr) return FlowState::HeldByDsr;
        if ((hwFlow_ & hwfRequireCTS) && !lines_.cts) return FlowState::HeldByCts;
        return FlowState::On;
    }
    if (swFlow_ == TSWFlowOptions::swfNone) return FlowState::Off;
    const bool transmitHeld = obeysXoff(swFlow_) && xoffReceived_;
    if (transmitHeld && xoffSent_) return FlowState::BothHeld;
    if (transmitHeld) return FlowState::TransmitHeldByXoff;
    if (xoffSent_) return FlowState::ReceiveHeldXoffSent;
    return FlowState::On;
}

void ComPort::onModemLines() {
    if (!device_) return;
    const ModemLines now = device_->modemLines();
    unsigned events = 0;
    if (now.cts != lines_.cts) events |= kCtsChanged;
    if (now.dsr != lines_.dsr) events |= kDsrChanged;
    if (now.dcd != lines_.dcd) events |= kDcdChanged;
    if (now.ri && !lines_.ri) events |= kRing;
    lines_ = now;
    if (events) emit lineStatusChanged(events);
    pumpOutput();
}

void ComPort::onLineErrors() {
    if (!device_) return;
    const LineErrorCounts now = device_->lineErrors();
    unsigned events = 0;
    if (now.breaks != errors_.breaks) events |= kBreak;
    if (now.overrun != errors_.overrun || now.parity != errors_.parity ||
        now.framing != errors_.framing)
        events |= kLineError;
    errors_ = now;
    if (events) emit lineStatusChanged(events);
}

int ComPort::addTimer() {
    const int handle = nextTimer_++;
    timers_[handle] = std::nullopt;
    return handle;
}

void ComPort::armTimer(int handle, int ticks) {
    const auto it = timers_.find(handle);
    if (it == timers_.end()) return;
    if (it->second) clock_.cancel(*it->second);
    it->second = clock_.callAfter(ticksToDuration(ticks), [this, handle] {
        timers_[handle].reset();
        emit timerFired(handle);
    });
}

int ComPort::waitForAnyString(std::string_view list, std::string_view separator, int timeoutTicks,
                              bool ignoreCase) {
    AnyStringMatcher matcher(list, separator, ignoreCase);
    int found = kWaitTimedOut;
    const auto arrived = [&] {
        if (!input_.empty()) {
            while (found == kWaitTimedOut && !input_.empty()) found = matcher.feed(input_.pop());
            inputTaken();
        }
        return found != kWaitTimedOut || !device_;
    };
    const Clock::Duration timeout =
        timeoutTicks < 0 ? Clock::kForever : ticksToDuration(timeoutTicks);
    clock_.waitUntil(arrived, timeout, WaitMode::Responsive);
    return found;
}

}  // namespace zantor
