#include "app/ui/setup_commands.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "app/ui/dnc_menu.h"
#include "app/ui/main_form.h"
#include "app/ui/nc_utility_commands.h"
#include "app/ui/settings_dialog.h"
#include "core/file_io.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "dnc/port/device_provider.h"
#include "dnc/port/port_map.h"
#include "dnc/port_check.h"
#include "dnc/ui/tzdncterm.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "machines/ui/setup_dialog.h"
#include "nctools/ui/arithmetic_dialog.h"
#include "nctools/ui/file_cleanup_dialog.h"
#include "nctools/ui/line_ends_dialog.h"
#include "nctools/ui/make_columns_dialog.h"
#include "nctools/ui/reformat_dialog.h"
#include "nctools/ui/resequence_dialog.h"
#include "session/app_session.h"

namespace zantor {

// A utility dialog shown over the defaults the setup dialog edits, without
// running anything; its OK checks the values as for a run. The run dialogs
// get the machine's saved values back whenever the setup dialog loads a
// machine, which it does on closing.
template <class Dialog>
bool SetupCommands::editDefaultsIn(Dialog& dialog, UtilityDefaults& defaults) {
    dialog.setDefaults(defaults);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) dialog.storeDefaults(defaults);
    return accepted;
}

SetupCommands::SetupCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      setup_(new TZTRSetupDlg(form.session(), interaction, &form)),
      properties_(new TZtrSettingsDlg(form.session().state, interaction, &form)) {
    wireSetupDialog();
    connect(properties_, &TZtrSettingsDlg::helpRequested, &form, &TMainForm::showHelp);
    QMenu* setup = form.setupMenu();
    QAction* before = setup->actions().isEmpty() ? nullptr : setup->actions().first();
    auto* propertiesAction = new QAction("Properties", setup);
    propertiesAction->setObjectName("actionProperties");
    propertiesAction->setStatusTip("Editor, printing and DNC preferences");
    setup->insertAction(before, propertiesAction);
    connect(propertiesAction, &QAction::triggered, this, &SetupCommands::properties);
    auto* machines = new QAction("&Machine/DNC Setup...", setup);
    machines->setObjectName("actionMachineSetup");
    machines->setStatusTip("Machine Settings");
    setup->insertAction(before, machines);
    connect(machines, &QAction::triggered, this, &SetupCommands::machineSetup);
}

void SetupCommands::wireSetupDialog() {
    connect(setup_, &TZTRSetupDlg::helpRequested, &form_, &TMainForm::showHelp);
    setup_->showReport = [this](const std::string& file) {
        if (editor::TMDIChild* results = form_.workspace().ShowResultsWindow()) {
            results->LoadDocument(file);
            results->SetModified(false);
        }
    };
    setup_->testPort = [this](int portIndex) {
        const RunState& state = form_.session().state;
        PortMap map;
        try {
            map = PortMap::fromSettings(*IniStore::read(state.SettingsFile));
        } catch (const FileError&) {
            // The standard devices stand.
        }
        for (const auto& [number, path] : state.PortOverrides) map.set(number, path);
        SystemClock clock;
        TermiosDeviceProvider devices(clock);
        testPortOpen(map.devicePath(portIndex + 1), devices, interaction_);
    };
    setup_->editUtility = [this](TZTRSetupDlg::UtilityKind kind, UtilityDefaults& d) {
        NcUtilityCommands& utilities = form_.ncUtilityCommands();
        switch (kind) {
            case TZTRSetupDlg::Resequence:
                return editDefaultsIn(utilities.resequenceDialog(), d);
            case TZTRSetupDlg::LineBeginEnd:
                return editDefaultsIn(utilities.lineEndsDialog(), d);
            case TZTRSetupDlg::Arithmetic:
                return editDefaultsIn(utilities.arithmeticDialog(), d);
            case TZTRSetupDlg::Reformat: {
                TReformatDlg& dialog = utilities.reformatDialog();
                // The machines as the setup dialog lists them, added ones too.
                std::vector<std::string> names;
                for (int i = 0; i < setup_->Mnamebox->count(); ++i)
                    names.push_back(setup_->Mnamebox->itemText(i).toLatin1().toStdString());
                dialog.setMachines(names, form_.session().state.CurrentMachine,
                                   d.ReformatOtherMachine, TReformatDlg::Use::EditDefaults);
                return editDefaultsIn(dialog, d);
            }
            case TZTRSetupDlg::MakeColumns:
                return editDefaultsIn(utilities.columnsDialog(), d);
            case TZTRSetupDlg::FileCleanup:
                return editDefaultsIn(utilities.cleanupDialog(), d);
        }
        return false;
    };
}

void SetupCommands::properties() {
    properties_->exec();
    // OK or Cancel: a font chosen in the dialog is taken either way, and only
    // here does the WordStar key set follow its setting.
    editor::EditorWorkspace& workspace = form_.workspace();
    workspace.setWordStarActive(form_.session().state.Settings.WordStar);
    workspace.applySettingsToAll();
}

void SetupCommands::machineSetup() {
    AppSession& session = form_.session();
    if (!session.security.HasPrivilege(kPrivSystemSettings, true)) return;
    session.log.WriteLog("Modify System Settings");
    TZDNCTERM& terminal = form_.dncMenu().terminal();
    if (terminal.isVisible()) {
        interaction_.showInformation("Command Not Avaiable While DNC is Active");
        if (terminal.isMinimized()) terminal.showNormal();
        terminal.raise();
        terminal.activateWindow();
        return;
    }
    if (setup_->exec() != QDialog::Accepted) return;
    session.refillMachineSelector();
    session.selector.selectByName(session.state.CurrentMachine);
    form_.showMachineSelector();
    // The colouring follows the machine's comment strings.
    form_.workspace().recolourAll();
}

}  // namespace zantor
