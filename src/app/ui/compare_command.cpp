#include "app/ui/compare_command.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "app/ui/font_conversion.h"
#include "app/ui/main_form.h"
#include "compare/compare_settings.h"
#include "compare/ui/tgrid_form.h"
#include "session/app_session.h"

namespace zantor {

CompareCommand::CompareCommand(TMainForm& form, Interaction& interaction) : QObject(&form) {
    AppSession& session = form.session();
    const std::string settings = compare::CompareSettingsPath(
        session.state.SystemFolder, QCoreApplication::applicationFilePath().toStdString());
    // A window of its own beside the editors, not a child of the main window's area.
    window_ = new TGridForm(interaction, settings, [&session] { return toQFont(session.state.EditorFont); });
    connect(window_, &TGridForm::helpRequested, &form, &TMainForm::showHelp);

    auto* action = form.findChild<QAction*>("actionCompareTwoFiles");
    if (!action) {
        auto* menu = form.findChild<QMenu*>("NcUtilitiesMenu");
        action = new QAction("C&ompare Two Files", menu ? static_cast<QObject*>(menu) : &form);
        action->setObjectName("actionCompareTwoFiles");
        if (menu) menu->addAction(action);
    }
    action->setStatusTip("Compare two versions of a program line by line");
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, &CompareCommand::showWindow);
}

CompareCommand::~CompareCommand() {
    // The program ends with the window still open: its close did not save.
    window_->saveSettings(true);
    delete window_;
}

void CompareCommand::showWindow() {
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace zantor
