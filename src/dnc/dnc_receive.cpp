#include "dnc/dnc_receive.h"

#include "core/file_io.h"
#include "core/ticks.h"
#include "dnc/dnc_station.h"
#include "dnc/init_string.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/received_file.h"
#include "dnc/transfer_setup.h"
#include "users/activity_log.h"

namespace zantor {

ReceiveResult portReceive(DncStation& station, const MachComRec& machine, const std::string& machineName,
                bool rtsLowForWrite, const ReceiveRequest& request) {
    const TapeCode code = tapeCodeOf(machine.TapeCode);
    checkInitString(machine.StartRecv, code, "The start-of-receive string");
    checkInitString(machine.EndRecv, code, "The end-of-receive string");
    if (request.overwriting) station.log.WriteLog("DNC Receive Overwrite File [" + request.path + "]");
    station.log.WriteLog("DNC Receive File [" + request.path + "]");
    FileTransfer& transfer = station.transfer;
    setupForMachine(transfer, machine, rtsLowForWrite, TransferDirection::Receiving);
    const Clock::Duration roomLimit =
        ticksToDuration(SecsToTicks(std::max(machine.XoffTime, 1) * 60));
    sendInitString(station.port, machine.StartRecv, code, "The start-of-receive string",
                   roomLimit);

    // XON and XOFF from the machine are program data from here on, even
    // before the receive proper starts with the first byte.
    station.port.setFlowCharactersAsData(true);
    station.sink.setPortInput(false);
    transfer.FileName = request.path;
    if (machine.RecvWaitChar) waitForFirstChar(station, machineName);

    transfer.startReceive();
    station.port.clock().waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                                   WaitMode::Responsive);
    ReceiveResult result{transfer.lastCode(), {}};
    station.port.setFlowCharactersAsData(false);

    sendInitString(station.port, machine.EndRecv, code, "The end-of-receive string", roomLimit);
    // A receive that wrote nothing left the file as it was: not ours to
    // convert. A published protocol carries the file itself, eight bits
    // clean: converting it as a tape would clear bits and drop line feeds.
    if (transfer.progress().fileWritten && code != TapeCode::Iso &&
        transfer.ProtocolType == ptAscii) {
        try {
            convertReceivedFile(request.path, code);
        } catch (const FileError& error) {
            result.conversionError = request.path + ": " + error.what();
        }
    }
    station.sink.setPortInput(true);
    return result;
}

}  // namespace zantor
