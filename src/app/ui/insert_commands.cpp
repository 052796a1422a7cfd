#include "app/ui/insert_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/insert_dialogs.h"
#include "app/ui/macro_dialog.h"
#include "app/ui/main_form.h"
#include "core/file_io.h"
#include "core/interaction.h"
#include "core/real_text.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "machines/machine_database.h"
#include "nctools/machine_values.h"
#include "session/app_session.h"

namespace zantor {

using editor::TMDIChild;

namespace {

// A file's lines, each followed by CR LF, for Insert File.
std::string linesWithCrLf(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        out.append(bytes, start, stop - start);
        out += "\r\n";
        start = end + 1;
    }
    return out;
}

}  // namespace

QString insertedDateTime(const QDateTime& when, const QLocale& locale) {
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += " " + locale.toString(time, QLocale::LongFormat);
    return text;
}

InsertCommands::InsertCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      expression_(new InsertExpressionDialog(interaction, &form)),
      special_(new SpecialCharacterDialog(&form)),
      comment_(new InsertCommentDialog(&form)),
      macros_(new MacroDialog(interaction, &form)) {
    connect(expression_, &InsertExpressionDialog::helpRequested, &form, &TMainForm::showHelp);
    connect(special_, &SpecialCharacterDialog::helpRequested, &form, &TMainForm::showHelp);
    connect(comment_, &InsertCommentDialog::helpRequested, &form, &TMainForm::showHelp);
    connect(macros_, &MacroDialog::helpRequested, &form, &TMainForm::showHelp);

    menu_ = form.mainMenu("InsertMenu", "&Insert", "CalculatorsMenu");
    const struct {
        const char* name;
        const char* text;
        QKeySequence key;
        const char* hint;
        void (InsertCommands::*run)();
    } entries[] = {
        {"actionInsertExpression", "&Expression", QKeySequence(),
         "Insert the value of an expression", &InsertCommands::insertExpression},
        {"actionInsertFile", "&File", QKeySequence(), "Insert the lines of other files",
         &InsertCommands::insertFile},
        {"actionInsertMacro", "&NC-Code macro", QKeySequence(Qt::CTRL | Qt::Key_I),
         "Insert a stored NC-code macro", &InsertCommands::insertMacro},
        {"actionInsertSpecialCharacter", "&Special Character", QKeySequence(),
         "Insert a special or control character", &InsertCommands::insertSpecialCharacter},
        {"actionInsertDateTime", "&Date / Time", QKeySequence(), "Insert the date and time",
         &InsertCommands::insertDateTime},
        {"actionInsertFileName", "C&urrent File Name", QKeySequence(),
         "Insert the name of the file", &InsertCommands::insertFileName},
        {"actionInsertComment", "&Comment", QKeySequence(),
         "Insert a comment with the machine's comment characters", &InsertCommands::insertComment},
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(entry.text, &form);
        action->setObjectName(entry.name);
        action->setShortcut(entry.key);
        action->setStatusTip(entry.hint);
        connect(action, &QAction::triggered, this, entry.run);
        menu_->addAction(action);
    }
}

TMDIChild* InsertCommands::requireWindow() {
    if (!form_.workspace().RequireActiveDocument()) return nullptr;
    return form_.workspace().ActiveEditorWindow();
}

void InsertCommands::paste(TMDIChild& window, const std::string& text) {
    QApplication::clipboard()->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    window.PasteClipboard();
    window.FocusEditor();
}

void InsertCommands::insertExpression() {
    if (expression_->exec() != QDialog::Accepted) return;
    const double value = ParseRealOrWarn(expression_->expressionText(), interaction_);
    const std::string text =
        axisValueFormat(form_.session().state.CurrentSettings.Format).write(value);
    if (TMDIChild* window = form_.workspace().ActiveEditorWindow())
        paste(*window, text);
    else
        QApplication::clipboard()->setText(
            QString::fromLatin1(text.data(), qsizetype(text.size())));
}

void InsertCommands::insertFile() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    const std::vector<std::string> files =
        interaction_.openFiles(form_.workspace().fileCommands().openDialogRequest("Insert File"));
    if (files.empty()) return;
    // All the files go in as one edit, so one undo takes the insertion back;
    // what was read before a failure is inserted all the same.
    std::string text;
    std::string failure;
    for (const std::string& file : files) {
        try {
            text += linesWithCrLf(readFileBytes(file));
        } catch (const FileError& error) {
            failure = error.what();
            break;
        }
    }
    {
        const BusyCursor busy(interaction_);
        window->SuspendRedraw();
        try {
            if (!text.empty()) window->InsertText(text);
        } catch (const editor::EditorError& error) {
            failure = error.what();
        }
        window->ResumeRedraw();
        window->SetCaret(1, 1);
    }
    window->FocusEditor();
    if (!failure.empty()) interaction_.showError(failure);
}

void InsertCommands::insertMacro() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    const RunState& state = form_.session().state;
    // Macros are kept with a machine: without one there is nowhere to keep them.
    if (state.CurrentMachine.empty()) {
        interaction_.showInformation(
            "Choose a machine first: the NC-code macros are kept with each machine.");
        return;
    }
    macros_->prepare(state.SystemFolder + kMachineDatabaseFileName, state.CurrentMachine);
    if (macros_->exec() != QDialog::Accepted) return;
    // The window may have closed while the dialog was up.
    if ((window = form_.workspace().ActiveEditorWindow())) paste(*window, macros_->expandedText());
}

void InsertCommands::insertSpecialCharacter() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    special_->setTableFont(window->Editor1()->font());
    if (special_->exec() != QDialog::Accepted) return;
    if (special_->code() == 0) return;
    paste(*window, std::string(1, char(special_->code())));
}

void InsertCommands::insertDateTime() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    paste(*window, insertedDateTime(now(), QLocale::system()).toLatin1().toStdString());
}

void InsertCommands::insertFileName() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    paste(*window, window->FileName());
}

void InsertCommands::insertComment() {
    TMDIChild* window = requireWindow();
    if (!window) return;
    const MachineFormat& format = form_.session().state.CurrentSettings.Format;
    comment_->prepare(format.CommentStart, format.CommentEnd);
    if (comment_->exec() != QDialog::Accepted) return;
    paste(*window, comment_->commentText());
}

}  // namespace zantor
