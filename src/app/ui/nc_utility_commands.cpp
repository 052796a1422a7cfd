#include "app/ui/nc_utility_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/main_form.h"
#include "core/interaction.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "nctools/ui/add_remove_spaces_dialog.h"
#include "nctools/ui/file_cleanup_dialog.h"
#include "nctools/ui/process_dialog.h"
#include "session/app_session.h"

namespace zantor {

namespace {

QMenu* utilitiesMenu(TMainForm& form) {
    // The menu's parent is the window, wherever the menu bar shows it.
    if (auto* menu = form.findChild<QMenu*>("NcUtilitiesMenu")) return menu;
    auto* menu = new QMenu("&NC Utilities", &form);
    menu->setObjectName("NcUtilitiesMenu");
    form.menuBar()->insertMenu(form.setupMenu()->menuAction(), menu);
    return menu;
}

CommentMarks commentMarksOf(const MachineSettings& machine) {
    return {machine.Format.CommentStart, machine.Format.CommentEnd};
}

}  // namespace

NcUtilityCommands::NcUtilityCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      spaces_(new TAddremSpaces(&form)),
      cleanup_(new TFcleanDlg(&form)),
      progress_(new TProcessDlg(&form)) {
    cleanup_->setChoice(form.session().state.CurrentSettings.Utilities.CleanupOptions);
    form.session().machineLoaded.push_back([this](const MachineSettings& machine) {
        cleanup_->setChoice(machine.Utilities.CleanupOptions);
    });
    connect(spaces_, &TAddremSpaces::helpRequested, &form, &TMainForm::showHelp);
    connect(cleanup_, &TFcleanDlg::helpRequested, &form, &TMainForm::showHelp);

    QMenu* utilities = utilitiesMenu(form);
    QAction* spaces = utilities->addAction("Add / Remove &Spaces");
    spaces->setObjectName("actionAddRemoveSpaces");
    spaces->setStatusTip("Add or remove the spaces between the registers of the program");
    connect(spaces, &QAction::triggered, this, &NcUtilityCommands::addRemoveSpaces);
    QAction* cleanup = utilities->addAction("File Cleanup");
    cleanup->setObjectName("actionFileCleanup");
    cleanup->setStatusTip(
        "Clean the program up: text before the %, control characters, "
        "comments, blank lines, what follows the program end");
    connect(cleanup, &QAction::triggered, this, &NcUtilityCommands::fileCleanup);
}

template <typename Work>
void NcUtilityCommands::runOnActiveWindow(Work work) {
    editor::TMDIChild* window = form_.workspace().ActiveEditorWindow();
    if (!window) return;
    {
        const BusyCursor busy(interaction_);
        try {
            work(*window);
        } catch (const editor::EditorError& error) {
            interaction_.showError(error.what());
        }
    }
    window->FocusEditor();
}

void NcUtilityCommands::addRemoveSpaces() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (spaces_->exec() != QDialog::Accepted) return;
    const CommentMarks marks = commentMarksOf(form_.session().state.CurrentSettings);
    runOnActiveWindow([&](editor::TextDocument& document) {
        AddRemoveSpaces(document, *progress_, spaces_->change(), marks);
    });
}

void NcUtilityCommands::fileCleanup() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (cleanup_->exec() != QDialog::Accepted) return;
    runOnActiveWindow([&](editor::TextDocument& document) { runFileCleanup(document); });
}

bool NcUtilityCommands::runFileCleanup(editor::TextDocument& document) {
    return RunFileCleanup(document, *progress_, cleanup_->choice(),
                          commentMarksOf(form_.session().state.CurrentSettings));
}

}  // namespace zantor
