#include "dnc/ui/tzdncterm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "dnc/disk_file_chooser.h"
#include "dnc/dnc_commands.h"
#include "dnc/dnc_station.h"
#include "dnc/machine_port_control.h"
#include "dnc/port/com_port.h"
#include "dnc/port/file_transfer.h"
#include "dnc/port/status_lights.h"
#include "dnc/station_close.h"
#include "dnc/terminal/hex_mode.h"
#include "dnc/terminal/typed_key.h"
#include "dnc/ui/protocol_status.h"
#include "dnc/ui/status_lamp.h"
#include "dnc/ui/terminal_view.h"
#include "dnc/ui/waiting_box.h"
#include "dnc/ui/window_remote_host.h"
#include "session/run_state.h"

namespace zantor {

namespace {
constexpr int kHelpContext = 115;
constexpr const char* kLampWords[7] = {"CTS", "DSR", "DCD", "TXD", "RXD", "ERR", "BRK"};
}  // namespace

TZDNCTERM::TZDNCTERM(const DncWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent, Qt::Window),
      env_(environment),
      port_(std::make_unique<ComPort>(env_.clock, env_.devices)),
      // The lights see every port timer first, the window after them.
      lights_(std::make_unique<StatusLights>(*port_)),
      transfer_(std::make_unique<FileTransfer>(*port_)) {
    setObjectName("TZDNCTERM");
    view_ = new TerminalView(this);
    progress_ = new ProtocolStatus(this);
    waiting_ = new WaitingBox(this);
    station_ = std::make_unique<DncStation>(
        DncStation{*port_, *transfer_, env_.log, *this, *waiting_});
    portControl_ = std::make_unique<MachinePortControl>(*port_, *lights_, env_.interaction, *this,
                                                        env_.state, env_.machines);
    diskChooser_ = std::make_unique<DiskFileChooser>(env_.state, env_.interaction);
    commands_ = std::make_unique<DncCommands>(*station_, env_.interaction, env_.state,
                                              env_.machines, *portControl_, *diskChooser_);
    commands_->progressDisplay = progress_;
    commands_->windowMinimized = [this] { return isMinimized(); };
    commands_->busyChanged = [this](bool busy) { onBusy(busy); };
    commands_->machineChanged = [this](const std::string& name) {
        machine_->setText(QString::fromLatin1(name.c_str()));
    };
    commands_->remoteActivity = [this](const std::string& text) { setStatusText(text); };
    remoteHost_ = std::make_unique<WindowRemoteHost>(env_.state, env_.machines, *port_,
                                                     *portControl_, *commands_, env_.interaction);
    remoteHost_->showMessage = [this](const std::string& line) {
        messages_->addItem(QString::fromLatin1(line.c_str()));
        messages_->scrollToBottom();
    };
    remoteHost_->showActivity = [this](const std::string& text) { setStatusText(text); };
    remoteHost_->shutDownBox = [this] { return shutDown_->isChecked(); };
    remoteHost_->tickShutDownBox = [this] { shutDown_->setChecked(true); };
    transfer_->ProtocolLog.HistoryName = env_.state.ProgramFolder + "ztrprot.txt";

    buildLayout();
    buildDebugMenu();

    connect(port_.get(), &ComPort::dataAvailable, this, &TZDNCTERM::onData);
    connect(port_.get(), &ComPort::timerFired, this, &TZDNCTERM::onPortTimer);
    connect(lights_.get(), &StatusLights::lightsChanged, this, &TZDNCTERM::onLights);
    connect(transfer_.get(), &FileTransfer::OnProtocolFinish, this,
            [this](int code) { commands_->onTransferFinished(code); });
    connect(transfer_.get(), &FileTransfer::OnProtocolError, this,
            [this](int code) { commands_->onTransferError(code); });
    connect(view_, &TerminalView::keyTyped, this, &TZDNCTERM::onKey);
    applyMode();
}

TZDNCTERM::~TZDNCTERM() {
    transfer_->StatusDisplay = nullptr;
    if (port_->Open()) {
        port_->setDtr(false);
        port_->close();
    }
}

void TZDNCTERM::buildLayout() {
    auto* top = new QHBoxLayout;
    for (size_t i = 0; i < lamps_.size(); ++i) {
        lamps_[i] = new StatusLamp(kLampWords[i], this);
        top->addWidget(lamps_[i]);
    }
    top->addStretch();
    statusLine_ = new QLabel("Status", this);
    statusLine_->setObjectName("StatusLine");
    top->addWidget(statusLine_);

    auto* panel = new QGridLayout;
    status_ = new QLineEdit("Ready, On Line ...", this);
    status_->setObjectName("StatusField");
    status_->setReadOnly(true);
    status_->setFocusPolicy(Qt::NoFocus);
    panel->addWidget(new QLabel("Status:", this), 0, 0);
    panel->addWidget(status_, 0, 1, Qt::AlignLeft);
    messageLabel_ = new QLabel("Message:", this);
    messages_ = new QListWidget(this);
    messages_->setObjectName("MessageList");
    messages_->setStyleSheet("QListWidget { background: navy; color: lime; }");
    messages_->setMaximumHeight(4 * fontMetrics().height());
    panel->addWidget(messageLabel_, 1, 0);
    panel->addWidget(messages_, 1, 1);
    machine_ = new QLabel(this);
    machine_->setObjectName("MachineName");
    panel->addWidget(new QLabel("Machine:", this), 2, 0);
    panel->addWidget(machine_, 2, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    send_ = button("SendButton", "&Send");
    receive_ = button("ReceiveButton", "&Receive");
    start_ = button("StartButton", "&Start");
    done_ = button("DoneButton", "&Done");
    hub_ = button("HubButton", "Hu&b");
    hub_->hide();
    debug_ = button("DebugButton", "D");
    debug_->setToolTip("Debugging Tools");
    debug_->setFixedWidth(fontMetrics().horizontalAdvance("WW") + 8);
    help_ = button("HelpButton", "Help");
    shutDown_ = new QCheckBox("Start Shut Down ", this);
    shutDown_->setObjectName("ShutDownBox");
    buttons->addWidget(shutDown_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(panel);
    layout->addLayout(buttons);

    connect(send_, &QPushButton::clicked, this, [this] { commands_->send(); });
    connect(receive_, &QPushButton::clicked, this, [this] { commands_->receive(); });
    connect(start_, &QPushButton::clicked, this, &TZDNCTERM::start);
    connect(done_, &QPushButton::clicked, this, &TZDNCTERM::done);
    connect(hub_, &QPushButton::clicked, this, [this] { portControl_->hubButton(); });
    connect(help_, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    connect(debug_, &QPushButton::clicked, this, [this] {
        debugMenu_->popup(mapToGlobal(rect().center()));
    });
    view_->setFocus();
}

void TZDNCTERM::applyMode() {
    const int type = env_.state.CurrentMachComRec.DeviceType;
    remoteMode_ = type >= kDeviceHubTerminal && type <= kDeviceRemoteControl;
    send_->setVisible(!remoteMode_);
    receive_->setVisible(!remoteMode_);
    send_->setEnabled(!remoteMode_);
    receive_->setEnabled(!remoteMode_);
    start_->setVisible(remoteMode_);
    start_->setEnabled(remoteMode_);
    done_->setEnabled(true);
    shutDown_->setVisible(false);
    shutDown_->setEnabled(false);
    messages_->setVisible(remoteMode_);
    messageLabel_->setVisible(remoteMode_);
    if (remoteMode_) {
        setStatusText("Remote Mode ...");
        status_->setFixedWidth(192);
        setWindowTitle("REMOTE DNC MODE");
    } else {
        status_->setFixedWidth(450);
        setWindowTitle(QString(kApplicationTitle) + " -- DNC TERMINAL");
    }
}

void TZDNCTERM::showForCurrentMachine(bool minimized) {
    running_ = false;
    shutDown_->setChecked(false);
    machine_->setText(QString::fromLatin1(env_.state.CurrentMachine.c_str()));
    applyMode();
    if (minimized)
        showMinimized();
    else
        show();
    raise();
    portControl_->openForCurrentMachine();
    machine_->setText(QString::fromLatin1(env_.state.CurrentMachine.c_str()));
    applyMode();
    // Room for the whole screen and, in remote mode, the message list; a
    // window the operator made larger stays so.
    layout()->activate();
    resize(size().expandedTo(sizeHint()));
    if (!remoteMode_) setStatusText("Ready, On Line ...");
    port_->setDtr(true);
    dtrAction_->setChecked(true);
    commands_->windowShown();
    view_->setFocus();
}

void TZDNCTERM::setSendChooser(SendChooser& chooser) {
    commands_->setChooser(chooser);
}

QString TZDNCTERM::statusText() const {
    return status_->text();
}

QString TZDNCTERM::portStatusLine() const {
    return statusLine_->text();
}

QString TZDNCTERM::machineText() const {
    return machine_->text();
}

bool TZDNCTERM::lampLit(const QString& word) const {
    for (const StatusLamp* lamp : lamps_)
        if (lamp->text() == word) return lamp->isLit();
    return false;
}

void TZDNCTERM::setStatusText(const std::string& text) {
    activity_ = text;
    status_->setText(QString::fromLatin1(text.c_str()));
}

void TZDNCTERM::setPortStatus(const std::string& text) {
    statusLine_->setText(QString::fromLatin1(text.c_str()));
}

void TZDNCTERM::showOnScreen(const std::string& text, bool emulate) {
    if (emulate)
        view_->screen().write(text);
    else
        view_->screen().writePlain(text);
    view_->screenChanged();
    const std::string failure = capture_.write(text);
    if (!failure.empty()) {
        captureAction_->setChecked(false);
        env_.interaction.showError("The terminal capture stopped: " + failure);
    }
}

void TZDNCTERM::writeTerminalLine(const std::string& text) {
    showOnScreen(text + "\r\n", false);
}

void TZDNCTERM::writeTerminalText(const std::string& text) {
    showOnScreen(text, false);
}

void TZDNCTERM::setPortInput(bool on) {
    portInput_ = on;
    if (on) onData();  // what came meanwhile
}

void TZDNCTERM::setAnsiEmulation(bool on) {
    view_->screen().setEmulation(on ? TerminalEmulation::Ansi : TerminalEmulation::PlainText);
}

void TZDNCTERM::focusTerminal() {
    view_->setFocus();
}

void TZDNCTERM::onData() {
    if (!portInput_ || !port_->Open() || port_->bytesWaiting() == 0) return;
    const std::string bytes = port_->readAvailable();
    if (hexMode_)
        showOnScreen(hexModeText(bytes), false);
    else
        showOnScreen(bytes, true);
}

void TZDNCTERM::onKey(const std::string& text, bool enter) {
    const MachComRec& machine = env_.state.CurrentMachComRec;
    const TypedKey key = typedKey(text, enter, machine.LocalEcho != 0, machine.AutoLf != 0);
    if (port_->Open() && port_->sendText(key.toPort) != SendResult::Sent) {
        env_.interaction.beep();  // the machine holds the line: the key is not taken
        return;
    }
    if (!key.toScreen.empty()) showOnScreen(key.toScreen, true);
}

void TZDNCTERM::onPortTimer() {
    const FlowState flow = port_->flowState();
    const bool held = flow == FlowState::TransmitHeldByXoff || flow == FlowState::BothHeld;
    status_->setText(QString::fromLatin1(held ? "Held by XON" : activity_.c_str()));
}

void TZDNCTERM::onLights() {
    const LightStates& s = lights_->lights();
    const bool lit[7] = {s.cts, s.dsr, s.dcd, s.txd, s.rxd, s.err, s.brk};
    for (size_t i = 0; i < lamps_.size(); ++i) lamps_[i]->setLit(lit[i]);
}

void TZDNCTERM::onBusy(bool busy) {
    send_->setEnabled(!busy && !remoteMode_);
    receive_->setEnabled(!busy && !remoteMode_);
    for (QAction* action : transferActions_) action->setEnabled(!busy);
    if (!busy && closeWhenIdle_) {
        closeWhenIdle_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TZDNCTERM::closeEvent(QCloseEvent* event) {
    if (loopActive_) {
        event->ignore();
        // Refused while the service runs, unless it was started from the
        // command line: then closing stops it, and the window closes once
        // the loop has let go of the port.
        if (running_ && !commandLineRemote_) return;
        done();
        return;
    }
    if (commands_->Busy()) {
        event->ignore();
        if (closeWhenIdle_) return;
        if (!env_.interaction.confirm("A transfer is running. Cancel it and close the DNC "
                                      "terminal?"))
            return;
        closeWhenIdle_ = true;
        waiting_->stopBox()->setChecked(true);
        commands_->cancelRunning();
        return;
    }
    waiting_->hideWaiting();
    progress_->hide();
    portInput_ = false;
    lights_->setMonitoring(false);
    closeStationPort(*port_);
    if (capture_.active()) toggleCapture(false);
    captureAction_->setChecked(false);
    event->accept();
}

void TZDNCTERM::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !waiting_->isVisible()) return;
    if (isMinimized())
        waiting_->showMinimized();
    else
        waiting_->showNormal();
}

void TZDNCTERM::toggleCapture(bool on) {
    if (!on) {
        capture_.stop();
        return;
    }
    const std::string failure = capture_.start(env_.state.ProgramFolder + kCaptureFileName);
    if (!failure.empty()) {
        captureAction_->setChecked(false);
        env_.interaction.showError("The terminal cannot be captured: " + failure);
    }
}

}  // namespace zantor
