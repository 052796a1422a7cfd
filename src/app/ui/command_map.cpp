#include "app/ui/command_map.h"

#include <QFont>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/ui/main_form.h"

namespace zantor {

namespace {

constexpr const char* kPlaceholderProperty = "zantorPlaceholder";

constexpr MenuDefinition kMenus[] = {
    {"FileMenu", "&File", "File related commands"},
    {"EditMenu", "&Edit", "Editing commands"},
    {"SearchMenu", "&Search", "Search related commands"},
    {"InsertMenu", "&Insert", ""},
    {"CalculatorsMenu", "&Calculators", ""},
    {"NcUtilitiesMenu", "&NC Utilities", ""},
    {"DncMenu", "&DNC", ""},
    {"SetupMenu", "&Setup", "Set user preferences"},
    {"WindowMenu", "&Window", "Window related commands such as Tile and Cascade"},
    {"HelpMenu", "&Help", "Help related commands"},
};

constexpr CommandDefinition kCommands[] = {
    {"FileMenu", "actionNew", "&New", "", "Create a new file"},
    {"FileMenu", "actionOpen", "&Open...", "", "Open file"},
    {"FileMenu", "actionSave", "&Save", "", "Save current file"},
    {"FileMenu", "actionSaveAs", "Save &as...", "", "Save current file under a different name"},
    {"FileMenu", "actionPrint", "&Print...", "", "Print current file"},
    {"FileMenu", "actionPrintSetup", "P&rint setup...", "", "Define printer options"},
    // Its caption names the user once somebody is logged in.
    {"FileMenu", "actionLogin", "", "", ""},
    {"FileMenu", "actionExit", "E&xit", "Alt+F4", "Exit application"},

    {"EditMenu", "actionUndo", "&Undo", "Alt+Backspace", "Undo last edit operation"},
    {"EditMenu", "actionRedo", "&Redo", "Ctrl+Shift+Z", "Cancel last undo operation"},
    {"EditMenu", "actionCut", "Cu&t", "Ctrl+X", "Cut selected text to clipboard"},
    {"EditMenu", "actionCopy", "&Copy", "Ctrl+C", "Copy selected text to clipboard"},
    {"EditMenu", "actionPaste", "&Paste", "Ctrl+V", "Paste from clipboard to caret position"},
    {"EditMenu", "actionDelete", "&Delete", "Ctrl+Del", "Delete selected text"},
    {"EditMenu", "actionSelectAll", "&Select All", "Ctrl+A", "Select all text"},

    {"SearchMenu", "actionFind", "&Find...", "Ctrl+F", "Find text in current file"},
    {"SearchMenu", "actionReplace", "&Replace...", "Ctrl+R", "Find text in current file and replace"},
    {"SearchMenu", "actionFindNext", "Find &next", "F3", "Repeat find operation"},
    {"SearchMenu", "actionFindNextTool", "Find Next -&T-", "Ctrl+T", ""},
    {"SearchMenu", "actionFindNextSpeed", "Find Next -&S-", "Ctrl+S", ""},
    {"SearchMenu", "actionFindNextFeed", "Fin&d Next -F-", "Ctrl+E", ""},
    {"SearchMenu", "actionFindNextComment", "Find Next &Comment", "Ctrl+M", ""},
    {"SearchMenu", "actionJumpToSubprogram", "Jump To Su&bprogram", "Ctrl+B", ""},
    {"SearchMenu", "actionJumpToTool", "&Jump To Tool", "Ctrl+J", ""},
    {"SearchMenu", "actionGoToLine", "&Go to line...", "F4", "Go to specified line in current file"},
    {"SearchMenu", "actionGotoTop", "Goto T&op", "", ""},
    {"SearchMenu", "actionGotoBottom", "Goto &Bottom", "", ""},

    {"InsertMenu", "actionInsertExpression", "&Expression", "", ""},
    {"InsertMenu", "actionInsertFile", "&File", "", ""},
    {"InsertMenu", "actionInsertMacro", "&NC-Code macro", "Ctrl+I", ""},
    {"InsertMenu", "actionInsertSpecialCharacter", "&Special Character", "", ""},
    {"InsertMenu", "actionInsertDateTime", "&Date / Time", "", ""},
    {"InsertMenu", "actionInsertFileName", "C&urrent File Name", "", ""},
    {"InsertMenu", "actionInsertComment", "&Comment", "", ""},

    {"CalculatorsMenu", "actionSystemCalculator", "&Calculator", "", ""},
    {"CalculatorsMenu", "actionZantorCalc", "&Zantor-Calc", "", ""},
    {"CalculatorsMenu", "actionTriangleSolver", "&Triangle Solver", "", ""},
    {"CalculatorsMenu", "actionSpeedFeed", "&Speed Feed Calculator", "", ""},

    {"NcUtilitiesMenu", "actionArithmetic", "&Arithmetic", "", ""},
    {"NcUtilitiesMenu", "actionAddRemoveSpaces", "Add / Remove &Spaces", "", ""},
    {"NcUtilitiesMenu", "actionChangeLineEnds", "Change &Line Begin/End", "", ""},
    {"NcUtilitiesMenu", "actionCompareFiles", "C&ompare Two Files", "", ""},
    {"NcUtilitiesMenu", "actionFeedSpeedOverride", "F&eed / Speed Overide", "", ""},
    {"NcUtilitiesMenu", "actionFileSplitter", "File Splitter", "", ""},
    {"NcUtilitiesMenu", "actionInformation", "&Information", "", ""},
    {"NcUtilitiesMenu", "actionMakeColumns", "&Make Columns", "", ""},
    {"NcUtilitiesMenu", "actionReformat", "Re-&Format", "", ""},
    {"NcUtilitiesMenu", "actionResequence", "&Re-Sequence", "", ""},
    {"NcUtilitiesMenu", "actionFileCleanup", "File Cleanup", "", ""},
    {"NcUtilitiesMenu", "actionAnalyzer", "Run &NC-Code Analyzer", "", ""},
    {"NcUtilitiesMenu", "actionBMacro", "B-Macro Interpeter", "", ""},

    {"DncMenu", "DncGo", "&Go", "", ""},
    {"DncMenu", "DncRemote", "&Remote", "F5", ""},

    {"SetupMenu", "actionProperties", "Properties", "", ""},
    {"SetupMenu", "actionMachineSetup", "&Machine/DNC Setup...", "", ""},
    {"SetupMenu", "actionPasswordManager", "Password Manager", "", ""},

    {"WindowMenu", "actionCascade", "&Cascade", "", "Arrange windows to overlap"},
    {"WindowMenu", "actionTile", "&Tile", "", "Arrange windows without overlap"},
    {"WindowMenu", "actionArrangeIcons", "&Arrange Icons", "",
     "Arrange window icons at bottom of main window"},
    {"WindowMenu", "actionMinimizeAll", "&Minimize All", "", "Minimize all windows"},
    {"WindowMenu", "actionFileViewer", "&File Viewer", "", ""},
    {"WindowMenu", "actionSplit", "&Split", "", ""},

    {"HelpMenu", "actionHelpContents", "&Contents", "", ""},
    {"HelpMenu", "actionHelpSearch", "&Topic Search", "", ""},
    {"HelpMenu", "actionDncHelp", "&DNC Help", "", ""},
    {"HelpMenu", "actionLauncherHelp", "Zantor Launcher Help", "", ""},
    {"HelpMenu", "actionAnalyzerHelp", "NC-Code Analyzer Help", "", ""},
    {"HelpMenu", "actionAbout", "&About...", "", "Display application About Box"},
};

constexpr ToolButtonDefinition kToolButtons[] = {
    {"toolOpen", "Open", "Open|Open file", "actionOpen"},
    {"toolSave", "Save", "Save|Save current file", "actionSave"},
    {"toolPrint", "Print", "Print File", "actionPrint"},
    {"toolCut", "Cut", "Cut|Cut selected text to clipboard", "actionCut"},
    {"toolCopy", "Copy", "Copy|Copy selected text to clipboard", "actionCopy"},
    {"toolPaste", "Paste", "Paste|Paste from clipboard at caret position", "actionPaste"},
    {"toolUndo", "Undo", "Undo", "actionUndo"},
    {"toolRedo", "Redo", "Redo", "actionRedo"},
    {"toolMachineSettings", "Machine settings", "Machine Settings", "actionMachineSetup"},
    {"StartDncButton", "Start DNC", "Start DNC", "DncGo"},
    {"toolRemoteDnc", "Start remote DNC", "Start REMOTE DNC", "DncRemote"},
    {"toolAnalyzer", "Analyzer", "Run NC-Code Analyzer", "actionAnalyzer"},
    {"toolExit", "Exit", "Exit Zantor", "actionExit"},
};

constexpr ToolButtonDefinition kStatusButtons[] = {
    {"statusFindTool", "T", "Find Next Tool", "actionFindNextTool"},
    {"statusFindSpeed", "S", "Find Next Speed", "actionFindNextSpeed"},
    {"statusFindFeed", "F", "Find Next Feed", "actionFindNextFeed"},
    {"statusFindComment", "C", "Find Next Comment", "actionFindNextComment"},
    {"statusJumpToTool", "J", "Jump to Tool", "actionJumpToTool"},
    {"statusJumpToSubprogram", "B", "Jump to Sub-Program", "actionJumpToSubprogram"},
};

QKeySequence keyOf(const char* key) {
    return QKeySequence(QString::fromLatin1(key), QKeySequence::PortableText);
}

// A button that runs `command` and is enabled with it.
QAction* mirror(QAction& command, const ToolButtonDefinition& button, QObject* parent) {
    auto* action = new QAction(button.caption, parent);
    action->setObjectName(button.name);
    const QString hint = button.hint;
    const qsizetype bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    action->setEnabled(command.isEnabled());
    action->setVisible(command.isVisible());
    QObject::connect(&command, &QAction::enabledChanged, action, &QAction::setEnabled);
    QObject::connect(&command, &QAction::visibleChanged, action,
                     [action, &command] { action->setVisible(command.isVisible()); });
    QObject::connect(action, &QAction::triggered, &command, &QAction::trigger);
    return action;
}

}  // namespace

std::span<const MenuDefinition> mainMenus() { return kMenus; }
std::span<const CommandDefinition> mainCommands() { return kCommands; }
std::span<const ToolButtonDefinition> toolButtons() { return kToolButtons; }
std::span<const ToolButtonDefinition> statusButtons() { return kStatusButtons; }

bool CommandMap::isPlaceholder(const QAction& action) {
    return action.property(kPlaceholderProperty).toBool();
}

CommandMap::CommandMap(TMainForm& form) : QObject(&form), form_(form) {
    QMenuBar* bar = form_.menuBar();
    for (const MenuDefinition& m : kMenus) {
        QMenu* menu = ensureMenu(m);
        // The bar's order is the map's: each menu moves to the end in turn.
        bar->removeAction(menu->menuAction());
        bar->addAction(menu->menuAction());
        QAction* previous = nullptr;
        for (const CommandDefinition& c : kCommands)
            if (QString(c.menu) == m.name) previous = ensureCommand(*menu, c, previous);
    }
    buildToolButtons();
    buildStatusButtons();
}

QMenu* CommandMap::ensureMenu(const MenuDefinition& definition) {
    QMenu* menu = form_.findChild<QMenu*>(definition.name);
    if (!menu)
        for (QAction* a : form_.menuBar()->actions())
            if (a->menu() && a->text() == definition.caption) menu = a->menu();
    if (!menu) {
        menu = new QMenu(definition.caption, &form_);
        form_.menuBar()->addMenu(menu);
    }
    if (menu->objectName().isEmpty()) menu->setObjectName(definition.name);
    menus_.insert(definition.name, menu);
    menu->setTitle(definition.caption);
    if (*definition.hint) menu->menuAction()->setStatusTip(definition.hint);
    return menu;
}

QAction* CommandMap::ensureCommand(QMenu& menu, const CommandDefinition& definition,
                                   QAction* after) {
    QAction* action = form_.findChild<QAction*>(definition.name);
    if (!action)
        for (QAction* a : menu.actions())
            if (a->text() == definition.caption) action = a;
    const QList<QAction*> actions = menu.actions();
    const qsizetype afterIndex = after ? actions.indexOf(after) : -1;
    const auto putAfterPrevious = [&] {
        const qsizetype at = afterIndex + 1;
        menu.insertAction(at < actions.size() ? actions[at] : nullptr, action);
    };
    if (!action) {
        // Not built yet: present in its place, and disabled until its area
        // takes it over.
        action = new QAction(definition.caption, &form_);
        action->setProperty(kPlaceholderProperty, true);
        action->setEnabled(false);
        putAfterPrevious();
    } else if (!actions.contains(action) || actions.indexOf(action) < afterIndex) {
        // Made out of the map's order by an area built earlier: moved, while
        // separators and lists around it stay where they are.
        menu.removeAction(action);
        putAfterPrevious();
    }
    // An area's own name for its action stays: its code finds it by that.
    if (action->objectName().isEmpty()) action->setObjectName(definition.name);
    commands_.insert(definition.name, action);
    if (*definition.caption) action->setText(definition.caption);
    if (*definition.hint) action->setStatusTip(definition.hint);
    // The map's key comes first; a desktop's own extra key (Quit) stays.
    if (*definition.key) {
        QList<QKeySequence> keys = action->shortcuts();
        keys.removeAll(keyOf(definition.key));
        keys.prepend(keyOf(definition.key));
        action->setShortcuts(keys);
    }
    return action;
}

void CommandMap::buildToolButtons() {
    auto* editBar = form_.findChild<QToolBar*>("EditToolBar");
    auto* machineBar = form_.findChild<QToolBar*>("MachineToolBar");
    QStyle* style = form_.style();
    const auto place = [](QToolBar& bar, QAction* action, QAction* after) {
        const QList<QAction*> actions = bar.actions();
        const qsizetype at = after ? actions.indexOf(after) + 1 : 0;
        bar.insertAction(at > 0 && at < actions.size() ? actions[at] : nullptr, action);
    };
    QAction* previous = nullptr;
    for (const ToolButtonDefinition& b : kToolButtons) {
        QAction* button = form_.findChild<QAction*>(b.name);
        if (!button) {
            QAction* command = commands_.value(b.command);
            if (!command) qFatal("tool button %s runs no command", b.name);
            button = mirror(*command, b, &form_);
            // The machine settings go left of the machine selector, the rest
            // after the DNC button.
            QToolBar* bar = QString(b.name) == "toolPrint" ? editBar : machineBar;
            if (QString(b.name) == "toolMachineSettings")
                machineBar->insertAction(machineBar->actions().value(0), button);
            else
                place(*bar, button, previous);
        }
        previous = button;
    }
    const struct {
        const char* name;
        QStyle::StandardPixmap icon;
    } icons[] = {{"toolPrint", QStyle::SP_FileIcon},
                 {"toolMachineSettings", QStyle::SP_ComputerIcon},
                 {"toolAnalyzer", QStyle::SP_FileDialogContentsView},
                 {"toolExit", QStyle::SP_DialogCloseButton}};
    const char* themed[] = {"document-print", "preferences-system", "system-search",
                            "application-exit"};
    for (size_t n = 0; n < std::size(icons); ++n)
        if (QAction* a = form_.findChild<QAction*>(icons[n].name); a && a->icon().isNull())
            a->setIcon(QIcon::fromTheme(themed[n], style->standardIcon(icons[n].icon)));
}

void CommandMap::buildStatusButtons() {
    QStatusBar* bar = form_.statusBar();
    for (const ToolButtonDefinition& b : kStatusButtons) {
        QAction* command = commands_.value(b.command);
        if (!command) qFatal("status button %s runs no command", b.name);
        auto* button = new QToolButton(bar);
        button->setObjectName(QString(b.name) + "Button");
        button->setDefaultAction(mirror(*command, b, button));
        button->setAutoRaise(true);
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
        button->setStyleSheet("color: navy");
        bar->addPermanentWidget(button);
    }
}

}  // namespace zantor
