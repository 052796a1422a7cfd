#include "dnc/record_line_settings.h"

#include "dnc/port/com_port.h"
#include "dnc/port/line_settings.h"
#include "machines/mach_com_rec.h"

namespace zantor {

namespace {

constexpr TParity kParityByIndex[] = {TParity::pNone, TParity::pOdd, TParity::pEven, TParity::pMark,
                                      TParity::pSpace};
constexpr uint16_t kStopBitsByIndex[] = {1, 5, 2};
constexpr TSWFlowOptions kSoftwareFlowByIndex[] = {TSWFlowOptions::swfBoth, TSWFlowOptions::swfNone,
                                                   TSWFlowOptions::swfReceive,
                                                   TSWFlowOptions::swfTransmit};

// A machine record's baud index means the same rate in the setup dialog and on the port.
static_assert(kBaudRates.size() == kSupportedBauds.size());

template <typename List>
bool inList(int index, const List& list) {
    return index >= 0 && size_t(index) < std::size(list);
}

}  // namespace

void applyRecordLineSettings(ComPort& port, const MachComRec& record) {
    // One change of the line: on an open port each change waits for the
    // queue to drain and the line to settle.
    LineSettings line = port.lineSettings();
    if (inList(record.BaudNum, kSupportedBauds))
        line.Baud = kSupportedBauds[size_t(record.BaudNum)];
    if (record.BitsNum >= 0 && record.BitsNum <= 4) line.DataBits = uint16_t(record.BitsNum + 4);
    if (inList(record.ParityNum, kParityByIndex)) line.Parity = kParityByIndex[record.ParityNum];
    if (inList(record.StopBitsNum, kStopBitsByIndex))
        line.StopBits = kStopBitsByIndex[record.StopBitsNum];
    port.setLineSettings(line);
    if (inList(record.XonXoff, kSoftwareFlowByIndex))
        port.setSWFlowOptions(kSoftwareFlowByIndex[record.XonXoff]);
    port.setHWFlowOptions(record.RtsCts ? HWFlowSet(hwfUseRTS | hwfRequireCTS) : HWFlowSet(0));
}

}  // namespace zantor
