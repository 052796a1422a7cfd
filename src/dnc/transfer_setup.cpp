#include "dnc/transfer_setup.h"

#include "core/ticks.h"
#include "dnc/port/file_transfer.h"
#include "dnc/tape_code.h"

namespace zantor {

namespace {

void setTranslation(TAsciiEOLTranslation& setting, int index) {
    switch (index) {
        case kAddCrBefore:
            setting = aetAddCRBefore;
            break;
        case kAddLfAfter:
            setting = aetAddLFAfter;
            break;
        case kLineEndNone:
            setting = aetNone;
            break;
        case kLineEndStrip:
            setting = aetStrip;
            break;
        default:
            break;
    }
}

}  // namespace

void setupForMachine(FileTransfer& transfer, const MachComRec& machine, bool rtsLowForWrite,
                     TransferDirection direction) {
    transfer.RTSLowForWrite = rtsLowForWrite;
    transfer.AsciiCharDelay = machine.CharDelay;
    transfer.AsciiLineDelay = machine.LineDelay;
    transfer.TransmitTimeout = SecsToTicks(machine.XoffTime * 60);
    transfer.AsciiEOFTimeout = SecsToTicks(machine.EofTime);

    switch (machine.Protocol) {
        case 0:
            transfer.ProtocolType = ptAscii;
            break;
        case 1:
            transfer.ProtocolType = ptXmodemCRC;
            break;
        case 2:
            transfer.ProtocolType = ptYmodem;
            break;
        case 3:
            transfer.ProtocolType = ptZmodem;
            break;
        case 4:
            transfer.ProtocolType = ptKermit;
            break;
        default:
            break;
    }

    const bool sending = direction == TransferDirection::Sending;
    setTranslation(transfer.AsciiCRTranslation, sending ? machine.CrOut : machine.CrIn);
    setTranslation(transfer.AsciiLFTranslation, sending ? machine.LfOut : machine.LfIn);

    const TapeCode code = tapeCodeOf(machine.TapeCode);
    transfer.AsciiSuppressCtrlZ = false;
    transfer.AsciiCtrlZIsData = code == TapeCode::Eia;
    switch (code) {
        case TapeCode::Eia:
            transfer.AsciiCRTranslation = aetNone;
            transfer.AsciiLFTranslation = aetNone;
            transfer.AsciiEOLChar = 0x80;
            break;
        case TapeCode::Ascii:
            transfer.AsciiEOLChar = 0x8D;
            break;
        case TapeCode::Iso:
            transfer.AsciiEOLChar = 0x0D;
            break;
    }
}

}  // namespace zantor
