#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "dnc/port_status_sink.h"
#include "dnc/terminal/terminal_capture.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace zantor {

class ActivityLog;
class Clock;
class ComPort;
class DeviceProvider;
class DncCommands;
class FileTransfer;
class Interaction;
class MachineDatabase;
class MachinePortControl;
class ProtocolStatus;
class SendChooser;
class StatusLamp;
class StatusLights;
class TerminalView;
class WaitingBox;
class WindowRemoteHost;
class RemoteStation;
struct DncStation;
struct RunState;

// What the DNC window works with.
struct DncWindowEnvironment {
    RunState& state;
    const MachineDatabase& machines;
    ActivityLog& log;
    Interaction& interaction;
    Clock& clock;
    DeviceProvider& devices;
};

// The DNC terminal window: the station's serial port, transfer engine and
// terminal screen, the seven status lights, the status line and the bottom
// panel with Send, Receive and the remote Start, and the debugging tools.
// Its commands are DncCommands; the window shows and connects.
class TZDNCTERM : public QWidget, public PortStatusSink {
    Q_OBJECT
public:
    explicit TZDNCTERM(const DncWindowEnvironment& environment, QWidget* parent = nullptr);
    ~TZDNCTERM() override;

    // Shows the window for the current machine and opens its port
    // (switching its hub first); minimised for the unattended remote start.
    void showForCurrentMachine(bool minimized = false);
    // The send selection the window's Send asks.
    void setSendChooser(SendChooser& chooser);
    // Started with "CNCREMOTE": the window may always be closed.
    void setCommandLineRemote(bool on) { commandLineRemote_ = on; }
    // The logged-in user's privilege check for the shop-terminal menu.
    void setPrivilegeCheck(std::function<bool(int)> check);
    // "&Start" and "&Done" of remote mode. Start returns once the remote
    // loop or the shop-terminal menu has stopped.
    void start();
    void done();
    bool running() const { return running_; }
    void clearRemoteMode() { remoteMode_ = false; }
    bool remoteMode() const { return remoteMode_; }
    bool hexMode() const { return hexMode_; }

    ComPort& port() { return *port_; }
    FileTransfer& transfer() { return *transfer_; }
    DncCommands& commands() { return *commands_; }
    MachinePortControl& portControl() { return *portControl_; }
    TerminalView* terminal() const { return view_; }
    ProtocolStatus* progressWindow() const { return progress_; }
    WaitingBox* waitingBox() const { return waiting_; }
    QMenu* debugMenu() const { return debugMenu_; }
    QString statusText() const;
    QString portStatusLine() const;
    QString machineText() const;
    bool lampLit(const QString& word) const;

    // PortStatusSink: the logic's view of the window.
    void setStatusText(const std::string& text) override;
    void setPortStatus(const std::string& text) override;
    void writeTerminalLine(const std::string& text) override;
    void writeTerminalText(const std::string& text) override;
    void setPortInput(bool on) override;
    void setAnsiEmulation(bool on) override;
    void focusTerminal() override;

signals:
    void helpRequested(int context);
    // The remote loop or the shop-terminal menu has stopped.
    void remoteStopped();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void buildDebugMenu();
    void applyMode();
    void showOnScreen(const std::string& text, bool emulate);
    void onData();
    void onKey(const std::string& text, bool enter);
    void onPortTimer();
    void onLights();
    void onBusy(bool busy);
    void runRemoteLoop();
    void runShopTerminal();
    void toggleCapture(bool on);

    DncWindowEnvironment env_;
    std::unique_ptr<ComPort> port_;
    std::unique_ptr<StatusLights> lights_;
    std::unique_ptr<FileTransfer> transfer_;
    std::unique_ptr<DncStation> station_;
    std::unique_ptr<MachinePortControl> portControl_;
    std::unique_ptr<SendChooser> diskChooser_;
    std::unique_ptr<DncCommands> commands_;
    std::unique_ptr<WindowRemoteHost> remoteHost_;
    RemoteStation* remote_ = nullptr;  // while the remote loop runs
    TerminalCapture capture_;

    TerminalView* view_;
    ProtocolStatus* progress_;
    WaitingBox* waiting_;
    std::array<StatusLamp*, 7> lamps_{};
    QLabel* statusLine_;
    QLineEdit* status_;
    QLabel* messageLabel_;
    QListWidget* messages_;
    QLabel* machine_;
    QPushButton *send_, *receive_, *start_, *done_, *hub_, *debug_, *help_;
    QCheckBox* shutDown_;
    QMenu* debugMenu_ = nullptr;
    QAction *hexAction_ = nullptr, *dtrAction_ = nullptr, *captureAction_ = nullptr;
    QList<QAction*> transferActions_;

    std::string activity_ = "Ready, On Line ...";  // what the status shows when not held
    bool portInput_ = false;
    bool hexMode_ = false;
    bool remoteMode_ = false;
    bool running_ = false;
    bool commandLineRemote_ = false;
    bool closeWhenIdle_ = false;
    bool loopActive_ = false;      // Start's loop is on the stack
    bool closeAfterLoop_ = false;  // "&Done" came while it was
};

}  // namespace zantor
