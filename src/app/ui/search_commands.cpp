#include "app/ui/search_commands.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/ui/editor_commands.h"
#include "app/ui/main_form.h"
#include "core/interaction.h"
#include "editor/navigation.h"
#include "editor/text_replace.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/escape_search_watch.h"
#include "editor/ui/find_dialogs.h"
#include "editor/ui/jump_list_dialog.h"
#include "editor/ui/tmdi_child.h"
#include "session/app_session.h"

namespace zantor {

using editor::SearchOptions;
using editor::TMDIChild;

namespace {

QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string toBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace

SearchCommands::SearchCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      findDialog_(new editor::FindDialog(history_, &form)),
      replaceDialog_(new editor::ReplaceDialog(history_, &form)),
      jumpDialog_(new editor::JumpListDialog(&form)) {
    connect(findDialog_, &editor::FindDialog::findRequested, this,
            &SearchCommands::searchFromFindDialog);
    connect(replaceDialog_, &editor::ReplaceDialog::findRequested, this,
            &SearchCommands::searchFromReplaceDialog);
    connect(replaceDialog_, &editor::ReplaceDialog::replaceRequested, this,
            [this] { replaceFromDialog(false); });
    connect(replaceDialog_, &editor::ReplaceDialog::replaceAllRequested, this,
            [this] { replaceFromDialog(true); });
    connect(jumpDialog_, &editor::JumpListDialog::helpRequested, &form, &TMainForm::showHelp);
    buildMenu();
    // Keys work only on enabled entries, so the enabling follows the window
    // as it changes rather than only when the menu opens.
    connect(&form.workspace(), &editor::EditorWorkspace::activeStateChanged, this,
            &SearchCommands::updateEnabling);
    updateEnabling();
}

void SearchCommands::buildMenu() {
    menu_ = form_.mainMenu("SearchMenu", "&Search", "CalculatorsMenu");
    menu_->menuAction()->setStatusTip("Search related commands");
    const struct {
        QAction** action;
        const char* name;
        const char* text;
        QKeySequence key;
        const char* hint;
        void (SearchCommands::*run)();
        bool nc;
    } entries[] = {
        {&find_, "actionFind", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F),
         "Find text in current file", &SearchCommands::find, false},
        {&replace_, "actionReplace", "&Replace...", QKeySequence(Qt::CTRL | Qt::Key_R),
         "Find text in current file and replace", &SearchCommands::replace, false},
        {&findNext_, "actionFindNext", "Find &next", QKeySequence(Qt::Key_F3),
         "Repeat find operation", &SearchCommands::findNext, false},
        {nullptr, "actionFindNextTool", "Find Next -&T-", QKeySequence(Qt::CTRL | Qt::Key_T),
         "Find Next Tool", &SearchCommands::findNextTool, true},
        {nullptr, "actionFindNextSpeed", "Find Next -&S-", QKeySequence(Qt::CTRL | Qt::Key_S),
         "Find Next Speed", &SearchCommands::findNextSpeed, true},
        {nullptr, "actionFindNextFeed", "Fin&d Next -F-", QKeySequence(Qt::CTRL | Qt::Key_E),
         "Find Next Feed", &SearchCommands::findNextFeed, true},
        {nullptr, "actionFindNextComment", "Find Next &Comment", QKeySequence(Qt::CTRL | Qt::Key_M),
         "Find Next Comment", &SearchCommands::findNextComment, true},
        {nullptr, "actionJumpToSubprogram", "Jump To Su&bprogram",
         QKeySequence(Qt::CTRL | Qt::Key_B), "Jump to Sub-Program",
         &SearchCommands::jumpToSubprogram, true},
        {nullptr, "actionJumpToTool", "&Jump To Tool", QKeySequence(Qt::CTRL | Qt::Key_J),
         "Jump to Tool", &SearchCommands::jumpToTool, true},
        {&goToLine_, "actionGoToLine", "&Go to line...", QKeySequence(Qt::Key_F4),
         "Go to specified line in current file", &SearchCommands::goToLine, false},
        {&top_, "actionGotoTop", "Goto T&op", QKeySequence(), "Go to the first line",
         &SearchCommands::gotoTop, false},
        {&bottom_, "actionGotoBottom", "Goto &Bottom", QKeySequence(), "Go to the last line",
         &SearchCommands::gotoBottom, false},
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(entry.text, &form_);
        action->setObjectName(entry.name);
        action->setShortcut(entry.key);
        action->setStatusTip(entry.hint);
        connect(action, &QAction::triggered, this, entry.run);
        menu_->addAction(action);
        if (entry.action) *entry.action = action;
        if (entry.nc) ncCommands_ << action;
    }
    connect(menu_, &QMenu::aboutToShow, this, &SearchCommands::updateEnabling);

    // The editor's context menu repeats the last search too.
    contextFindNext_ = form_.findChild<QAction*>("contextFindNext");
    if (contextFindNext_) {
        connect(contextFindNext_, &QAction::triggered, this, &SearchCommands::findNext);
        connect(form_.editorCommands().contextMenu(), &QMenu::aboutToShow, this,
                &SearchCommands::updateEnabling);
    }
}

std::string SearchCommands::findText() const {
    return toBytes(findDialog_->findText());
}

void SearchCommands::updateEnabling() {
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    const bool text = window && window->ByteCount() > 0;
    for (QAction* action : {find_, replace_, goToLine_, top_, bottom_}) action->setEnabled(text);
    findNext_->setEnabled(text && !findText().empty());
    for (QAction* action : ncCommands_) action->setEnabled(text);
    if (contextFindNext_) contextFindNext_->setEnabled(findNext_->isEnabled());
}

void SearchCommands::notFound(const std::string& text) {
    interaction_.showInformation("Search string '" + text + "' not found");
}

void SearchCommands::search(TMDIChild& window, const std::string& text,
                            const SearchOptions& options) {
    bool found = false;
    bool stopped = false;
    {
        editor::EscapeSearchWatch watch(interaction_, threshold_);
        found = window.FindText(text, options, &watch);
        stopped = watch.stopped();
    }
    if (!found && !stopped) notFound(text);
    window.FocusEditor();
}

void SearchCommands::find() {
    findDialog_->showAtPlace();
}

void SearchCommands::replace() {
    replaceDialog_->showAtPlace();
    options_ = {};
    options_.matchCase = replaceDialog_->matchCase();
    options_.wholeWord = replaceDialog_->wholeWord();
}

void SearchCommands::searchFromFindDialog() {
    options_ = {};
    options_.backward = findDialog_->searchUp();
    options_.matchCase = findDialog_->matchCase();
    options_.wholeWord = findDialog_->wholeWord();
    const std::string text = findText();
    history_.add(text);
    findDialog_->close();
    if (TMDIChild* window = form_.workspace().ActiveEditorWindow()) search(*window, text, options_);
    updateEnabling();
}

void SearchCommands::searchFromReplaceDialog() {
    options_ = {};
    options_.matchCase = replaceDialog_->matchCase();
    options_.wholeWord = replaceDialog_->wholeWord();
    const std::string text = toBytes(replaceDialog_->findText());
    history_.add(text);
    findDialog_->setFindText(replaceDialog_->findText());
    if (TMDIChild* window = form_.workspace().ActiveEditorWindow()) search(*window, text, options_);
    updateEnabling();
}

void SearchCommands::replaceFromDialog(bool all) {
    options_ = {};
    options_.matchCase = replaceDialog_->matchCase();
    options_.wholeWord = replaceDialog_->wholeWord();
    (all ? options_.replaceAll : options_.replace) = true;
    const std::string text = toBytes(replaceDialog_->findText());
    history_.add(text);
    findDialog_->setFindText(replaceDialog_->findText());
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    if (window) {
        int result = 0;
        bool stopped = false;
        try {
            editor::EscapeSearchWatch watch(interaction_, threshold_);
            result = editor::ReplaceText(*window, text, toBytes(replaceDialog_->replacement()),
                                         options_, &watch);
            stopped = watch.stopped();
        } catch (const editor::EditorError& error) {
            interaction_.showError(error.what());
        }
        if (result == -1 && !stopped) notFound(text);
        window->FocusEditor();
    }
    updateEnabling();
}

void SearchCommands::findNext() {
    options_.replace = false;
    options_.replaceAll = false;
    const std::string text = findText();
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    if (!window || text.empty()) return;
    search(*window, text, options_);
}

void SearchCommands::findNextNc(const std::string& text) {
    if (!form_.workspace().RequireActiveDocument()) return;
    findDialog_->setFindText(fromBytes(text));
    search(*form_.workspace().ActiveEditorWindow(), text, {});
    updateEnabling();
}

void SearchCommands::findNextTool() {
    findNextNc("T");
}

void SearchCommands::findNextSpeed() {
    findNextNc("S");
}

void SearchCommands::findNextFeed() {
    findNextNc("F");
}

void SearchCommands::findNextComment() {
    findNextNc(form_.session().state.CurrentSettings.Format.CommentStart);
}

void SearchCommands::jump(const QString& caption, const std::string& marker) {
    if (!form_.workspace().RequireActiveDocument()) return;
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    std::optional<std::vector<editor::JumpEntry>> entries;
    {
        // A long read shows the dialog with its progress; Esc stops it.
        editor::EscapeSearchWatch watch(interaction_, threshold_);
        entries = editor::jumpList(*window, marker,
                                   form_.session().state.CurrentSettings.Format.CommentStart, watch,
                                   [&](int line, int lineCount) {
                                       if (watch.slow())
                                           jumpDialog_->showReading(caption, line, lineCount);
                                   });
    }
    if (!entries) {
        jumpDialog_->hide();
        window->FocusEditor();
        return;
    }
    jumpDialog_->setEntries(caption, *entries, window->Editor1()->font());
    if (jumpDialog_->exec() != QDialog::Accepted) return;
    const std::optional<int> line = jumpDialog_->chosenLine();
    if (!line) return;
    try {
        window->SetCaret(*line, 1);
    } catch (const editor::EditorError&) {
        // The program changed under the list: the line is gone, nothing moves.
    }
    window->FocusEditor();
}

void SearchCommands::jumpToTool() {
    jump("Jump to Tool", "T");
}

void SearchCommands::jumpToSubprogram() {
    jump("Jump to Sub-Program", form_.session().state.CurrentSettings.Format.ProgramId);
}

void SearchCommands::goToLine() {
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    if (!window) return;
    const int count = window->LineCount();
    const auto answer = interaction_.inputText(
        "Go to Line Number", "Enter Line Number (1 to " + std::to_string(count) + ")", "1");
    if (!answer) return;
    if (const std::optional<int> line = editor::parseLineNumber(*answer, count)) {
        window->SetCaret(*line, 1);
        window->FocusEditor();
    }
}

void SearchCommands::gotoTop() {
    if (TMDIChild* window = form_.workspace().ActiveEditorWindow()) {
        try {
            window->SetCaret(1, 1);
        } catch (const editor::EditorError&) {
        }
    }
}

void SearchCommands::gotoBottom() {
    if (TMDIChild* window = form_.workspace().ActiveEditorWindow()) {
        try {
            window->SetCaret(window->LineCount(), 1);
        } catch (const editor::EditorError&) {
        }
    }
}

}  // namespace zantor
