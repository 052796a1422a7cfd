#pragma once

#include <QObject>

#include "machines/machine_settings.h"

namespace zantor {

class Interaction;
class TMainForm;
class TZTRSetupDlg;
class TZtrSettingsDlg;

// The Setup menu's "Properties" and "&Machine/DNC Setup...": the settings
// dialog applied to the editor views, and (after the privilege check and the
// log line) the setup dialog wired to the NC-utility dialogs, the serial
// ports and the results window.
class SetupCommands : public QObject {
    Q_OBJECT
public:
    SetupCommands(TMainForm& form, Interaction& interaction);

    void machineSetup();
    // "Properties": the dialog, then its settings on every editor view.
    void properties();
    TZTRSetupDlg& setupDialog() const { return *setup_; }
    TZtrSettingsDlg& propertiesDialog() const { return *properties_; }

private:
    void wireSetupDialog();
    template <class Dialog>
    bool editDefaultsIn(Dialog& dialog, UtilityDefaults& defaults);

    TMainForm& form_;
    Interaction& interaction_;
    TZTRSetupDlg* setup_;
    TZtrSettingsDlg* properties_;
};

}  // namespace zantor
