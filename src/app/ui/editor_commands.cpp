#include "app/ui/editor_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/ui/main_form.h"
#include "app/ui/status_panels.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/file_viewer_window.h"
#include "editor/ui/tmdi_child.h"
#include "session/file_commands.h"
#include "session/menu_caption.h"

namespace zantor {

using editor::TMDIChild;

namespace {
bool clipboardHasText() {
    return !QApplication::clipboard()->text().isEmpty();
}
}  // namespace

EditorCommands::EditorCommands(TMainForm& form, editor::EditorWorkspace& workspace)
    : QObject(&form),
      form_(form),
      workspace_(workspace),
      panels_(new StatusPanels(*form.statusBar())) {
    buildFileMenu();
    buildEditMenu();
    buildWindowMenu();
    buildToolBar();
    buildContextMenu();
    workspace_.setContextMenu(contextMenu_);
    connect(&workspace_, &editor::EditorWorkspace::activeStateChanged, this,
            &EditorCommands::refresh);
    // The clipboard is read when it changes, not at every refresh: a refresh
    // follows each keystroke, and the clipboard may hold a whole program.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        clipboardHasText_ = clipboardHasText();
        refresh();
    });
    clipboardHasText_ = clipboardHasText();
    workspace_.fileCommands().recentFilesChanged = [this] { rebuildRecentFiles(); };
    rebuildRecentFiles();
    refresh();
}

QAction* EditorCommands::makeAction(const QString& name, const QString& text, const QString& hint) {
    auto* action = new QAction(text, &form_);
    action->setObjectName(name);
    action->setStatusTip(hint);
    return action;
}

template <typename Command>
void EditorCommands::onActive(Command command) {
    if (TMDIChild* window = workspace_.ActiveEditorWindow()) command(*window);
}

void EditorCommands::buildFileMenu() {
    QMenu* file = form_.fileMenu();
    QAction* before = form_.loginAction();
    FileCommands& commands = workspace_.fileCommands();

    QAction* newFile = makeAction("actionNew", "&New", "Create a new file");
    connect(newFile, &QAction::triggered, this, [&commands] { commands.newFile(); });
    QAction* open = makeAction("actionOpen", "&Open...", "Open file");
    connect(open, &QAction::triggered, this, [&commands] { commands.openFiles(); });
    // The desktop's keys for New and Open; no other command of the window uses them.
    newFile->setShortcut(QKeySequence::New);
    open->setShortcut(QKeySequence::Open);
    save_ = makeAction("actionSave", "&Save", "Save current file");
    connect(save_, &QAction::triggered, this, [&commands] { commands.save(); });
    saveAs_ = makeAction("actionSaveAs", "Save &as...", "Save current file under a different name");
    connect(saveAs_, &QAction::triggered, this, [&commands] { commands.saveAs(); });
    print_ = makeAction("actionPrint", "&Print...", "Print current file");
    // Nothing to save before a window with text is there.
    for (QAction* action : {save_, saveAs_, print_}) action->setEnabled(false);
    for (QAction* action : {newFile, open, save_, saveAs_, print_})
        file->insertAction(before, action);
    file->insertSeparator(before);

    recentSeparator_ = file->addSeparator();
    for (size_t i = 0; i < recent_.size(); ++i) {
        recent_[i] = makeAction(QString("MRU%1").arg(i + 1), QString(), "Open this recent file");
        connect(recent_[i], &QAction::triggered, this,
                [&commands, i] { commands.openRecentFile(int(i)); });
        file->addAction(recent_[i]);
    }
    connect(file, &QMenu::aboutToShow, this, &EditorCommands::fileMenuOpening);
}

void EditorCommands::buildEditMenu() {
    editMenu_ = new QMenu("&Edit", &form_);
    editMenu_->setObjectName("EditMenu");
    editMenu_->menuAction()->setStatusTip("Editing commands");
    form_.menuBar()->insertMenu(form_.setupMenu()->menuAction(), editMenu_);
    // Each acts on the active window's current view, and does nothing without one.
    struct EditCommand {
        QAction** action;
        const char* name;
        const char* text;
        const char* hint;
        QKeySequence key;
        void (TMDIChild::*run)();
    };
    const EditCommand commands[] = {
        {&undo_, "actionUndo", "&Undo", "Undo last edit operation",
         QKeySequence(Qt::ALT | Qt::Key_Backspace), &TMDIChild::UndoEdit},
        {&redo_, "actionRedo", "&Redo", "Cancel last undo operation",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TMDIChild::RedoEdit},
        {&cut_, "actionCut", "Cu&t", "Cut selected text to clipboard",
         QKeySequence(Qt::CTRL | Qt::Key_X), &TMDIChild::CutSelection},
        {&copy_, "actionCopy", "&Copy", "Copy selected text to clipboard",
         QKeySequence(Qt::CTRL | Qt::Key_C), &TMDIChild::CopySelection},
        {&paste_, "actionPaste", "&Paste", "Paste from clipboard to caret position",
         QKeySequence(Qt::CTRL | Qt::Key_V), &TMDIChild::PasteClipboard},
        {&delete_, "actionDelete", "&Delete", "Delete selected text",
         QKeySequence(Qt::CTRL | Qt::Key_Delete), &TMDIChild::DeleteForward},
        {&selectAll_, "actionSelectAll", "&Select All", "Select all text",
         QKeySequence(Qt::CTRL | Qt::Key_A), &TMDIChild::SelectAll},
    };
    for (const EditCommand& command : commands) {
        QAction* action = makeAction(command.name, command.text, command.hint);
        action->setShortcut(command.key);
        connect(action, &QAction::triggered, this,
                [this, run = command.run] { onActive([run](TMDIChild& w) { (w.*run)(); }); });
        *command.action = action;
    }
    editMenu_->addActions({undo_, redo_});
    editMenu_->addSeparator();
    editMenu_->addActions({cut_, copy_, paste_, delete_});
    editMenu_->addSeparator();
    editMenu_->addAction(selectAll_);
}

void EditorCommands::buildWindowMenu() {
    windowMenu_ = form_.menuBar()->addMenu("&Window");
    windowMenu_->setObjectName("WindowMenu");
    windowMenu_->menuAction()->setStatusTip("Window related commands such as Tile and Cascade");
    QMdiArea* area = form_.mdiArea();
    cascade_ = makeAction("actionCascade", "&Cascade", "Arrange windows to overlap");
    connect(cascade_, &QAction::triggered, this, [this] { workspace_.cascade(); });
    tile_ = makeAction("actionTile", "&Tile", "Arrange windows without overlap");
    connect(tile_, &QAction::triggered, area, &QMdiArea::tileSubWindows);
    arrange_ = makeAction("actionArrangeIcons", "&Arrange Icons",
                          "Arrange window icons at bottom of main window");
    connect(arrange_, &QAction::triggered, area, [area] {
        // Minimised windows go in a row along the bottom of the area.
        int x = 0;
        for (QMdiSubWindow* sub : area->subWindowList()) {
            if (!sub->isMinimized()) continue;
            sub->move(x, area->viewport()->height() - sub->height());
            x += sub->width();
        }
    });
    minimizeAll_ = makeAction("actionMinimizeAll", "&Minimize All", "Minimize all windows");
    connect(minimizeAll_, &QAction::triggered, this, [this] { workspace_.minimizeAll(); });
    // The viewer is made once and keeps its state between uses.
    fileViewer_ = new editor::FileViewerWindow(workspace_.interaction(), &form_);
    fileViewer_->setWindowFlag(Qt::Window);
    QAction* viewer =
        makeAction("actionFileViewer", "&File Viewer", "View any file as text or hex");
    connect(viewer, &QAction::triggered, this, [this] {
        fileViewer_->show();
        fileViewer_->raise();
        fileViewer_->activateWindow();
    });
    split_ = makeAction("actionSplit", "&Split", "Split the window into two views");
    split_->setCheckable(true);
    connect(split_, &QAction::triggered, this, [this] {
        onActive([](TMDIChild& w) { w.setSplit(!w.isSplit()); });
        refresh();
    });
    // Ctrl+F4 closes the active editor window, asking its close question.
    QAction* closeWindow =
        makeAction("actionCloseWindow", "Close", "Close the active editor window");
    closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    closeWindow->setShortcutContext(Qt::WindowShortcut);
    connect(closeWindow, &QAction::triggered, area, &QMdiArea::closeActiveSubWindow);
    form_.addAction(closeWindow);
    windowMenu_->addActions({cascade_, tile_, arrange_, minimizeAll_});
    windowMenu_->addSeparator();
    windowMenu_->addActions({viewer, split_});
    windowListSeparator_ = windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, &EditorCommands::windowMenuOpening);
}

void EditorCommands::buildToolBar() {
    // The file and edit buttons come first, left of the machine selector.
    auto* bar = new QToolBar("Edit", &form_);
    bar->setObjectName("EditToolBar");
    form_.insertToolBar(form_.findChild<QToolBar*>("MachineToolBar"), bar);
    QStyle* style = form_.style();
    FileCommands& commands = workspace_.fileCommands();
    QAction* open = makeAction("toolOpen", "Open", "Open file");
    open->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    connect(open, &QAction::triggered, this, [&commands] { commands.openFiles(); });
    toolSave_ = makeAction("toolSave", "Save", "Save current file");
    toolSave_->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    connect(toolSave_, &QAction::triggered, this, [&commands] { commands.save(); });
    toolCut_ = makeAction("toolCut", "Cut", "Cut selected text to clipboard");
    connect(toolCut_, &QAction::triggered, cut_, &QAction::trigger);
    toolCopy_ = makeAction("toolCopy", "Copy", "Copy selected text to clipboard");
    connect(toolCopy_, &QAction::triggered, copy_, &QAction::trigger);
    toolPaste_ = makeAction("toolPaste", "Paste", "Paste from clipboard at caret position");
    connect(toolPaste_, &QAction::triggered, paste_, &QAction::trigger);
    toolUndo_ = makeAction("toolUndo", "Undo", "Undo");
    toolUndo_->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    connect(toolUndo_, &QAction::triggered, undo_, &QAction::trigger);
    toolRedo_ = makeAction("toolRedo", "Redo", "Redo");
    toolRedo_->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
    connect(toolRedo_, &QAction::triggered, redo_, &QAction::trigger);
    toolCut_->setIcon(QIcon::fromTheme("edit-cut"));
    toolCopy_->setIcon(QIcon::fromTheme("edit-copy"));
    toolPaste_->setIcon(QIcon::fromTheme("edit-paste"));
    // A button's tooltip is its short name; the longer hint goes to the
    // status bar.
    const QList<QAction*> buttons = {open,       toolSave_, toolCut_, toolCopy_,
                                     toolPaste_, toolUndo_, toolRedo_};
    for (QAction* a : buttons) a->setToolTip(a->text());
    bar->addActions(buttons);
}

void EditorCommands::buildContextMenu() {
    contextMenu_ = new QMenu(&form_);
    contextMenu_->setObjectName("EditorContextMenu");
    findNext_ = makeAction("contextFindNext", "Find Next", "Find the next occurrence");
    QAction* save = makeAction("contextSave", "Save", "Save current file");
    connect(save, &QAction::triggered, this, [this] { workspace_.fileCommands().save(); });
    // Searching, printing and sending come with their own commands.
    QAction* print = makeAction("contextPrint", "Print", "Print current file");
    QAction* dnc = makeAction("contextDnc", "Dnc", "Send to the machine");
    print->setEnabled(false);
    dnc->setEnabled(false);
    // The menu's own captions, running the Edit commands and enabled with them.
    auto editEntry = [this](const char* name, const QString& text, QAction* command) {
        QAction* entry = makeAction(name, text, command->statusTip());
        entry->setEnabled(command->isEnabled());
        connect(command, &QAction::enabledChanged, entry, &QAction::setEnabled);
        connect(entry, &QAction::triggered, command, &QAction::trigger);
        return entry;
    };
    contextMenu_->addActions({editEntry("contextCut", "Cut", cut_),
                              editEntry("contextCopy", "Copy", copy_),
                              editEntry("contextPaste", "Paste", paste_),
                              editEntry("contextDelete", "Delete", delete_)});
    contextMenu_->addSeparator();
    contextMenu_->addActions({findNext_, save, print, dnc});
    // The search commands run Find Next and enable it once there is a text
    // to find again.
    findNext_->setEnabled(false);
}

void EditorCommands::refresh() {
    TMDIChild* window = workspace_.ActiveEditorWindow();
    panels_->show(window);
    const bool selection = window && window->hasSelection();
    const bool text = clipboardHasText_;
    toolSave_->setEnabled(!workspace_.editorWindows().empty());
    toolCut_->setEnabled(selection);
    toolCopy_->setEnabled(selection);
    toolPaste_->setEnabled(window && text);
    toolUndo_->setEnabled(window && window->CanUndo());
    toolRedo_->setEnabled(window && window->CanRedo());
    undo_->setEnabled(window && window->CanUndo());
    redo_->setEnabled(window && window->CanRedo());
    cut_->setEnabled(selection);
    copy_->setEnabled(selection);
    delete_->setEnabled(selection);
    paste_->setEnabled(window && text);
    selectAll_->setEnabled(window && window->ByteCount() > 0);
    print_->setEnabled(window && window->ByteCount() > 0);
    split_->setEnabled(window != nullptr);
    split_->setChecked(window && window->isSplit());
}

void EditorCommands::fileMenuOpening() {
    TMDIChild* window = workspace_.ActiveEditorWindow();
    const bool text = window && window->ByteCount() > 0;
    for (QAction* action : {print_, save_, saveAs_}) action->setEnabled(text);
}

void EditorCommands::windowMenuOpening() {
    const std::vector<TMDIChild*> windows = workspace_.editorWindows();
    for (QAction* action : {cascade_, tile_, arrange_, minimizeAll_})
        action->setEnabled(!windows.empty());
    TMDIChild* active = workspace_.ActiveEditorWindow();
    split_->setEnabled(active != nullptr);
    split_->setChecked(active && active->isSplit());

    // The open editor windows, after the separator.
    const QList<QAction*> actions = windowMenu_->actions();
    for (qsizetype i = actions.indexOf(windowListSeparator_) + 1; i < actions.size(); ++i)
        delete actions[i];
    int n = 0;
    for (TMDIChild* window : windows) {
        ++n;
        QAction* item = windowMenu_->addAction(
            QFile::decodeName(numberedMenuCaption(n, window->caption()).c_str()));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [this, guard = QPointer<TMDIChild>(window)] {
            if (guard) workspace_.activate(*guard);
        });
    }
    windowListSeparator_->setVisible(!windows.empty());
}

void EditorCommands::rebuildRecentFiles() {
    const RecentFiles& files = form_.session().recentFiles;
    for (size_t i = 0; i < recent_.size(); ++i) {
        recent_[i]->setText(QFile::decodeName(recentFileCaption(i, files[i]).c_str()));
        recent_[i]->setVisible(!files[i].empty());
    }
    recentSeparator_->setVisible(!files[0].empty());
}

}  // namespace zantor
