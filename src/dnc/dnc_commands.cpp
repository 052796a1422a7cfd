#include "dnc/dnc_commands.h"

#include <QCoreApplication>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/interaction.h"
#include "dnc/direct_transfer.h"
#include "dnc/disk_file_chooser.h"
#include "dnc/dnc_send.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_port_control.h"
#include "dnc/multi_file_send.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/tape_options.h"
#include "dnc/transfer_messages.h"
#include "machines/folder_choice.h"
#include "session/run_state.h"

namespace zantor {

namespace {
constexpr const char* kReady = "Ready, On Line ...";

std::string nameWithoutFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

DncCommands::DncCommands(DncStation& station, Interaction& interaction, RunState& state,
                         const MachineDatabase& machines, MachinePortControl& portControl,
                         SendChooser& chooser)
    : station_(station),
      interaction_(interaction),
      state_(state),
      machines_(machines),
      portControl_(portControl),
      chooser_(&chooser) {}

DncCommands::~DncCommands() {
    if (watch_) station_.port.clock().cancel(*watch_);
}

void DncCommands::updateBusy() {
    const bool busy = depth_ > 0 || station_.transfer.inProgress();
    if (!busy) cancelRequested_ = false;
    if (busy == busy_) return;
    busy_ = busy;
    if (busyChanged) busyChanged(busy);
}

void DncCommands::windowShown() {
    homeMachine_ = openMachine_ = state_.CurrentMachine;
}

void DncCommands::readyStatus() {
    station_.sink.setStatusText(kReady);
}

bool DncCommands::portReady() {
    if (state_.CurrentMachine != openMachine_) {
        openMachine_ = state_.CurrentMachine;
        if (machineChanged) machineChanged(openMachine_);
        if (state_.CurrentMachComRec.DeviceType == kDeviceDirectTransfer) return true;
        return portControl_.openForCurrentMachine();
    }
    if (state_.CurrentMachComRec.DeviceType == kDeviceDirectTransfer) return true;
    // A port that could not be opened is tried again.
    if (!station_.port.Open()) portControl_.openMachinePort(state_.CurrentMachComRec);
    return station_.port.Open();
}

void DncCommands::attachProgress() {
    const bool minimized = windowMinimized && windowMinimized();
    station_.transfer.StatusDisplay = minimized ? nullptr : progressDisplay;
}

void DncCommands::send() {
    if (busy_) return;
    Scope scope(*this);
    station_.sink.setStatusText("Downloading To CNC ...");
    if (!portReady()) return readyStatus();
    if (state_.CurrentMachComRec.DeviceType == kDeviceDirectTransfer) return directSend();
    const std::optional<SendChoice> choice = chooser_->chooseForSend(true);
    if (!choice) return readyStatus();
    portSend(*choice);
}

void DncCommands::portSend(const SendChoice& choice) {
    const MachComRec& machine = state_.CurrentMachComRec;
    const bool rtsLow = state_.Settings.RtsLowForWrite;
    try {
        if (choice.files.size() < 2) {
            attachProgress();
            if (!singleSend(station_, machine, state_.CurrentMachine, rtsLow, choice.sendFile,
                            choice.sentName))
                readyStatus();
            return;
        }
        multiFileSend(station_, machine, state_.CurrentMachine, rtsLow, choice.files,
                      [this] { attachProgress(); }, [this] { return cancelRequested_; });
        chooser_->clearChosenFiles();
        readyStatus();
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
        readyStatus();
    }
}

std::optional<std::string> DncCommands::askFolder(const std::string& title,
                                                  const std::string& folder) {
    if (state_.CurrentMachComRec.DftAskDest)
        return interaction_.browseFolder(title, dialogStartFolder(folder));
    const std::string path = folderTextToPath(folder);
    makeFolders(path);
    return path;
}

void DncCommands::directSend() {
    const std::optional<SendChoice> choice = chooser_->chooseForSend(true);
    if (!choice) return readyStatus();
    const auto folder =
        askFolder("Select Folder for Uploading", state_.CurrentSettings.Format.UploadFolder);
    if (!folder) return readyStatus();
    DirectTransfer copier(station_.log, interaction_);
    if (choice->files.size() > 1) {
        copier.copyFiles(choice->files, *folder, "Send");
        chooser_->clearChosenFiles();
    } else {
        copier.sendPrepared(choice->sendFile, choice->sentName, *folder);
    }
    readyStatus();
}

void DncCommands::receive() {
    if (busy_) return;
    Scope scope(*this);
    station_.sink.setStatusText("Uploading From CNC ...");
    if (!portReady()) return readyStatus();
    if (state_.CurrentMachComRec.DeviceType == kDeviceDirectTransfer) return directReceive();
    portReceive();
}

std::optional<ReceiveRequest> DncCommands::askReceiveFile() {
    const std::string& ext = state_.CurrentSettings.Format.DefaultExt;
    for (;;) {
        QCoreApplication::processEvents();
        FileDialogRequest request;
        request.title = "Receive File";
        request.folder =
            chooseDialogFolder(FolderDialogKind::Upload, state_.CurrentSettings, state_.Folders);
        request.filter = tapeFileFilter(ext);
        request.defaultSuffix = ext;
        request.confirmOverwrite = false;  // asked below, with No to choose again
        const std::optional<std::string> path = interaction_.saveFile(request);
        if (!path) return std::nullopt;
        if (!fileExists(*path)) return ReceiveRequest{*path, false};
        switch (interaction_.message(
            MessageKind::Confirmation,
            "Do you really want to overwrite " + nameWithoutFolder(*path) + "?",
            Buttons::YesNoCancel)) {
            case Answer::Yes:
                return ReceiveRequest{*path, true};
            case Answer::No:
                continue;
            default:
                return std::nullopt;
        }
    }
}

void DncCommands::portReceive() {
    const std::optional<ReceiveRequest> request = askReceiveFile();
    if (!request) return readyStatus();
    attachProgress();
    if (cancelRequested_) return;
    if (receiveStarting) receiveStarting();
    try {
        const ReceiveResult result =
            zantor::portReceive(station_, state_.CurrentMachComRec, state_.CurrentMachine,
                                state_.Settings.RtsLowForWrite, *request);
        if (!result.conversionError.empty())
            interaction_.showError("The program was received but could not be converted back "
                                   "to text; the file holds it as it came from the machine.\n" +
                                   result.conversionError);
    } catch (const TapeCodeError& error) {
        interaction_.showError(error.what());
        readyStatus();
    }
}

void DncCommands::directReceive() {
    const std::string& ext = state_.CurrentSettings.Format.DefaultExt;
    FileDialogRequest request;
    request.title = "Receive Files";
    request.folder =
        chooseDialogFolder(FolderDialogKind::Upload, state_.CurrentSettings, state_.Folders);
    request.filter = tapeFileFilter(ext);
    request.defaultSuffix = ext;
    request.multiple = true;
    const std::vector<std::string> files = interaction_.openFiles(request);
    if (files.empty()) return readyStatus();
    const auto folder =
        askFolder("Select Folder for Downloading", state_.CurrentSettings.Format.DownloadFolder);
    if (!folder) return readyStatus();
    DirectTransfer(station_.log, interaction_).copyFiles(files, *folder, "Receive");
    readyStatus();
}

void DncCommands::onTransferFinished(int code) {
    Scope scope(*this);
    if (const auto message = transferFinishedMessage(code, state_.Settings.DncAlert))
        interaction_.message(message->kind, message->text, Buttons::Ok);
    station_.sink.setStatusText("Ready, On Line");
    switch (state_.CurrentMachComRec.DeviceType) {
        case kDeviceMachine:
            station_.sink.setPortInput(true);
            break;
        case kDeviceHubTerminal:
        case kDeviceShopTerminal:
            station_.sink.setPortInput(true);
            restoreHomeMachine();
            break;
        case kDeviceRemoteControl:
            station_.sink.setPortInput(false);
            if (remoteActivity) remoteActivity("Remote (CNC) Mode");
            break;
        default:
            break;
    }
    QCoreApplication::processEvents();
    runRtsDelays(station_, state_.CurrentMachComRec);
}

void DncCommands::restoreHomeMachine() {
    if (homeMachine_.empty()) return;
    state_.CurrentMachine = homeMachine_;
    try {
        state_.CurrentMachComRec = machines_.ReadMachComRec(homeMachine_, state_.CurrentSettings);
    } catch (const FileError& error) {
        interaction_.showError("Cannot read the machine database " + machines_.path() + ":\n" +
                               error.what());
        return;
    }
    openMachine_ = homeMachine_;
    if (portControl_.openMachinePort(state_.CurrentMachComRec)) portControl_.showPortStatus();
}

void DncCommands::onTransferError(int code) {
    const TransferMessage message = transferErrorMessage(code);
    interaction_.message(message.kind, message.text, Buttons::Ok);
}

void DncCommands::cancelRunning() {
    if (!busy_) return;
    cancelRequested_ = true;
    if (station_.transfer.inProgress()) station_.transfer.cancel();
    watchForCancel();
}

void DncCommands::watchForCancel() {
    // A receive starts even after a stopped wait for its first character:
    // it is cancelled as soon as it runs.
    if (watch_ || !cancelRequested_) return;
    watch_ = station_.port.clock().callAfter(ticksToDuration(1), [this] {
        watch_.reset();
        if (!cancelRequested_ || !busy_) return;
        if (station_.transfer.inProgress()) station_.transfer.cancel();
        watchForCancel();
    });
}

}  // namespace zantor
