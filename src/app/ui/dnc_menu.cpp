#include "app/ui/dnc_menu.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/ui/main_form.h"
#include "app/ui/nc_utility_commands.h"
#include "app/ui/qt_interaction.h"
#include "core/file_io.h"
#include "dnc/dnc_commands.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/clock.h"
#include "dnc/port/device_provider.h"
#include "dnc/send_selection.h"
#include "dnc/simulator/protocol_simulator_thread.h"
#include "dnc/simulator/pty_pair.h"
#include "dnc/simulator/pty_simulator.h"
#include "dnc/tape_code.h"
#include "dnc/ui/send_dialog.h"
#include "dnc/ui/send_dialog_chooser.h"
#include "dnc/ui/tzdncterm.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "users/user_record.h"

namespace zantor {

namespace {
// What the simulated control punches when the station receives.
constexpr const char* kSimulatedProgram =
    "%\r\nO1001 (PUNCHED BY THE SIMULATED MACHINE)\r\nG90 G0 X0 Y0\r\nG1 X10. F200.\r\n"
    "M30\r\n%\r\n";
// The same program as the file a control set for a protocol offers.
constexpr const char* kSimulatedProgramFile = "O1001.NC";
}  // namespace

DncMenu::DncMenu(TMainForm& form, Interaction& interaction)
    : QObject(&form), form_(form), terminalInteraction_(&interaction) {
    // On the desktop the terminal's messages come up over the terminal, not
    // over the main window, which would hide it; any other Interaction (a
    // test's) is shared.
    if (dynamic_cast<QtInteraction*>(&interaction)) {
        ownInteraction_ = std::make_unique<QtInteraction>();
        terminalInteraction_ = ownInteraction_.get();
    }
    AppSession& session = form_.session();
    clock_ = std::make_unique<SystemClock>();
    devices_ = std::make_unique<TermiosDeviceProvider>(*clock_);
    // A window of its own that stays above the main window, also when a
    // message box of the main window comes up.
    terminal_ = std::make_unique<TZDNCTERM>(
        DncWindowEnvironment{session.state, session.machines, session.log, *terminalInteraction_,
                             *clock_, *devices_},
        &form_);
    if (ownInteraction_) {
        ownInteraction_->setParentWindow(terminal_.get());
        ownInteraction_->keepToParentWindow(true);
    }
    terminal_->setWindowIcon(programIcon());
    editor::EditorWorkspace& workspace = form_.workspace();
    sendPreparation_ = std::make_unique<SendPreparation>(
        session.state, *terminalInteraction_,
        [&workspace]() -> editor::TextDocument* { return workspace.ActiveEditorWindow(); });
    sendPreparation_->cleanupBeforeSend = [this](editor::TextDocument& document) {
        return form_.ncUtilityCommands().runFileCleanup(document);
    };
    sendDialog_ = new TSendDlg(
        *sendPreparation_,
        [&workspace] {
            const editor::TMDIChild* window = workspace.ActiveEditorWindow();
            return window ? window->caption() : std::string();
        },
        terminal_.get());
    connect(sendDialog_, &TSendDlg::helpRequested, &form_, &TMainForm::showHelp);
    sendChooser_ = std::make_unique<SendDialogChooser>(*sendDialog_, *sendPreparation_);
    terminal_->setSendChooser(*sendChooser_);
    terminal_->setPrivilegeCheck(
        [&session](int privilege) { return session.security.HasPrivilege(privilege, false); });

    // Between the program's tools and "&Setup".
    auto* menu = new QMenu("&DNC", &form_);
    form_.menuBar()->insertMenu(form_.setupMenu()->menuAction(), menu);
    menu->setObjectName("DncMenu");
    menu->menuAction()->setStatusTip("Send and receive programs");
    go_ = menu->addAction("&Go");
    go_->setObjectName("DncGo");
    go_->setStatusTip("Start DNC");
    connect(go_, &QAction::triggered, this, &DncMenu::go);
    QAction* simulate = menu->addAction("&Try without a machine");
    simulate->setObjectName("DncSimulate");
    simulate->setStatusTip(
        "Send and receive with a simulated control of the current machine, for this run only");
    connect(simulate, &QAction::triggered, this, &DncMenu::tryWithoutMachine);
    // The remote station starts from the machine's device type; the entry
    // and its button stay hidden.
    QAction* remote = menu->addAction("&Remote");
    remote->setObjectName("DncRemote");
    remote->setShortcut(QKeySequence(Qt::Key_F5));
    remote->setVisible(false);
    remote->setEnabled(false);

    if (auto* bar = form_.findChild<QToolBar*>("MachineToolBar")) {
        QAction* button = bar->addAction(QIcon::fromTheme("network-transmit-receive"), "Start DNC");
        button->setObjectName("StartDncButton");
        button->setToolTip("Start DNC");
        button->setStatusTip("Start DNC");
        connect(button, &QAction::triggered, this, &DncMenu::go);
    }
    if (auto* context = form_.findChild<QAction*>("contextDnc")) {
        context->setEnabled(true);
        connect(context, &QAction::triggered, this, &DncMenu::go);
    }
    connect(terminal_.get(), &TZDNCTERM::helpRequested, &form_, &TMainForm::showHelp);
    // The simulated control punches its demonstration program once a receive
    // listens for it (a real control is started by its operator).
    terminal_->commands().receiveStarting = [this] {
        if (simulatedControl_)
            simulatedControl_->after(std::chrono::milliseconds(300),
                                     [](sim::MachineSimulator& m) { m.punch(kSimulatedProgram); });
        if (simulatedProtocolControl_)
            simulatedProtocolControl_->punchNow(
                simulatedFolder_->filePath(kSimulatedProgramFile).toStdString());
    };
}

DncMenu::~DncMenu() {
    // The window's port and timers use the clock and the devices; its send
    // dialog uses the preparation.
    terminal_.reset();
    stopSimulatedControl();
}

void DncMenu::stopSimulatedControl() {
    if (simulatedControl_) simulatedControl_->stop();
    simulatedControl_.reset();
    simulatedProtocolControl_.reset();  // stops its thread
}

void DncMenu::tryWithoutMachine() {
    if (terminal_->isVisible()) {
        terminalInteraction_->showInformation(
            "Close the DNC terminal first: the simulated machine takes its port.");
        return;
    }
    RunState& state = form_.session().state;
    // The hubs and the current machine's record as the window will open them.
    MachinePortControl& control = terminal_->portControl();
    control.loadHubTable();
    const MachComRec& record = state.CurrentMachComRec;
    if (record.DeviceType == kDeviceDirectTransfer) {
        terminalInteraction_->showInformation(
            "The machine is set up for direct file transfer, which uses no port.");
        return;
    }
    try {
        if (!simulatedLine_) simulatedLine_ = std::make_unique<sim::PtyPair>();
    } catch (const std::exception& error) {
        terminalInteraction_->showError(
            std::string("No pseudo-terminal for the simulated machine: ") + error.what());
        return;
    }
    stopSimulatedControl();
    int rate = 0;
    if (record.BaudNum >= 0 && size_t(record.BaudNum) < kBaudRates.size())
        rate = std::stoi(std::string(kBaudRates[size_t(record.BaudNum)])) / 10;
    if (record.Protocol >= 1 && record.Protocol <= 4) {
        if (!startProtocolControl(record, rate)) return;
    } else {
        sim::MachineProfile profile;
        profile.code = tapeCodeOf(record.TapeCode);
        simulatedControl_ =
            std::make_unique<sim::PtySimulator>(simulatedLine_->masterFd(), profile, rate);
    }
    // The machine's own port and, for a machine on a DNC hub, the hub's.
    state.PortOverrides[record.PortNum + 1] = simulatedLine_->slavePath();
    if (record.HubNum >= 1 && record.HubNum <= 4) {
        const int hubPort = control.hubs[size_t(record.HubNum - 1)].PortNum;
        if (hubPort >= 0) state.PortOverrides[hubPort + 1] = simulatedLine_->slavePath();
    }
    go();
}

bool DncMenu::startProtocolControl(const MachComRec& record, int rate) {
    if (!simulatedFolder_) simulatedFolder_ = std::make_unique<QTemporaryDir>();
    const std::string program = simulatedFolder_->filePath(kSimulatedProgramFile).toStdString();
    std::string failure;
    if (!simulatedFolder_->isValid()) {
        failure = simulatedFolder_->errorString().toStdString();
    } else {
        try {
            writeFileAtomically(program, kSimulatedProgram);
        } catch (const FileError& error) {
            failure = error.what();
        }
    }
    if (!failure.empty()) {
        terminalInteraction_->showError("No folder for the simulated machine: " + failure);
        simulatedFolder_.reset();
        return false;
    }
    simulatedProtocolControl_ = std::make_unique<sim::ProtocolSimulatorThread>(
        simulatedLine_->masterFd(), record, rate, simulatedFolder_->path().toStdString());
    return true;
}

std::string DncMenu::simulatedControlReceived() const {
    if (!simulatedProtocolControl_) return {};
    constexpr std::string_view kReceived = "Received ";
    const std::vector<std::string> news = simulatedProtocolControl_->news();
    for (auto it = news.rbegin(); it != news.rend(); ++it)
        if (it->starts_with(kReceived)) return it->substr(kReceived.size());
    return {};
}

void DncMenu::go() {
    AppSession& session = form_.session();
    if (!session.security.HasPrivilege(kPrivDnc, true)) {
        session.log.WriteLog("Failed Attempt to Start DNC");
        return;
    }
    if (terminal_->isVisible()) {
        if (terminal_->isMinimized()) terminal_->showNormal();
        terminal_->raise();
        terminal_->activateWindow();
        return;
    }
    session.log.WriteLog("DNC Terminal: Machine Name [" + session.state.CurrentMachine + "]");
    terminal_->clearRemoteMode();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    terminal_->showForCurrentMachine(session.state.RemoteMode);
    QApplication::restoreOverrideCursor();
}

void DncMenu::runRemoteStation() {
    terminal_->setCommandLineRemote(true);
    go();
    // Refused, or a machine that is no remote station: nothing to run.
    if (terminal_->isVisible() && terminal_->remoteMode()) terminal_->start();
    // The service has stopped: the program ends with it.
    terminal_->close();
    form_.close();
}

}  // namespace zantor
