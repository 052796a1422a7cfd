#include "dnc/dnc_send.h"

#include "core/ticks.h"
#include "dnc/dnc_station.h"
#include "dnc/init_string.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/transfer_setup.h"
#include "users/activity_log.h"

namespace zantor {

namespace {
// The init string waits for room at most as long as the machine may hold
// the line by XOFF.
Clock::Duration xoffLimit(const MachComRec& machine) {
    return ticksToDuration(SecsToTicks(std::max(machine.XoffTime, 1) * 60));
}
}  // namespace

bool singleSend(DncStation& station, const MachComRec& machine, const std::string& machineName,
                bool rtsLowForWrite, const std::string& sendFile, const std::string& sentName) {
    const TapeCode code = tapeCodeOf(machine.TapeCode);
    checkInitString(machine.SendInit, code, "The init string");
    station.log.WriteLog("DNC Send File [" + sentName + "]");
    station.port.discardOutput();
    station.port.discardInput();
    if (!sendInitString(station.port, machine.SendInit, code, "The init string",
                        xoffLimit(machine)))
        return false;
    if (machine.SendWaitXon && !waitForXon(station, machineName)) return false;
    setupForMachine(station.transfer, machine, rtsLowForWrite, TransferDirection::Sending);
    keepTerminalOffProtocolAnswers(station);
    station.transfer.FileMask = sendFile;
    station.transfer.SendAsName = sentName;
    station.transfer.startTransmit();
    return true;
}

void keepTerminalOffProtocolAnswers(DncStation& station) {
    if (station.transfer.ProtocolType != ptAscii) station.sink.setPortInput(false);
}

void runRtsDelays(DncStation& station, const MachComRec& machine) {
    Clock& clock = station.port.clock();
    if (machine.KeepRtsDelay > 0) {
        station.sink.writeTerminalLine("Keeping RTS Up");
        station.port.setRts(true);
        clock.sleep(std::chrono::seconds(machine.KeepRtsDelay), WaitMode::Responsive);
        station.sink.writeTerminalLine("Done Keeping RTS Up");
    }
    if (machine.DropRtsDelay > 0) {
        station.sink.writeTerminalLine("Dropping RTS");
        station.port.setRts(false);
        clock.sleep(std::chrono::seconds(machine.DropRtsDelay), WaitMode::Responsive);
        station.port.setRts(true);
        station.sink.writeTerminalLine("Enable RTS");
    }
}

}  // namespace zantor
