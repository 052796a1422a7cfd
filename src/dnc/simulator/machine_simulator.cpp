#include "dnc/simulator/machine_simulator.h"

#include <algorithm>

#include "dnc/send_file.h"

namespace zantor::sim {

namespace {

constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;
constexpr size_t kChunk = 16;  // bytes put on the line at a time, so a punch can stop

uint8_t endOfBlock(TapeCode code) {
    return code == TapeCode::Eia ? 0x80 : '\n';
}

}  // namespace

MachineSimulator::MachineSimulator(MachineProfile profile) : profile_(profile) {
    if (profile_.bufferSize > 0) {
        if (profile_.xoffLevel == 0) profile_.xoffLevel = profile_.bufferSize * 3 / 4;
        if (profile_.xonLevel == 0) profile_.xonLevel = profile_.bufferSize / 4;
    }
}

MachineSimulator::~MachineSimulator() = default;

std::string MachineSimulator::tapeOf(std::string_view text, TapeCode code, int leaderInches) {
    const std::string leader(size_t(std::max(leaderInches, 0)) * 10, '\0');
    std::string tape = leader;
    const std::string lineEnd = code == TapeCode::Eia     ? std::string("\x80")
                                : code == TapeCode::Ascii ? std::string("\x8D\n")
                                                          : std::string("\r\n");
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            tape += lineEnd;
        } else {
            tape += char(inTapeCode(c, code));
        }
    }
    return tape + leader;
}

void MachineSimulator::punch(std::string_view text, const PunchOptions& options) {
    std::lock_guard lock(mutex_);
    startOutput(tapeOf(text, profile_.code, options.leaderInches), options);
}

void MachineSimulator::type(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    startOutput(std::string(bytes), {});
}

void MachineSimulator::onReceived(std::string trigger, Action action) {
    std::lock_guard lock(mutex_);
    triggers_.emplace_back(std::move(trigger), std::move(action));
}

void MachineSimulator::onReceivedCount(size_t count, Action action) {
    std::lock_guard lock(mutex_);
    countTriggers_.emplace_back(count, std::move(action));
}

void MachineSimulator::after(Duration delay, Action action) {
    std::lock_guard lock(mutex_);
    schedule(delay, [this, action = std::move(action)] { action(*this); });
}

void MachineSimulator::startOutput(std::string bytes, const PunchOptions& options) {
    Output out{std::move(bytes), options, 0};
    auto& pauses = out.options.pauses;
    std::erase_if(pauses, [&](const auto& p) { return p.first > out.bytes.size(); });
    std::sort(pauses.begin(), pauses.end());
    output_.push_back(std::move(out));
    pump();
}

void MachineSimulator::pump() {
    while (!pumping_ && !output_.empty() && !heldByPc_) {
        Output& out = output_.front();
        auto& pauses = out.options.pauses;
        if (!pauses.empty() && pauses.front().first <= out.done) {
            const auto pause = pauses.front().second;
            pauses.erase(pauses.begin());
            pumping_ = true;
            schedule(pause, [this] {
                pumping_ = false;
                pump();
            });
            return;
        }
        size_t n = std::min(kChunk, out.bytes.size() - out.done);
        if (!pauses.empty()) n = std::min(n, pauses.front().first - out.done);
        if (n > 0) {
            lineWrite(std::string_view(out.bytes).substr(out.done, n));
            out.done += n;
            sent_ += n;
        }
        if (out.done == out.bytes.size() && pauses.empty()) output_.pop_front();
        if (n > 0) {
            pumping_ = true;
            schedule(characterTime() * long(n), [this] {
                pumping_ = false;
                pump();
            });
        }
    }
}

void MachineSimulator::lineReceived(std::string_view bytes) {
    {
        std::lock_guard lock(mutex_);
        for (const char c : bytes) take(uint8_t(c));
    }
    changed();
}

void MachineSimulator::garbleNextReceived(size_t count) {
    std::lock_guard lock(mutex_);
    garbled_ += count;
}

void MachineSimulator::take(uint8_t b) {
    if (garbled_ > 0) {
        --garbled_;
        b ^= 0x80;
    }
    const size_t index = received_.size();
    received_ += char(b);
    const bool punching = !output_.empty();
    if (punching && profile_.obeysXoff && (b == kXoff || b == kXon)) {
        const bool released = heldByPc_ && b == kXon;
        heldByPc_ = b == kXoff;
        if (released) pump();
    } else {
        check(b, index);
        const bool blockEnds = b == endOfBlock(profile_.code);
        if (profile_.bufferSize == 0 || profile_.blocksPerSecond <= 0) {
            if (blockEnds) ++executed_;
        } else if (fill_ >= profile_.bufferSize) {
            faults_.push_back({index, b, "buffer overflow"});
        } else {
            ++fill_;
            ++partial_;
            peakFill_ = std::max(peakFill_, fill_);
            if (blockEnds) {
                blocks_.push_back(partial_);
                partial_ = 0;
            }
            if (fill_ >= profile_.xoffLevel && !xoffSent_) {
                xoffSent_ = true;
                ++xoffs_;
                sendControl(kXoff);
            }
            if (!draining_ && !blocks_.empty()) {
                draining_ = true;
                schedule(std::chrono::duration_cast<Duration>(
                             std::chrono::duration<double>(1.0 / profile_.blocksPerSecond)),
                         [this] { drainTick(); });
            }
        }
    }
    for (auto it = triggers_.begin(); it != triggers_.end(); ++it) {
        if (!received_.ends_with(it->first)) continue;
        Action action = std::move(it->second);
        triggers_.erase(it);
        action(*this);
        break;
    }
    for (auto it = countTriggers_.begin(); it != countTriggers_.end(); ++it) {
        if (received_.size() != it->first) continue;
        Action action = std::move(it->second);
        countTriggers_.erase(it);
        action(*this);
        break;
    }
}

void MachineSimulator::check(uint8_t b, size_t index) {
    const bool oddOnes = __builtin_popcount(b) % 2 == 1;
    switch (profile_.code) {
        case TapeCode::Eia:
            if (b == 0x00) break;  // blank tape
            if (!oddOnes)
                faults_.push_back({index, b, "parity"});
            else if (decodeEia(b) == '?' && b != encodeEia('?'))
                faults_.push_back({index, b, "no EIA code"});
            break;
        case TapeCode::Ascii:
            if (oddOnes) faults_.push_back({index, b, "parity"});
            break;
        case TapeCode::Iso:
            if (b & 0x80) faults_.push_back({index, b, "8th bit set"});
            break;
    }
}

void MachineSimulator::drainTick() {
    draining_ = false;
    if (blocks_.empty()) return;
    fill_ -= blocks_.front();
    blocks_.pop_front();
    ++executed_;
    if (xoffSent_ && fill_ <= profile_.xonLevel) {
        xoffSent_ = false;
        ++xons_;
        sendControl(kXon);
    }
    if (!blocks_.empty()) {
        draining_ = true;
        schedule(std::chrono::duration_cast<Duration>(
                     std::chrono::duration<double>(1.0 / profile_.blocksPerSecond)),
                 [this] { drainTick(); });
    }
}

void MachineSimulator::sendControl(uint8_t c) {
    const char byte = char(c);
    lineWrite(std::string_view(&byte, 1));
}

std::string MachineSimulator::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

size_t MachineSimulator::receivedCount() const {
    std::lock_guard lock(mutex_);
    return received_.size();
}

std::vector<LineFault> MachineSimulator::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

int MachineSimulator::xoffsSent() const {
    std::lock_guard lock(mutex_);
    return xoffs_;
}

int MachineSimulator::xonsSent() const {
    std::lock_guard lock(mutex_);
    return xons_;
}

size_t MachineSimulator::peakFill() const {
    std::lock_guard lock(mutex_);
    return peakFill_;
}

size_t MachineSimulator::fill() const {
    std::lock_guard lock(mutex_);
    return fill_;
}

size_t MachineSimulator::sentCount() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

bool MachineSimulator::outputDone() const {
    std::lock_guard lock(mutex_);
    return output_.empty();
}

size_t MachineSimulator::blocksExecuted() const {
    std::lock_guard lock(mutex_);
    return executed_;
}

}  // namespace zantor::sim
