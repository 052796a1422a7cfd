#include "dnc/multi_file_send.h"

#include <algorithm>

#include "core/ticks.h"
#include "dnc/dnc_send.h"
#include "dnc/dnc_station.h"
#include "dnc/init_string.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port/transfer_codes.h"
#include "dnc/port_status_sink.h"
#include "dnc/transfer_setup.h"
#include "users/activity_log.h"

namespace zantor {

MultiFileOutcome multiFileSend(DncStation& station, const MachComRec& machine,
                               const std::string& machineName, bool rtsLowForWrite,
                               const std::vector<std::string>& files,
                               const std::function<void()>& beforeStart,
                               const std::function<bool()>& stopRequested) {
    const TapeCode code = tapeCodeOf(machine.TapeCode);
    checkInitString(machine.SendInit, code, "The init string");
    ComPort& port = station.port;
    FileTransfer& transfer = station.transfer;
    Clock& clock = port.clock();
    const Clock::Duration xoffLimit =
        ticksToDuration(SecsToTicks(std::max(machine.XoffTime, 1) * 60));
    MultiFileOutcome outcome;
    const auto stop = [&] { return stopRequested && stopRequested(); };
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (stop()) {
            outcome.stopped = true;
            break;
        }
        const std::string& file = *it;
        station.log.WriteLog("DNC Send File [" + file + "]");
        station.sink.writeTerminalLine(file);
        port.discardOutput();
        port.discardInput();
        if (!sendInitString(port, machine.SendInit, code, "The init string", xoffLimit) ||
            (machine.SendWaitXon && !waitForXon(station, machineName))) {
            outcome.stopped = true;
            break;
        }
        setupForMachine(transfer, machine, rtsLowForWrite, TransferDirection::Sending);
        keepTerminalOffProtocolAnswers(station);
        transfer.FileMask = file;
        if (beforeStart) beforeStart();
        transfer.startTransmit();
        clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                        WaitMode::Responsive);
        if (transfer.lastCode() != transfer_code::kSuccess || stop()) {
            outcome.stopped = true;
            break;
        }
        // The engine has seen its last byte leave; a machine that holds the
        // line is waited on only as long as it may hold it.
        clock.waitUntil([&] { return stop() || !port.Open() || port.outputQueued() == 0; },
                        xoffLimit, WaitMode::Responsive);
        clock.waitUntil(stop, std::chrono::seconds(std::max(machine.MultiFileDelay, 0)),
                        WaitMode::Responsive);
        if (stop()) {
            outcome.stopped = true;
            break;
        }
        station.sink.writeTerminalLine("Done with: " + file);
        ++outcome.filesSent;
    }
    return outcome;
}

}  // namespace zantor
