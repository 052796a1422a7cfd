#include "dnc/remote_station.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/file_io.h"
#include "core/ticks.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_waits.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port_status_sink.h"
#include "dnc/transfer_setup.h"
#include "dnc/work_file.h"
#include "users/activity_log.h"

namespace zantor {

namespace {

constexpr int kRequestTimeOutTicks = 200;
constexpr size_t kListingRoom = 81;  // free output room awaited before each listing line

std::string timeOfDay() {
    const std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
    return text;
}

}  // namespace

RemoteStation::RemoteStation(DncStation& station, const MachineSettings& machine,
                             std::string machineName, TapeOptions tape, std::string workFile,
                             bool rtsLowForWrite, RemoteStationView& view)
    : station_(station),
      machine_(machine),
      machineName_(std::move(machineName)),
      tape_(std::move(tape)),
      workFile_(std::move(workFile)),
      rtsLowForWrite_(rtsLowForWrite),
      view_(view),
      packets_(station.port.clock()) {
    // Offered the incoming data in this order.
    for (auto& p : packet_) p = std::make_unique<DataPacket>(packets_);
    packet_[kPath]->OnStringPacket = [this](const std::string& d) { onPath(d); };
    packet_[kDirectory]->OnStringPacket = [this](const std::string& d) { onDirectory(d); };
    packet_[kReceive]->OnStringPacket = [this](const std::string& d) { onReceive(d); };
    packet_[kSend]->OnStringPacket = [this](const std::string& d) { onSend(d); };
    packet_[kMessage]->OnStringPacket = [this](const std::string& d) { onMessage(d); };
    for (auto& p : packet_) {
        DataPacket* raw = p.get();
        raw->OnTimeout = [raw] { raw->setEnabled(true); };
    }
}

RemoteStation::~RemoteStation() {
    QObject::disconnect(dataConnection_);
    QObject::disconnect(finishConnection_);
}

void RemoteStation::terminal(const std::string& line) {
    station_.sink.writeTerminalLine(line);
}

void RemoteStation::requestFailed(const std::string& path) {
    terminal("Remote Request for [" + path + "] Failed");
    station_.log.WriteLog("Remote Request for [" + path + "] Failed");
}

void RemoteStation::announce(const std::string& command, const std::string& path, int delay) {
    station_.log.WriteLog("Remote Command \"" + command + "\", Machine [" + machineName_ +
                          "],File [" + path + "]");
    terminal("Waiting [" + std::to_string(delay) + "] Seconds");
    waitSeconds(delay);
}

void RemoteStation::waitSeconds(int seconds) {
    station_.port.clock().sleep(std::chrono::seconds(std::max(seconds, 0)), WaitMode::Responsive);
}

void RemoteStation::preparePackets() {
    const MachComRec& c = machine_.Comm;
    const std::pair<std::string, std::string> strings[kPacketCount] = {
        {c.RmtStartPath, c.RmtEndPath}, {c.RmtStartDir, c.RmtEndDir},
        {c.RmtStartRecv, c.RmtEndRecv}, {c.RmtStartSend, c.RmtEndSend},
        {c.RmtStartMsg, c.RmtEndMsg}};
    for (int i = 0; i < kPacketCount; ++i) {
        DataPacket& p = *packet_[size_t(i)];
        p.setEnabled(false);
        p.StartString = strings[i].first;
        p.EndString = strings[i].second.empty() ? "\r" : strings[i].second;
        p.EndCond = ecString;
        p.IncludeStrings = false;
        p.IgnoreCase = true;
        p.TimeOut = kRequestTimeOutTicks;
        p.AutoEnable = i != kReceive;
    }
}

void RemoteStation::setPacketsEnabled(bool on) {
    for (auto& p : packet_) {
        try {
            p->setEnabled(on);
        } catch (const PacketDefinitionError& error) {
            // An empty start string in the machine's setup: that request is off.
            terminal(std::string("Remote request not available: ") + error.what());
        }
    }
}

void RemoteStation::rearm() {
    RemotePath.clear();
    station_.port.discardInput();
    terminal("");
    terminal("Waiting For Remote CNC Machine");
    if (station_.port.flowState() != FlowState::On) view_.reopenPort();
}

void RemoteStation::takeRequestBytes() {
    // While a transfer or a wait reads the port, the bytes are theirs.
    if (!listening_ || busy_ || station_.transfer.inProgress()) return;
    const std::string bytes = station_.port.readAvailable();
    if (bytes.empty()) return;
    const TapeCode code = tapeCodeOf(machine_.Comm.TapeCode);
    packets_.feed(requestTextFromLine(bytes, code, code == TapeCode::Ascii));
}

void RemoteStation::run() {
    station_.sink.setPortInput(false);
    running_ = true;
    pendingReceive_.clear();
    preparePackets();
    rearm();
    setPacketsEnabled(true);
    listening_ = true;
    dataConnection_ = QObject::connect(&station_.port, &ComPort::dataAvailable,
                                       [this] { takeRequestBytes(); });
    finishConnection_ = QObject::connect(&station_.transfer, &FileTransfer::OnProtocolFinish,
                                         [this](int code) { onTransferFinished(code); });
    Clock& clock = station_.port.clock();
    while (running_) {
        clock.waitUntil([this] { return !running_ || !pendingReceive_.empty(); }, Clock::kForever,
                        WaitMode::Responsive);
        if (running_ && !pendingReceive_.empty()) remoteReceive();
    }
    listening_ = false;
    QObject::disconnect(dataConnection_);
    QObject::disconnect(finishConnection_);
    busy_ = false;
    setPacketsEnabled(false);
}

void RemoteStation::stop() {
    running_ = false;
}

void RemoteStation::onSend(const std::string& collected) {
    const std::string argument = requestArgument(collected);
    station_.sink.setPortInput(false);
    station_.port.discardInput();
    terminal("");
    terminal("Remote Requested Send of [" + argument + "]");
    const RemoteTarget target =
        remoteTargetPath(machine_.Format, RemotePath, RemoteRequest::Send, argument);
    if (target.refused || !std::filesystem::is_regular_file(target.path)) {
        requestFailed(target.path);
        rearm();
        return;
    }
    announce("Send", target.path, machine_.Comm.RmtSendDelay);
    terminal("Sending File ...");
    try {
        buildWorkFile(target.path, workFile_, tape_, target.path);
    } catch (const std::exception& error) {
        terminal(error.what());
        requestFailed(target.path);
        rearm();
        return;
    }
    setupForMachine(station_.transfer, machine_.Comm, rtsLowForWrite_, TransferDirection::Sending);
    station_.transfer.FileMask = workFile_;
    if (machine_.Comm.SendWaitXon && !waitForXon(station_, machineName_)) {
        rearm();
        return;
    }
    busy_ = true;
    // The completion re-arms; re-arming now could close the port under the send.
    station_.transfer.startTransmit();
}

void RemoteStation::onReceive(const std::string& collected) {
    const std::string argument = requestArgument(collected);
    station_.sink.setPortInput(false);
    setPacketsEnabled(false);
    station_.port.discardInput();
    station_.port.discardOutput();
    terminal("");
    terminal("Remote Requested Receive of [" + argument + "]");
    const RemoteTarget target =
        remoteTargetPath(machine_.Format, RemotePath, RemoteRequest::Receive, argument);
    if (target.refused) {
        requestFailed(target.path);
        setPacketsEnabled(true);
    } else if (machine_.Comm.RmtOverwrite || !std::filesystem::exists(target.path)) {
        pendingReceive_ = target.path;
    } else {
        terminal("");
        terminal("File Exists, Ignoring Request ");
        setPacketsEnabled(true);
    }
    rearm();
}

void RemoteStation::remoteReceive() {
    setPacketsEnabled(false);
    station_.port.discardInput();
    listening_ = false;  // what arrives from now on is the program
    announce("Receive", pendingReceive_, machine_.Comm.RmtRecvDelay);
    terminal("Receiving File ...");
    station_.sink.setPortInput(false);
    setupForMachine(station_.transfer, machine_.Comm, rtsLowForWrite_,
                    TransferDirection::Receiving);
    station_.transfer.FileName = pendingReceive_;
    if (machine_.Comm.RecvWaitChar && !waitForFirstChar(station_, machineName_)) {
        listening_ = true;  // stopped: the loop starts the receive again
        return;
    }
    busy_ = true;
    pendingReceive_.clear();
    station_.transfer.startReceive();
}

void RemoteStation::onDirectory(const std::string& collected) {
    const std::string argument = requestArgument(collected);
    station_.sink.setPortInput(false);
    terminal("Remote Requested Directory of [" + argument + "]");
    const RemoteTarget target =
        remoteTargetPath(machine_.Format, RemotePath, RemoteRequest::Directory, argument);
    if (target.refused) {
        requestFailed(target.path);
        rearm();
        return;
    }
    announce("Directory", target.path, machine_.Comm.RmtDirDelay);
    terminal("Sending Directory ...");
    const std::filesystem::path where(target.path);
    const auto entries =
        matchingEntries(where.parent_path().string(), where.filename().string());
    if (!sendListing(directoryListingLines(entries, machine_.Format.CommentStart,
                                           machine_.Format.CommentEnd)))
        requestFailed(target.path);
    rearm();
}

bool RemoteStation::sendListing(const std::vector<std::string>& lines) {
    ComPort& port = station_.port;
    // The machine may hold the line by XOFF, but not for longer than its
    // XOFF time-out: a listing never hangs the station.
    const Clock::Duration limit =
        ticksToDuration(SecsToTicks(std::max(machine_.Comm.XoffTime, 1) * 60));
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t room = std::max(kListingRoom, lines[i].size());
        if (i > 0 && !port.clock().waitUntil([&] { return port.outputFree() >= room; }, limit,
                                             WaitMode::Responsive))
            return false;
        if (port.sendText(lines[i]) != SendResult::Sent) return false;
    }
    return true;
}

void RemoteStation::onPath(const std::string& collected) {
    const std::string argument = requestArgument(collected);
    station_.sink.setPortInput(false);
    terminal("Remote Set Path To [" + argument + "]");
    if (remotePathAccepted(machine_.Format, argument)) {
        RemotePath = argument;
    } else {
        RemotePath.clear();
        requestFailed(argument);
    }
}

void RemoteStation::onMessage(const std::string& collected) {
    station_.sink.setPortInput(false);
    view_.operatorMessage(timeOfDay() + ": " + requestArgument(collected));
}

void RemoteStation::onTransferFinished(int) {
    if (!busy_) return;
    busy_ = false;
    listening_ = true;
    station_.sink.setPortInput(false);
    setPacketsEnabled(true);
    rearm();
    view_.remoteActivity("Remote (CNC) Mode");
}

}  // namespace zantor
