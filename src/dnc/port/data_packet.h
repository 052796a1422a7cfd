#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "dnc/port/packet_pattern.h"

namespace zantor {

class PacketManager;

enum class StartCondition { scString, scAnyData };
// EndCond is a set of these; empty means the packet is complete right after
// its start string.
enum EndCondition : unsigned { ecString = 1u, ecPacketSize = 2u };

// A packet definition that cannot be enabled, with the reason's text.
class PacketDefinitionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Watches the bytes arriving on a port for a start condition and an end
// condition and hands its owner the bytes in between. It belongs to the
// manager of its port, which offers it the bytes.
class DataPacket {
public:
    explicit DataPacket(PacketManager& manager);
    ~DataPacket();
    DataPacket(const DataPacket&) = delete;
    DataPacket& operator=(const DataPacket&) = delete;

    StartCondition StartCond = StartCondition::scString;
    // Start and end strings take effect the next time the packet is enabled.
    std::string StartString;
    unsigned EndCond = 0;
    std::string EndString;
    int PacketSize = 0;
    bool IncludeStrings = true;
    bool IgnoreCase = true;
    int TimeOut = 2184;  // ticks from the start to the end condition; 0: no limit
    bool AutoEnable = true;

    // The collected bytes as text, raised in the event loop.
    std::function<void(const std::string& data)> OnStringPacket;
    // The time-out passed: the packet is disabled and nothing is delivered.
    std::function<void()> OnTimeout;

    bool Enabled() const { return state_ != State::Disabled; }
    // Enabling checks the definition (PacketDefinitionError, the packet stays
    // disabled) and starts matching from scratch. Disabling a collecting
    // packet drops what it collected.
    void setEnabled(bool on);

    PacketManager& manager() { return manager_; }

private:
    friend class PacketManager;
    enum class State { Disabled, WaitingForStart, Collecting };

    void checkDefinition(const PacketPattern& start) const;
    bool waitsForString() const {
        return state_ == State::WaitingForStart && StartCond == StartCondition::scString;
    }

    PacketManager& manager_;
    State state_ = State::Disabled;
    StreamMatcher startMatcher_;
    StreamMatcher endMatcher_;
    std::string startBytes_;  // the start string as it arrived
    std::string collected_;   // the bytes after it
};

}  // namespace zantor
