// The pop-up menu of the DNC window's "D" button: the line-debugging tools.
#include <QMenu>

#include "core/interaction.h"
#include "dnc/dnc_commands.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/com_port.h"
#include "dnc/ui/terminal_view.h"
#include "dnc/ui/tzdncterm.h"

namespace zantor {

void TZDNCTERM::buildDebugMenu() {
    debugMenu_ = new QMenu(this);
    debugMenu_->setObjectName("DebugMenu");
    auto item = [this](const char* name, const QString& text, auto action) {
        QAction* a = debugMenu_->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, action);
        return a;
    };
    hexAction_ = item("HexMode", "&Hex Mode", [this](bool on) { hexMode_ = on; });
    hexAction_->setCheckable(true);
    dtrAction_ = item("ToggleDtr", "Toggle &DTR", [this] {
        port_->setDtr(!port_->DTR());
        dtrAction_->setChecked(port_->DTR());
        view_->setFocus();
    });
    dtrAction_->setCheckable(true);
    dtrAction_->setChecked(true);
    transferActions_ << item("SendTestPattern", "Send Test &Pattern",
                             [this] { commands_->sendTestPattern(); });
    item("SendScanTest", "&Send Scan Test", [this] {
        env_.interaction.showMessage("Send Scan Test Not Implemented Yet");
    });
    item("SendXon", "Send an XON", [this] { port_->sendByte(port_->XOnChar()); });
    item("SendXoff", "Send an XOFF", [this] { port_->sendByte(port_->XOffChar()); });
    item("ReceiveScanTest", "&Recieve Scan Test", [this] {
        env_.interaction.showMessage("Receive Scan Test Not Implemented Yet");
    });
    item("ClearScreen", "&Clear Screen", [this] {
        view_->screen().clear();
        view_->screenChanged();
    });
    transferActions_ << item("NewSendTest", "New Send Test", [this] { commands_->newSendTest(); });
    transferActions_ << item("ReceiveBin", "Receive Bin", [this] { commands_->receiveBin(); });
    QAction* verbose = item("VerboseMode", "Verbose Mode", [this](bool on) {
        portControl_->VerboseMode = on;
        station_->VerboseMode = on;
    });
    verbose->setCheckable(true);
    captureAction_ = item("CaptureTerminal", "Capture Terminal",
                          [this](bool on) { toggleCapture(on); });
    captureAction_->setCheckable(true);
}

}  // namespace zantor
