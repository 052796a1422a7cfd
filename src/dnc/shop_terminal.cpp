#include "dnc/shop_terminal.h"

#include <QObject>
#include <algorithm>
#include <chrono>

#include "core/file_io.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "core/ticks.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/received_file.h"
#include "dnc/remote_request.h"
#include "dnc/send_file.h"
#include "dnc/shop_terminal_text.h"
#include "dnc/tape_options.h"
#include "dnc/transfer_setup.h"
#include "dnc/work_files.h"
#include "users/activity_log.h"

namespace zantor {

ShopTerminal::ShopTerminal(DncStation& station, const MachineSettings& terminal,
                           const AppSettings& settings, std::string tempFolder,
                           ShopTerminalHost& host)
    : station_(station),
      terminal_(terminal),
      settings_(settings),
      tempFolder_(std::move(tempFolder)),
      host_(host),
      packets_(station.port.clock()),
      line_(std::make_unique<DataPacket>(packets_)) {
    line_->StartCond = StartCondition::scAnyData;
    line_->EndCond = ecString;
    line_->EndString = "\r";
    line_->IncludeStrings = false;
    line_->AutoEnable = true;
    line_->OnStringPacket = [this](const std::string& line) {
        lastLine_ = line.substr(0, 255);
        answered_ = true;
    };
    line_->OnTimeout = [this] {
        timedOut_ = true;
        line_->setEnabled(true);
    };
}

ShopTerminal::~ShopTerminal() = default;

void ShopTerminal::send(const std::string& text) {
    station_.port.sendText(text);
}

void ShopTerminal::takeLineBytes() {
    if (!listening_ || station_.transfer.inProgress()) return;
    const std::string bytes = station_.port.readAvailable();
    if (!bytes.empty()) packets_.feed(bytes);
}

void ShopTerminal::pausePage() {
    send("\r\nContinue ...");
    listening_ = false;  // the pause reads the answer itself
    const int found = station_.port.waitForAnyString(
        "\r/\x1b", "/", AnswerTimeout > 0 ? SecsToTicks(AnswerTimeout) : -1, false);
    listening_ = true;
    ContinueListing = found != 2;
    station_.port.discardInput();
    PageLineCount = 1;
}

void ShopTerminal::termLine(const std::string& text) {
    ++PageLineCount;
    // A page length of 0 or less pages nothing: a pause before every line
    // would make the terminal unusable.
    if (LinesPerPage > 0 && PageLineCount >= LinesPerPage) pausePage();
    send("\r\n" + text);
    station_.sink.writeTerminalLine(text);
}

void ShopTerminal::termError(const std::string& text) {
    termLine(text);
    PageLineCount = LinesPerPage;
}

void ShopTerminal::termClear() {
    for (int i = 0; i < LinesPerPage; ++i) send(" \r\n");
    PageLineCount = 0;
}

std::optional<std::string> ShopTerminal::termAsk(const std::string& prompt) {
    lastLine_.clear();
    termLine(prompt);
    answered_ = timedOut_ = false;
    station_.port.clock().waitUntil(
        [this] { return answered_ || timedOut_ || host_.shutDownTicked(); }, Clock::kForever,
        WaitMode::Responsive);
    if (!answered_) {
        if (timedOut_) {
            PageLineCount = 0;
            termLine("**Timeout**");
        }
        return std::nullopt;
    }
    return terminalAnswer(lastLine_);
}

void ShopTerminal::run() {
    machines_ = host_.machineNames();
    std::sort(machines_.begin(), machines_.end());
    LinesPerPage = int8_t(terminal_.Comm.LineDelay & 0xFF);
    AnswerTimeout = terminal_.Comm.CharDelay;
    line_->TimeOut = AnswerTimeout > 0 ? SecsToTicks(AnswerTimeout) : 0;
    // The menu reads the answers; the terminal screen shows its side.
    station_.sink.setPortInput(false);
    listening_ = true;
    const QMetaObject::Connection data = QObject::connect(
        &station_.port, &ComPort::dataAvailable, [this] { takeLineBytes(); });
    line_->setEnabled(true);
    SelectedMachine = "NONE";
    do {
        station_.port.discardOutput();
        station_.port.discardInput();
        termClear();
        termLine("*** VXN DNC ***");
        termLine("U)pload  D)ownload");
        PageLineCount = 0;
        termLine("M)achine L)ist Files");
        const std::optional<std::string> answer =
            termAsk("Mch:" + SelectedMachine + " - Cmd ?");
        if (answer && !answer->empty()) {
            char command = asciiUpper((*answer)[0]);
            if (SelectedMachine == "NONE" && command != 'M' && command != 'P' && command != 'Q') {
                PageLineCount = 1;
                termError("Select Machine 1st?");
                termLine(" ");
                command = 0;
            }
            switch (command) {
            case 'D': download(); break;
            case 'U': upload(); break;
            case 'L': listFiles(); break;
            case 'M': chooseMachine(); break;
            case 'P': postMessage(); break;
            case 'Q': host_.tickShutDown(); break;
            default: host_.backToHome(); break;
            }
        }
    } while (!host_.shutDownTicked());
    PageLineCount = 0;
    termLine("*** SHUTDOWN ***");
    line_->setEnabled(false);
    listening_ = false;
    QObject::disconnect(data);
}

bool ShopTerminal::waitForTransfer() {
    FileTransfer& transfer = station_.transfer;
    station_.port.clock().waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                                    WaitMode::Responsive);
    return transfer.lastCode() == 0;
}

void ShopTerminal::download() {
    PageLineCount = 0;
    const std::optional<std::string> file = termAsk("File?");
    if (!file || file->empty()) return;
    termLine("Downloading " + *file);
    termLine("To " + SelectedMachine + " ...");
    station_.port.clock().sleep(std::chrono::seconds(1), WaitMode::Responsive);
    const std::optional<MachineSettings> machine = host_.machineSettings(SelectedMachine);
    const RemoteTarget target =
        machine ? remoteTargetPath(machine->Format, "", RemoteRequest::Send, *file)
                : RemoteTarget{"", true};
    if (target.refused || !fileExists(target.path) || !host_.switchTo(SelectedMachine)) {
        host_.backToHome();
        PageLineCount = 1;
        termError("No Such File ?");
        termLine(" ");
        return;
    }
    listening_ = false;
    try {
        const WorkFiles work(tempFolder_);
        prepareDiskFile(target.path, work.WorkFile(), work.SendFile(),
                        tapeOptionsFor(*machine, settings_));
        setupForMachine(station_.transfer, machine->Comm, settings_.RtsLowForWrite,
                        TransferDirection::Sending);
        station_.transfer.FileMask = work.SendFile();
        if (!machine->Comm.SendWaitXon || waitForXon(station_, SelectedMachine)) {
            station_.transfer.startTransmit();
            waitForTransfer();
        }
    } catch (const std::exception& error) {
        station_.sink.writeTerminalLine(error.what());
    }
    listening_ = true;
    host_.backToHome();
}

void ShopTerminal::upload() {
    PageLineCount = 0;
    const std::optional<std::string> file = termAsk("File?");
    if (!file || file->empty()) return;
    const std::optional<MachineSettings> machine = host_.machineSettings(SelectedMachine);
    const RemoteTarget target =
        machine ? remoteTargetPath(machine->Format, "", RemoteRequest::Receive, *file)
                : RemoteTarget{"", true};
    if (target.refused) {
        host_.backToHome();
        PageLineCount = 1;
        termError("No Such File ?");
        termLine(" ");
        return;
    }
    if (fileExists(target.path)) {
        PageLineCount = 0;
        termLine("File Exists !");
        if (!host_.hasPrivilege(1)) {
            station_.log.WriteLog("Failed Attempt to Overwrite Via Remote");
            host_.backToHome();
            return;
        }
        const std::optional<std::string> yes = termAsk("Overwrite?");
        if (!yes || yes->empty() || asciiUpper((*yes)[0]) != 'Y') {
            host_.backToHome();
            return;
        }
    }
    PageLineCount = 0;
    termLine("Uploading " + *file);
    termLine("From " + SelectedMachine + " ...");
    if (!host_.switchTo(SelectedMachine)) {
        host_.backToHome();
        return;
    }
    listening_ = false;
    setupForMachine(station_.transfer, machine->Comm, settings_.RtsLowForWrite,
                    TransferDirection::Receiving);
    if (!machine->Comm.RecvWaitChar || waitForFirstChar(station_, SelectedMachine)) {
        station_.transfer.FileName = target.path;
        station_.transfer.startReceive();
        if (waitForTransfer() && tapeCodeOf(machine->Comm.TapeCode) == TapeCode::Eia) {
            try {
                convertReceivedFile(target.path, TapeCode::Eia);
            } catch (const std::exception& error) {
                station_.sink.writeTerminalLine(error.what());
            }
        }
    }
    listening_ = true;
    host_.backToHome();
}

void ShopTerminal::listFiles() {
    ContinueListing = true;
    const std::optional<MachineSettings> machine = host_.machineSettings(SelectedMachine);
    const std::string folder = machine ? folderTextToPath(machine->Format.DownloadFolder) : "";
    const std::string mask = "*." + (machine ? machine->Format.DefaultExt : std::string("TAP"));
    termClear();
    termLine("[" + withTrailingSeparator(folder) + mask + "]");
    const std::vector<DirectoryEntry> entries =
        machine ? matchingEntries(folder, mask) : std::vector<DirectoryEntry>{};
    for (size_t i = 0; i < entries.size() && ContinueListing; ++i)
        termLine(terminalDirectoryLine(entries[i].name, entries[i].size));
    if (entries.empty()) {
        termError("No Files Found?");
        termLine(" ");
    }
    PageLineCount = LinesPerPage;
    termLine(" ");
}

void ShopTerminal::chooseMachine() {
    PageLineCount = 0;
    if (const std::optional<std::string> answer = termAsk("Machine?")) SelectedMachine = *answer;
    if (SelectedMachine.empty()) {
        SelectedMachine = "NONE";
        ContinueListing = true;
        for (size_t i = 0; i < machines_.size() && ContinueListing; ++i) termLine(machines_[i]);
        return;
    }
    const auto listed = std::find_if(machines_.begin(), machines_.end(), [&](const std::string& m) {
        return equalsIgnoreCase(m, SelectedMachine);
    });
    if (listed == machines_.end()) {
        PageLineCount = 1;
        termError("No Such Machine ?");
        termLine(" ");
        SelectedMachine = "NONE";
    }
}

void ShopTerminal::postMessage() {
    const std::optional<std::string> text = termAsk("Msg?");
    if (text && !text->empty()) host_.operatorMessage(*text);
}

}  // namespace zantor
