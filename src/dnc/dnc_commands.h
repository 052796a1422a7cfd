#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dnc/dnc_receive.h"
#include "dnc/send_chooser.h"

namespace zantor {

class Interaction;
class MachineDatabase;
class MachinePortControl;
class ProtocolStatusDisplay;
struct DncStation;
struct RunState;

// The commands of the DNC terminal window without the window: Send and
// Receive (over the port, or by direct file transfer), the reactions to the
// end of every transfer, and the line tests of the debugging menu. The
// window connects its buttons, the engine's events and its own state to it.
//
// `Busy` holds from the start of a command until its transfer has ended
// and the reactions to the end have run, for every transfer: Send and
// Receive are refused meanwhile, so a second Send never rewrites the send
// file still going out. The commands use the current machine; when the
// main window has made another machine current since the port was opened,
// the port is opened anew for it first, so a program never goes out in one
// machine's tape code on another machine's line.
class DncCommands {
public:
    DncCommands(DncStation& station, Interaction& interaction, RunState& state,
                const MachineDatabase& machines, MachinePortControl& portControl,
                SendChooser& chooser);
    ~DncCommands();
    DncCommands(const DncCommands&) = delete;
    DncCommands& operator=(const DncCommands&) = delete;

    // The window's side.
    std::function<bool()> windowMinimized;  // the progress window is left off then
    std::function<void(bool busy)> busyChanged;
    std::function<void(const std::string& name)> machineChanged;
    std::function<void(const std::string& text)> remoteActivity;
    // A port receive has its file and starts listening (a simulated machine
    // punches then).
    std::function<void()> receiveStarting;
    ProtocolStatusDisplay* progressDisplay = nullptr;

    void setChooser(SendChooser& chooser) { chooser_ = &chooser; }

    // The window has opened the port for the current machine.
    void windowShown();
    const std::string& HomeMachine() const { return homeMachine_; }
    bool Busy() const { return busy_; }

    void send();
    void receive();
    // Bound to the engine's finish and error events.
    void onTransferFinished(int code);
    void onTransferError(int code);

    // The debugging menu.
    void sendTestPattern();
    void newSendTest();
    void receiveBin();

    // The window closes while something runs: the transfer is cancelled,
    // a multi-file send ends, a receive that starts after a stopped wait is
    // cancelled at once. The caller stops the waits (the waiting window).
    void cancelRunning();

    // `HomeMachine` current again and its port reopened (after a transfer of
    // the shop-terminal menu for another machine).
    void restoreHomeMachine();

private:
    // A command or a reaction runs: Busy holds while one is on the stack.
    class Scope {
    public:
        explicit Scope(DncCommands& commands) : commands_(commands) {
            ++commands_.depth_;
            commands_.updateBusy();
        }
        ~Scope() {
            --commands_.depth_;
            commands_.updateBusy();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DncCommands& commands_;
    };

    void updateBusy();
    bool portReady();
    void attachProgress();
    void readyStatus();
    void portSend(const SendChoice& choice);
    void directSend();
    void portReceive();
    void directReceive();
    std::optional<ReceiveRequest> askReceiveFile();
    std::optional<std::string> askFolder(const std::string& title, const std::string& folder);
    void watchForCancel();

    DncStation& station_;
    Interaction& interaction_;
    RunState& state_;
    const MachineDatabase& machines_;
    MachinePortControl& portControl_;
    SendChooser* chooser_;
    std::string homeMachine_;
    std::string openMachine_;  // the machine the port was opened for
    int depth_ = 0;            // commands and reactions running
    bool busy_ = false;
    bool cancelRequested_ = false;
    std::optional<uint64_t> watch_;  // the clock callback of watchForCancel
};

}  // namespace zantor
