#include "app/ui/nc_utility_commands.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/main_form.h"
#include "core/file_io.h"
#include "core/interaction.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "nctools/feed_speed_override.h"
#include "nctools/line_ends.h"
#include "nctools/make_columns.h"
#include "nctools/nc_file_info.h"
#include "nctools/reformat.h"
#include "nctools/file_splitter.h"
#include "nctools/ui/file_split_dialog.h"
#include "nctools/machine_values.h"
#include "nctools/register_arithmetic.h"
#include "nctools/resequence.h"
#include "nctools/ui/add_remove_spaces_dialog.h"
#include "nctools/ui/arithmetic_dialog.h"
#include "nctools/ui/feed_speed_override_dialog.h"
#include "nctools/ui/file_cleanup_dialog.h"
#include "nctools/ui/line_ends_dialog.h"
#include "nctools/ui/make_columns_dialog.h"
#include "nctools/ui/nc_info_dialog.h"
#include "nctools/ui/reformat_dialog.h"
#include "nctools/ui/process_dialog.h"
#include "nctools/ui/resequence_dialog.h"
#include "session/app_session.h"

namespace zantor {

namespace {

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
      arithmetic_(new TArithDlg(interaction, &form)),
      lineEnds_(new TChgBeginEndDlg(&form)),
      override_(new TFSoverDlg(&form)),
      resequence_(new TRESEQDlg(interaction, &form)),
      progress_(new TProcessDlg(&form)),
      columns_(new TMakeColsDlg(interaction, &form)),
      info_(new TNcinfoDlg(&form)),
      reformat_(new TReformatDlg(interaction, &form)),
      split_(new TFileSplitdlg(interaction, &form)) {
    const auto takeMachineDefaults = [this](const MachineSettings& machine) {
        cleanup_->setChoice(machine.Utilities.CleanupOptions);
        arithmetic_->setDefaults(machine.Utilities);
        lineEnds_->setDefaults(machine.Utilities);
        resequence_->setDefaults(machine.Utilities);
        columns_->setDefaults(machine.Utilities);
        reformat_->setDefaults(machine.Utilities);
    };
    takeMachineDefaults(form.session().state.CurrentSettings);
    form.session().machineLoaded.push_back(takeMachineDefaults);
    connect(spaces_, &TAddremSpaces::helpRequested, &form, &TMainForm::showHelp);
    connect(cleanup_, &TFcleanDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(arithmetic_, &TArithDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(lineEnds_, &TChgBeginEndDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(override_, &TFSoverDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(resequence_, &TRESEQDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(columns_, &TMakeColsDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(reformat_, &TReformatDlg::helpRequested, &form, &TMainForm::showHelp);
    connect(split_, &TFileSplitdlg::helpRequested, &form, &TMainForm::showHelp);

    QMenu* utilities = form.mainMenu("NcUtilitiesMenu", "&NC Utilities");
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

    // In the menu's order: Arithmetic before the spaces, the others between
    // the spaces and File Cleanup.
    const auto addBefore = [&](QAction* before, const char* text, const char* name,
                               const char* tip, void (NcUtilityCommands::*run)()) {
        auto* action = new QAction(text, utilities);
        action->setObjectName(name);
        action->setStatusTip(tip);
        utilities->insertAction(before, action);
        connect(action, &QAction::triggered, this, run);
    };
    addBefore(spaces, "&Arithmetic", "actionArithmetic",
              "Add, subtract, multiply or divide register values by an amount",
              &NcUtilityCommands::arithmetic);
    addBefore(cleanup, "Change &Line Begin/End", "actionChangeLineEnds",
              "Put a text at the start and the end of every line",
              &NcUtilityCommands::changeLineEnds);
    addBefore(cleanup, "F&eed / Speed Overide", "actionFeedSpeedOverride",
              "Scale the feed rates and spindle speeds by percentages",
              &NcUtilityCommands::feedSpeedOverride);
    addBefore(cleanup, "&Re-Sequence", "actionResequence",
              "Renumber the block numbers, or remove them", &NcUtilityCommands::resequence);
    QAction* columns = utilities->addAction("&Make Columns");
    columns->setObjectName("actionMakeColumns");
    columns->setStatusTip("Lay the words of every line out in columns by register letter");
    connect(columns, &QAction::triggered, this, &NcUtilityCommands::makeColumns);
    QAction* reformat = utilities->addAction("Re-&Format");
    reformat->setObjectName("actionReformat");
    reformat->setStatusTip("Convert the program to another machine's number format and codes");
    connect(reformat, &QAction::triggered, this, &NcUtilityCommands::reformat);
    QAction* split = utilities->addAction("File Splitter");
    split->setObjectName("actionFileSplitter");
    split->setStatusTip("Write every program of the file to its own file");
    connect(split, &QAction::triggered, this, &NcUtilityCommands::splitFile);
    QAction* info = utilities->addAction("&Information");
    info->setObjectName("actionInformation");
    info->setStatusTip("File name, lines, characters and tape length of the program");
    connect(info, &QAction::triggered, this, &NcUtilityCommands::information);
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

void NcUtilityCommands::arithmetic() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (arithmetic_->exec() != QDialog::Accepted) return;
    const MachineFormat& machine = form_.session().state.CurrentSettings.Format;
    runOnActiveWindow([&](editor::TextDocument& document) {
        RegisterArithmetic(document, *progress_, arithmetic_->settings(),
                           axisValueFormat(machine), machineCommentMarks(machine));
    });
}

void NcUtilityCommands::changeLineEnds() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (lineEnds_->exec() != QDialog::Accepted) return;
    runOnActiveWindow([&](editor::TextDocument& document) {
        ChangeLineEnds(document, *progress_, lineEnds_->ends());
    });
}

void NcUtilityCommands::feedSpeedOverride() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (override_->exec() != QDialog::Accepted) return;
    const MachineFormat& machine = form_.session().state.CurrentSettings.Format;
    runOnActiveWindow([&](editor::TextDocument& document) {
        OverrideFeedsSpeeds(document, *progress_, override_->percentages(),
                            feedValueFormat(machine), machineCommentMarks(machine));
    });
}

void NcUtilityCommands::resequence() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (resequence_->exec() != QDialog::Accepted) return;
    const ResequenceSettings settings = resequence_->settings();
    runOnActiveWindow(
        [&](editor::TextDocument& document) { Resequence(document, *progress_, settings); });
}

void NcUtilityCommands::makeColumns() {
    if (!form_.workspace().RequireActiveDocument()) return;
    if (columns_->exec() != QDialog::Accepted) return;
    const ColumnLayout layout = columns_->layout();
    const CommentMarks marks = commentMarksOf(form_.session().state.CurrentSettings);
    runOnActiveWindow([&](editor::TextDocument& document) {
        MakeColumns(document, *progress_, layout, marks);
    });
}

void NcUtilityCommands::information() {
    if (!form_.workspace().RequireActiveDocument()) return;
    editor::TMDIChild* window = form_.workspace().ActiveEditorWindow();
    info_->setInfo(ncFileInfo(*window));
    info_->exec();
}

void NcUtilityCommands::reformat() {
    if (!form_.workspace().RequireActiveDocument()) return;
    AppSession& session = form_.session();
    reformat_->setMachines(session.selector.entries(), session.state.CurrentMachine,
                           session.state.CurrentSettings.Utilities.ReformatOtherMachine);
    if (reformat_->exec() != QDialog::Accepted) return;
    const ReformatSettings settings = reformat_->settings();
    const ReformatMachine from = reformatMachineOf(session.state.CurrentSettings.Format);
    // The new machine becomes the current one before the run, as the
    // machine selector would make it.
    const int index = form_.machineBox()->findText(QString::fromLatin1(reformat_->newMachine().c_str()));
    if (index < 0) return;
    form_.machineBox()->setCurrentIndex(index);
    session.machineSelected(index);
    form_.workspace().recolourAll();
    const ReformatMachine to = reformatMachineOf(session.state.CurrentSettings.Format);
    runOnActiveWindow([&](editor::TextDocument& document) {
        Reformat(document, *progress_, settings, from, to);
    });
}

void NcUtilityCommands::splitFile() {
    if (!form_.workspace().RequireActiveDocument()) return;
    const MachineFormat& machine = form_.session().state.CurrentSettings.Format;
    split_->setOutput(machine.LoadSaveFolder, machine.DefaultExt);
    if (split_->exec() != QDialog::Accepted) return;
    SplitSettings settings = split_->settings();
    settings.programId = machine.ProgramId;
    const auto askOverwrite = [&](const std::string& path) {
        FileDialogRequest request;
        request.title = "Save " + path + " As";
        request.folder = settings.folder;
        request.fileName = path.substr(path.find_last_of('/') + 1);
        request.defaultSuffix = settings.extension;
        request.filter = "NC-Code files (*." + settings.extension + ");;Text Files (*.txt);;All files (*)";
        return interaction_.saveFile(request);
    };
    runOnActiveWindow([&](editor::TextDocument& document) {
        try {
            SplitPrograms(document, *progress_, settings, askOverwrite);
        } catch (const FileError& error) {
            interaction_.showError(error.what());
        }
    });
}

bool NcUtilityCommands::runFileCleanup(editor::TextDocument& document) {
    return RunFileCleanup(document, *progress_, cleanup_->choice(),
                          commentMarksOf(form_.session().state.CurrentSettings));
}

}  // namespace zantor
