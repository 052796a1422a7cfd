// The DNC terminal window's remote mode: "&Start" runs the remote loop or
// the shop-terminal menu inside the window, "&Done" stops it.
#include <QCheckBox>
#include <QPushButton>

#include "dnc/dnc_station.h"
#include "dnc/port/com_port.h"
#include "dnc/remote_station.h"
#include "dnc/shop_terminal.h"
#include "dnc/tape_options.h"
#include "dnc/ui/tzdncterm.h"
#include "dnc/ui/window_remote_host.h"
#include "session/run_state.h"

namespace zantor {

void TZDNCTERM::setPrivilegeCheck(std::function<bool(int)> check) {
    remoteHost_->privilegeCheck = std::move(check);
}

void TZDNCTERM::start() {
    if (!remoteMode_ || running_) return;
    running_ = true;
    loopActive_ = true;
    closeAfterLoop_ = false;
    start_->setEnabled(false);
    if (env_.state.CurrentMachComRec.DeviceType == kDeviceRemoteControl)
        runRemoteLoop();
    else
        runShopTerminal();
    loopActive_ = false;
    running_ = false;
    done_->setEnabled(true);
    setPortInput(port_->Open());
    emit remoteStopped();
    if (closeAfterLoop_) close();
}

void TZDNCTERM::runRemoteLoop() {
    done_->setEnabled(true);
    shutDown_->hide();
    setWindowTitle("REMOTE DNC (CNC) MODE");
    // A copy: the loop keeps the machine it started with whatever the main
    // window's selector does meanwhile.
    const MachineSettings machine = env_.state.CurrentSettings;
    RemoteStation remote(*station_, machine, env_.state.CurrentMachine,
                         tapeOptionsFor(machine, env_.state.Settings), env_.state.WorkFile,
                         env_.state.Settings.RtsLowForWrite, *remoteHost_);
    remote_ = &remote;
    remote.run();
    remote_ = nullptr;
}

void TZDNCTERM::runShopTerminal() {
    // "&Done" stays usable so that the operator at the PC can stop the
    // menu; it takes effect at the end of the current pass.
    done_->setEnabled(true);
    const MachineSettings terminal = env_.state.CurrentSettings;
    ShopTerminal menu(*station_, terminal, env_.state.Settings, env_.state.TempDir, *remoteHost_);
    menu.run();
    remoteMode_ = false;
}

void TZDNCTERM::done() {
    running_ = false;
    shutDown_->setChecked(true);
    if (remote_) remote_->stop();
    if (loopActive_) {
        // The loop unwinds first; the window closes once Start has returned.
        closeAfterLoop_ = true;
        return;
    }
    close();
}

}  // namespace zantor
