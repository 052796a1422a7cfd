#pragma once

#include <array>
#include <string>

#include "session/run_state.h"
#include "machines/mach_com_rec.h"

namespace zantor {

class ComPort;
class Interaction;
class MachineDatabase;
class PortStatusSink;
class StatusLights;

// The four hub definitions, hub n at index n - 1; an undefined hub has PortNum -1.
using HubTable = std::array<MachComRec, 4>;

// Turns a machine's communication record into an open, configured port,
// switching a DNC hub to the machine's hub port first where it has one. The
// DNC terminal window owns one and connects it to its port, lights, status
// line and terminal screen.
class MachinePortControl {
public:
    MachinePortControl(ComPort& port, StatusLights& lights, Interaction& interaction,
                       PortStatusSink& sink, RunState& state, const MachineDatabase& machines);

    // The window's "Verbose Mode": progress texts go to the terminal screen.
    bool VerboseMode = false;
    HubTable hubs;

    // The window is shown: buffer sizes, port devices, hubs, the current
    // machine's port.
    // False when the port could not be opened.
    bool openForCurrentMachine();
    void applyBufferSizes();
    // Port numbers to devices from section "PORTS" of the settings file.
    void loadPortMap();
    void loadHubTable();
    bool openMachinePort(const MachComRec& record);
    bool selectHub(int hub, int port);
    void showPortStatus();
    // The "Hu&b" button: asks for a hub and a port and selects them.
    void hubButton();
    // The port timer whose firing refreshes the flow-state text; 0 until the
    // first successful open.
    int flowTimer() const { return flowTimer_; }

private:
    void verbose(const std::string& text);
    void waitTicks(int ticks);
    // Waits `ticks`, and longer while the output has not yet left.
    void waitTicksAndDrain(int ticks);
    void sendWithEscapes(const std::string& text);

    ComPort& port_;
    StatusLights& lights_;
    Interaction& interaction_;
    PortStatusSink& sink_;
    RunState& state_;
    const MachineDatabase& machines_;
    int flowTimer_ = 0;
};

// " COM1 7E1 4800" for port 1 at 4800 baud, 7 data bits, even parity, one stop bit.
std::string portStatusText(int comNumber, int dataBits, char parityLetter, int stopBits, int baud);

}  // namespace zantor
