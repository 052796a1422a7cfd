#include "dnc/machine_port_control.h"

#include <algorithm>
#include <cerrno>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "core/text_util.h"
#include "dnc/port/com_port.h"
#include "dnc/port/status_lights.h"
#include "dnc/port_status_sink.h"
#include "dnc/record_line_settings.h"
#include "dnc/slash_escapes.h"
#include "machines/machine_database.h"

namespace zantor {

namespace {

// The queues are 16-bit sized; a tiny or absurd size from the settings file
// would leave a port that cannot hold one line.
uint16_t queueSize(int configured) {
    return uint16_t(std::clamp(configured, 128, 65535));
}

// A hub that never drains its queue (held by XOFF) must not freeze the
// station: the drain before a hub switch gives up after this long.
constexpr auto kHubDrainLimit = std::chrono::seconds(10);

constexpr const char* kCannotOpen =
    "The Selected Port Number Cannot Be Opened\r\n"
    "Either the Port Does Not Exist or it is Already in Use";

}  // namespace

std::string portStatusText(int comNumber, int dataBits, char parityLetter, int stopBits, int baud) {
    return " " + comName(comNumber) + " " + std::to_string(dataBits) + parityLetter +
           std::to_string(stopBits) + " " + std::to_string(baud);
}

MachinePortControl::MachinePortControl(ComPort& port, StatusLights& lights,
                                       Interaction& interaction, PortStatusSink& sink,
                                       RunState& state, const MachineDatabase& machines)
    : port_(port),
      lights_(lights),
      interaction_(interaction),
      sink_(sink),
      state_(state),
      machines_(machines) {
    for (MachComRec& hub : hubs) {
        hub = DefaultMachComRec();
        hub.PortNum = -1;
    }
}

void MachinePortControl::verbose(const std::string& text) {
    if (VerboseMode) sink_.writeTerminalLine(text);
}

void MachinePortControl::waitTicks(int ticks) {
    port_.clock().sleep(ticksToDuration(std::max(ticks, 0)), WaitMode::Responsive);
}

void MachinePortControl::applyBufferSizes() {
    const uint16_t in = queueSize(state_.Settings.ComInSize);
    port_.setInSize(in);
    port_.setOutSize(queueSize(state_.Settings.ComOutSize));
    port_.setBufferFull(uint16_t(roundedFraction(in, 3, 4)));
    port_.setBufferResume(uint16_t(roundedFraction(in, 1, 4)));
}

void MachinePortControl::loadPortMap() {
    PortMap map;
    try {
        if (!state_.SettingsFile.empty())
            map = PortMap::fromSettings(*IniStore::read(state_.SettingsFile));
    } catch (const FileError&) {
        // Start-up has already said the settings cannot be read; the ports
        // keep their standard devices.
    }
    for (const auto& [number, path] : state_.PortOverrides) map.set(number, path);
    port_.setPortMap(map);
}

bool MachinePortControl::openForCurrentMachine() {
    applyBufferSizes();
    loadPortMap();
    loadHubTable();
    const MachComRec& machine = state_.CurrentMachComRec;
    verbose("Remote terminal parameter set name [" + state_.CurrentMachine + "]");
    verbose("Opening port#" + std::to_string(machine.PortNum + 1) + " HUB#" +
            std::to_string(machine.HubNum));
    bool opened = true;
    if (machine.DeviceType == kDeviceDirectTransfer) {
        sink_.setPortStatus("Direct File Transfer");
    } else {
        opened = openMachinePort(state_.CurrentMachComRec);
        if (opened) {
            showPortStatus();
            verbose("Remote port was opened");
        } else {
            verbose("Remote port was NOT opened");
        }
    }
    sink_.setStatusText("Ready, On Line ...");
    port_.setDtr(true);
    return opened;
}

void MachinePortControl::loadHubTable() {
    BusyCursor busy(interaction_);
    sink_.setStatusText("Loading HUB Info ...");
    const std::string current = state_.CurrentMachine;
    try {
        const auto ini = IniStore::read(machines_.path());
        MachineSettings scratch;
        for (int n = 1; n <= 4; ++n) {
            const std::string section = "HUB" + std::to_string(n);
            MachComRec& hub = hubs[size_t(n - 1)];
            if (ini->readString(section, "PORT", "NA") != "NA") {
                hub = machines_.ReadMachComRec(section, scratch);
            } else {
                hub = DefaultMachComRec();
                hub.PortNum = -1;
            }
        }
        state_.CurrentMachine = current;
        state_.CurrentMachComRec = machines_.ReadMachComRec(current, state_.CurrentSettings);
    } catch (const FileError& error) {
        // No hubs then; the machine's own record stays as it was loaded.
        for (MachComRec& hub : hubs) hub.PortNum = -1;
        interaction_.showError("Cannot read the machine database " + machines_.path() + ":\n" +
                               error.what());
    }
}

bool MachinePortControl::openMachinePort(const MachComRec& record) {
    lights_.setMonitoring(false);
    sink_.setPortInput(false);
    if (port_.Open()) {
        port_.close();
        if (port_.Open()) verbose("Port refused to close");
    }
    if (record.HubNum == 0) {
        port_.setComNumber(uint16_t(record.PortNum + 1));
    } else {
        if (!selectHub(record.HubNum, record.PortNum + 1)) {
            verbose("SelectHub in Comportset Failed");
            return false;
        }
        port_.setComNumber(uint16_t(hubs[size_t(record.HubNum - 1)].PortNum + 1));
        port_.close();
        verbose("SelectHub in Comportset Successful");
    }
    applyRecordLineSettings(port_, record);
    sink_.setAnsiEmulation(record.AnsiCodes != 0);
    const std::string number = std::to_string(port_.ComNumber());
    verbose("About to open the comport#" + number);
    waitTicks(state_.ComOpenDelayTicks);
    if (const auto failure = port_.open()) {
        verbose("Failed to open the comport#" + number);
        // A port the user may not use can be fixed by the user: say how.
        const bool permission = failure->errorNumber == EACCES || failure->errorNumber == EPERM;
        interaction_.showError(permission ? std::string(kCannotOpen) + "\r\n" + failure->message
                                          : std::string(kCannotOpen));
        return false;
    }
    verbose("The comport was opened");
    showPortStatus();
    sink_.setPortInput(true);
    lights_.setMonitoring(true);
    if (flowTimer_ == 0) flowTimer_ = port_.addTimer();
    port_.armTimer(flowTimer_, 36);
    return true;
}

void MachinePortControl::waitTicksAndDrain(int ticks) {
    // The port is closed and reopened right after: bytes still on their way
    // to the hub would be cut off, on a slow hub line or a short DTRDELAY.
    const Clock::Duration until = port_.clock().now() + ticksToDuration(std::max(ticks, 0));
    port_.clock().waitUntil([&] { return !port_.Open() || port_.outputQueued() == 0; },
                            kHubDrainLimit, WaitMode::Responsive);
    const Clock::Duration left = until - port_.clock().now();
    if (left > Clock::Duration(0)) port_.clock().sleep(left, WaitMode::Responsive);
}

void MachinePortControl::sendWithEscapes(const std::string& text) {
    const std::string bytes = decodeSlashEscapes(text);
    for (const char c : bytes) {
        // Long strings wait for room rather than fail on a small queue; a
        // hub that holds the line for good is given up on, as in the drain.
        port_.clock().waitUntil([&] { return port_.outputFree() > 0 || !port_.Open(); },
                                kHubDrainLimit, WaitMode::Responsive);
        if (port_.sendByte(uint8_t(c)) != SendResult::Sent) return;
    }
}

bool MachinePortControl::selectHub(int hub, int port) {
    const std::string hubText = std::to_string(hub);
    verbose("Selecting HUB#" + hubText + " Port#" + std::to_string(port));
    if (port_.Open())
        port_.clock().waitUntil([&] { return port_.outputQueued() == 0 || !port_.Open(); },
                                kHubDrainLimit, WaitMode::IgnoreUserInput);
    if (hub < 1 || hub > 4 || hubs[size_t(hub - 1)].PortNum == -1) {
        verbose("Error, HUB#" + hubText + " has not been defined");
        interaction_.showError("HUB #" + hubText + " Has not been Defined!");
        return false;
    }
    // The hub itself hangs on a plain PC port; a hub record naming a hub
    // would switch hubs for ever.
    MachComRec hubRecord = hubs[size_t(hub - 1)];
    hubRecord.HubNum = 0;
    if (!openMachinePort(hubRecord)) {
        verbose("Select hub, comportset failed");
        return false;
    }
    const int dtrDelay = state_.DtrDelayTicks;
    if (hubRecord.SendInit.starts_with("NOHUB")) {
        const std::string text = hubRecord.SendInit.substr(5) + state_.CurrentMachComRec.SendInit;
        verbose("NOHUB, sSendinit = [" + text + "]");
        sendWithEscapes(text);
        waitTicksAndDrain(dtrDelay / 2);
    } else {
        verbose("Select hub, comportset successful");
        waitTicks(dtrDelay);
        port_.setDtr(false);
        [[maybe_unused]] const SendResult sent = port_.sendByte(uint8_t('0' + (port - 1)));
        waitTicksAndDrain(dtrDelay);  // the hub reads it only while DTR is low
        port_.setDtr(true);
        waitTicks(dtrDelay / 2);
    }
    sink_.focusTerminal();
    return true;
}

void MachinePortControl::showPortStatus() {
    const bool simulated = state_.PortOverrides.count(port_.ComNumber()) > 0;
    sink_.setPortStatus(portStatusText(port_.ComNumber(), port_.DataBits(),
                                       parityLetter(port_.Parity()), port_.StopBits(),
                                       port_.Baud()) +
                        (simulated ? " (simulated machine)" : ""));
}

void MachinePortControl::hubButton() {
    const auto hubAnswer = interaction_.inputText("Switch HUB/Port", "Hub number ?", "1");
    if (!hubAnswer) return;
    const auto hub = parseInt(*hubAnswer);
    if (!hub || *hub < 1 || *hub > 4) {
        interaction_.showError("Hub number must be between 1 and 4");
        return;
    }
    const auto portAnswer = interaction_.inputText("Switch HUB/Port", "Port number ?", *hubAnswer);
    if (!portAnswer) return;
    const auto port = parseInt(*portAnswer);
    if (!port || *port < 1 || *port > 8) {
        interaction_.showError("Port number must be between 1 and 8");
        return;
    }
    selectHub(*hub, *port);
}

}  // namespace zantor
