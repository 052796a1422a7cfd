#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>
#include <string>

class QAction;

namespace zantor {

namespace sim {
class ProtocolSimulatorThread;
class PtyPair;
class PtySimulator;
}  // namespace sim

class Clock;
class DeviceProvider;
struct MachComRec;
class Interaction;
class QtInteraction;
class SendChooser;
class SendPreparation;
class TSendDlg;
class TMainForm;
class TZDNCTERM;

// The "&DNC" menu, the toolbar's "Start DNC" button and the editor's "Dnc"
// command: they open the DNC terminal window for the current machine. Also
// the unattended remote station of a "CNCREMOTE" start.
class DncMenu : public QObject {
    Q_OBJECT
public:
    DncMenu(TMainForm& form, Interaction& interaction);
    ~DncMenu() override;

    // "&Go": privilege, log line, the window shown (or brought to the front).
    void go();
    // "Try without a machine": a simulated control of the current machine on
    // a pseudo-terminal takes the place of its port for the rest of the run,
    // and the DNC terminal opens on it.
    void tryWithoutMachine();
    // The "CNCREMOTE" start: the window minimised, "&Go", then "&Start"; the
    // main window closes when the service stops.
    void runRemoteStation();

    TZDNCTERM& terminal() const { return *terminal_; }
    // The file a simulated control set for a protocol last received, or "".
    std::string simulatedControlReceived() const;
    QAction* goAction() const { return go_; }

private:
    TMainForm& form_;
    // The terminal's own desktop dialogs, which come up over it.
    std::unique_ptr<QtInteraction> ownInteraction_;
    Interaction* terminalInteraction_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<DeviceProvider> devices_;
    std::unique_ptr<TZDNCTERM> terminal_;
    // The send selection over the active editor window.
    std::unique_ptr<SendPreparation> sendPreparation_;
    TSendDlg* sendDialog_ = nullptr;
    std::unique_ptr<SendChooser> sendChooser_;
    QAction* go_;
    void stopSimulatedControl();
    // False (and the user told why) when it could not start.
    bool startProtocolControl(const MachComRec& record, int rate);

    // The simulated control of "Try without a machine", once started: a
    // machine set for one of the published protocols answers by it.
    std::unique_ptr<sim::PtyPair> simulatedLine_;
    std::unique_ptr<sim::PtySimulator> simulatedControl_;
    std::unique_ptr<sim::ProtocolSimulatorThread> simulatedProtocolControl_;
    // Where that control keeps what it receives and the program it punches.
    std::unique_ptr<QTemporaryDir> simulatedFolder_;
};

}  // namespace zantor
