#include "dnc/port/data_packet.h"

#include "dnc/port/packet_manager.h"

namespace zantor {

DataPacket::DataPacket(PacketManager& manager) : manager_(manager) {
    manager_.add(*this);
}

DataPacket::~DataPacket() {
    manager_.remove(*this);
}

void DataPacket::checkDefinition(const PacketPattern& start) const {
    const bool bySize = EndCond & ecPacketSize;
    if (StartCond == StartCondition::scString && start.empty())
        throw PacketDefinitionError("Start string is empty");
    if (bySize && PacketSize < int(start.size()))
        throw PacketDefinitionError("Packet size cannot be smaller than start string");
    if (StartCond == StartCondition::scAnyData && EndCond == 0)
        throw PacketDefinitionError("CharCount packets must have an end-condition");
    if ((EndCond & ecString) && EndString.empty()) throw PacketDefinitionError("End string is empty");
    if (bySize && PacketSize == 0) throw PacketDefinitionError("Packet size cannot be zero");
}

void DataPacket::setEnabled(bool on) {
    if (on == Enabled()) return;
    if (!on) {
        manager_.packetDisabled(*this);
        state_ = State::Disabled;
        return;
    }
    PacketPattern start(StartCond == StartCondition::scString ? StartString : "", IgnoreCase);
    checkDefinition(start);
    startMatcher_.setPattern(std::move(start));
    endMatcher_.setPattern(PacketPattern((EndCond & ecString) ? EndString : "", IgnoreCase));
    startBytes_.clear();
    collected_.clear();
    state_ = State::WaitingForStart;
    manager_.packetEnabled();
}

}  // namespace zantor
