// The line tests of the DNC window's debugging menu.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/file_io.h"
#include "core/interaction.h"
#include "core/text_util.h"
#include "core/ticks.h"
#include "dnc/disk_file_chooser.h"
#include "dnc/dnc_commands.h"
#include "dnc/dnc_station.h"
#include "dnc/init_string.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/send_file.h"
#include "dnc/tape_options.h"
#include "dnc/test_pattern.h"
#include "dnc/transfer_setup.h"
#include "machines/folder_choice.h"
#include "session/run_state.h"
#include "users/activity_log.h"

namespace zantor {

namespace {

Clock::Duration xoffLimit(const MachComRec& machine) {
    return ticksToDuration(SecsToTicks(std::max(machine.XoffTime, 1) * 60));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void DncCommands::sendTestPattern() {
    if (busy_) return;
    Scope scope(*this);
    const auto answer =
        interaction_.inputText("Send Test Pattern", "File Size (in K bytes) ?", "");
    if (!answer) return;
    const std::optional<int> kilobytes = parseInt(*answer);
    if (!kilobytes || *kilobytes < 0) {
        interaction_.showError("'" + *answer + "' is not a valid integer value");
        return;
    }
    if (!portReady()) return;
    const MachComRec& machine = state_.CurrentMachComRec;
    const std::string pattern = state_.TempDir + kTestPatternFileName;
    try {
        writeTestPattern(pattern, *kilobytes);
        prepareDiskFile(pattern, state_.WorkFile, state_.SendFile,
                        tapeOptionsFor(state_.CurrentSettings, state_.Settings));
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
        return;
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
        return;
    }
    FileTransfer& transfer = station_.transfer;
    setupForMachine(transfer, machine, state_.Settings.RtsLowForWrite,
                    TransferDirection::Sending);
    transfer.FileMask = state_.SendFile;
    if (machine.SendWaitXon && !waitForXon(station_, state_.CurrentMachine)) return;
    attachProgress();
    transfer.startTransmit();
    station_.port.clock().waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                                    WaitMode::Responsive);
}

void DncCommands::newSendTest() {
    if (busy_) return;
    Scope scope(*this);
    station_.sink.setStatusText("Downloading To CNC ...");
    if (!portReady()) return readyStatus();
    const std::optional<SendChoice> choice = chooser_->chooseForSend(true);
    if (!choice) return readyStatus();
    const MachComRec& machine = state_.CurrentMachComRec;
    ComPort& port = station_.port;
    try {
        const TapeCode code = tapeCodeOf(machine.TapeCode);
        checkInitString(machine.SendInit, code, "The init string");
        std::unique_ptr<ReadableFile> file = std::make_unique<ReadableFile>(choice->sentName);
        station_.log.WriteLog("DNC Send File [" + choice->sentName + "]");
        if (!sendInitString(port, machine.SendInit, code, "The init string", xoffLimit(machine)))
            return readyStatus();
        // The test goes on whatever the wait ends with.
        if (machine.SendWaitXon) waitForXon(station_, state_.CurrentMachine);
        setupForMachine(station_.transfer, machine, state_.Settings.RtsLowForWrite,
                        TransferDirection::Sending);
        station_.sink.writeTerminalLine("Start Sending (New method)");
        char block[256];
        while (const size_t n = file->read(block, sizeof block)) {
            const bool room = port.clock().waitUntil(
                [&] { return cancelRequested_ || !port.Open() || port.outputFree() >= n; },
                xoffLimit(machine), WaitMode::Responsive);
            if (!room || cancelRequested_ || !port.Open()) {
                station_.sink.writeTerminalLine("");
                interaction_.showError("The block-wise send stopped: the line was held or "
                                       "closed before all of " + choice->sentName +
                                       " went out.");
                return readyStatus();
            }
            port.sendBlock(reinterpret_cast<const uint8_t*>(block), n);
            station_.sink.writeTerminalText(".");
        }
        station_.sink.writeTerminalLine("");
        station_.sink.writeTerminalLine("Done Sending (New method)");
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
    }
    readyStatus();
}

void DncCommands::receiveBin() {
    if (busy_) return;
    Scope scope(*this);
    FileDialogRequest request;
    request.title = "Receive Binary File";
    request.folder =
        chooseDialogFolder(FolderDialogKind::Upload, state_.CurrentSettings, state_.Folders);
    request.filter = tapeFileFilter(state_.CurrentSettings.Format.DefaultExt);
    request.defaultSuffix = state_.CurrentSettings.Format.DefaultExt;
    const std::optional<std::string> path = interaction_.saveFile(request);
    if (!path || !portReady()) return;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path->c_str(), "wb"));
    if (!file) {
        interaction_.showError(*path + ": " + systemErrorText(errno));
        return;
    }
    ComPort& port = station_.port;
    station_.sink.setPortInput(false);
    station_.waiting.showWaiting("Receiving Binary File");
    // Every byte is data here, XON and XOFF too.
    port.setSWFlowOptions(TSWFlowOptions::swfNone);
    std::string failure;
    port.clock().waitUntil(
        [&] {
            const std::string bytes = port.readAvailable();
            if (!bytes.empty() && failure.empty() &&
                (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
                 std::fflush(file.get()) != 0))
                failure = *path + ": " + systemErrorText(errno ? errno : EIO);
            return !failure.empty() || station_.waiting.stopWaiting() || cancelRequested_ ||
                   !port.Open();
        },
        Clock::kForever, WaitMode::Responsive);
    station_.waiting.hideWaiting();
    file.reset();
    station_.sink.setPortInput(true);
    if (!failure.empty()) interaction_.showError(failure);
}

}  // namespace zantor
