#include "app/ui/command_map.h"

#include <QComboBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <span>

#include "app/ui/main_form.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

namespace {

struct ExpectedCommand {
    const char* menu;
    const char* name;
    const char* caption;
    const char* key;
    const char* hint;
    bool enabledWithoutWindow;  // after its menu opened, no editor window open
};

// The main window's command map, written out on its own so that a slip in the
// program's table shows up here.
const ExpectedCommand kExpected[] = {
    {"FileMenu", "actionNew", "&New", "", "Create a new file", true},
    {"FileMenu", "actionOpen", "&Open...", "", "Open file", true},
    {"FileMenu", "actionSave", "&Save", "", "Save current file", false},
    {"FileMenu", "actionSaveAs", "Save &as...", "", "Save current file under a different name", false},
    {"FileMenu", "actionPrint", "&Print...", "", "Print current file", false},
    {"FileMenu", "actionPrintSetup", "P&rint setup...", "", "Define printer options", true},
    {"FileMenu", "actionExit", "E&xit", "Alt+F4", "Exit application", true},
    {"EditMenu", "actionUndo", "&Undo", "Alt+Backspace", "Undo last edit operation", false},
    {"EditMenu", "actionRedo", "&Redo", "Ctrl+Shift+Z", "Cancel last undo operation", false},
    {"EditMenu", "actionCut", "Cu&t", "Ctrl+X", "Cut selected text to clipboard", false},
    {"EditMenu", "actionCopy", "&Copy", "Ctrl+C", "Copy selected text to clipboard", false},
    {"EditMenu", "actionPaste", "&Paste", "Ctrl+V", "Paste from clipboard to caret position", false},
    {"EditMenu", "actionDelete", "&Delete", "Ctrl+Del", "Delete selected text", false},
    {"EditMenu", "actionSelectAll", "&Select All", "Ctrl+A", "Select all text", false},
    {"SearchMenu", "actionFind", "&Find...", "Ctrl+F", "Find text in current file", false},
    {"SearchMenu", "actionReplace", "&Replace...", "Ctrl+R", "Find text in current file and replace", false},
    {"SearchMenu", "actionFindNext", "Find &next", "F3", "Repeat find operation", false},
    {"SearchMenu", "actionFindNextTool", "Find Next -&T-", "Ctrl+T", "", false},
    {"SearchMenu", "actionFindNextSpeed", "Find Next -&S-", "Ctrl+S", "", false},
    {"SearchMenu", "actionFindNextFeed", "Fin&d Next -F-", "Ctrl+E", "", false},
    {"SearchMenu", "actionFindNextComment", "Find Next &Comment", "Ctrl+M", "", false},
    {"SearchMenu", "actionJumpToSubprogram", "Jump To Su&bprogram", "Ctrl+B", "", false},
    {"SearchMenu", "actionJumpToTool", "&Jump To Tool", "Ctrl+J", "", false},
    {"SearchMenu", "actionGoToLine", "&Go to line...", "F4", "Go to specified line in current file", false},
    {"SearchMenu", "actionGotoTop", "Goto T&op", "", "", false},
    {"SearchMenu", "actionGotoBottom", "Goto &Bottom", "", "", false},
    {"InsertMenu", "actionInsertExpression", "&Expression", "", "", true},
    {"InsertMenu", "actionInsertFile", "&File", "", "", true},
    {"InsertMenu", "actionInsertMacro", "&NC-Code macro", "Ctrl+I", "", true},
    {"InsertMenu", "actionInsertSpecialCharacter", "&Special Character", "", "", true},
    {"InsertMenu", "actionInsertDateTime", "&Date / Time", "", "", true},
    {"InsertMenu", "actionInsertFileName", "C&urrent File Name", "", "", true},
    {"InsertMenu", "actionInsertComment", "&Comment", "", "", true},
    {"CalculatorsMenu", "actionSystemCalculator", "&Calculator", "", "", true},
    {"CalculatorsMenu", "actionZantorCalc", "&Zantor-Calc", "", "", true},
    {"CalculatorsMenu", "actionTriangleSolver", "&Triangle Solver", "", "", true},
    {"CalculatorsMenu", "actionSpeedFeed", "&Speed Feed Calculator", "", "", true},
    {"NcUtilitiesMenu", "actionArithmetic", "&Arithmetic", "", "", true},
    {"NcUtilitiesMenu", "actionAddRemoveSpaces", "Add / Remove &Spaces", "", "", true},
    {"NcUtilitiesMenu", "actionChangeLineEnds", "Change &Line Begin/End", "", "", true},
    {"NcUtilitiesMenu", "actionCompareFiles", "C&ompare Two Files", "", "", true},
    {"NcUtilitiesMenu", "actionFeedSpeedOverride", "F&eed / Speed Overide", "", "", true},
    {"NcUtilitiesMenu", "actionFileSplitter", "File Splitter", "", "", true},
    {"NcUtilitiesMenu", "actionInformation", "&Information", "", "", true},
    {"NcUtilitiesMenu", "actionMakeColumns", "&Make Columns", "", "", true},
    {"NcUtilitiesMenu", "actionReformat", "Re-&Format", "", "", true},
    {"NcUtilitiesMenu", "actionResequence", "&Re-Sequence", "", "", true},
    {"NcUtilitiesMenu", "actionFileCleanup", "File Cleanup", "", "", true},
    {"NcUtilitiesMenu", "actionAnalyzer", "Run &NC-Code Analyzer", "", "", true},
    {"NcUtilitiesMenu", "actionBMacro", "B-Macro Interpeter", "", "", true},
    {"DncMenu", "DncGo", "&Go", "", "", true},
    {"DncMenu", "DncRemote", "&Remote", "F5", "", false},
    {"SetupMenu", "actionProperties", "Properties", "", "", true},
    {"SetupMenu", "actionMachineSetup", "&Machine/DNC Setup...", "", "", true},
    {"SetupMenu", "actionPasswordManager", "Password Manager", "", "", true},
    {"WindowMenu", "actionCascade", "&Cascade", "", "Arrange windows to overlap", false},
    {"WindowMenu", "actionTile", "&Tile", "", "Arrange windows without overlap", false},
    {"WindowMenu", "actionArrangeIcons", "&Arrange Icons", "", "Arrange window icons at bottom of main window", false},
    {"WindowMenu", "actionMinimizeAll", "&Minimize All", "", "Minimize all windows", false},
    {"WindowMenu", "actionFileViewer", "&File Viewer", "", "", true},
    {"WindowMenu", "actionSplit", "&Split", "", "", false},
    {"HelpMenu", "actionHelpContents", "&Contents", "", "", true},
    {"HelpMenu", "actionHelpSearch", "&Topic Search", "", "", true},
    {"HelpMenu", "actionDncHelp", "&DNC Help", "", "", true},
    {"HelpMenu", "actionLauncherHelp", "Zantor Launcher Help", "", "", true},
    {"HelpMenu", "actionAnalyzerHelp", "NC-Code Analyzer Help", "", "", true},
    {"HelpMenu", "actionAbout", "&About...", "", "Display application About Box", true},
};

struct ExpectedButton {
    const char* name;
    const char* tooltip;
    const char* status;
    const char* command;
};

const ExpectedButton kToolButtons[] = {
    {"toolOpen", "Open", "Open file", "actionOpen"},
    {"toolSave", "Save", "Save current file", "actionSave"},
    {"toolPrint", "Print File", "Print File", "actionPrint"},
    {"toolCut", "Cut", "Cut selected text to clipboard", "actionCut"},
    {"toolCopy", "Copy", "Copy selected text to clipboard", "actionCopy"},
    {"toolPaste", "Paste", "Paste from clipboard at caret position", "actionPaste"},
    {"toolUndo", "Undo", "Undo", "actionUndo"},
    {"toolRedo", "Redo", "Redo", "actionRedo"},
    {"toolMachineSettings", "Machine Settings", "Machine Settings", "actionMachineSetup"},
    {"StartDncButton", "Start DNC", "Start DNC", "DncGo"},
    {"toolRemoteDnc", "Start REMOTE DNC", "Start REMOTE DNC", "DncRemote"},
    {"toolAnalyzer", "Run NC-Code Analyzer", "Run NC-Code Analyzer", "actionAnalyzer"},
    {"toolExit", "Exit Zantor", "Exit Zantor", "actionExit"},
};

const ExpectedButton kStatusButtons[] = {
    {"statusFindTool", "T", "Find Next Tool", "actionFindNextTool"},
    {"statusFindSpeed", "S", "Find Next Speed", "actionFindNextSpeed"},
    {"statusFindFeed", "F", "Find Next Feed", "actionFindNextFeed"},
    {"statusFindComment", "C", "Find Next Comment", "actionFindNextComment"},
    {"statusJumpToTool", "J", "Jump to Tool", "actionJumpToTool"},
    {"statusJumpToSubprogram", "B", "Jump to Sub-Program", "actionJumpToSubprogram"},
};

}  // namespace

// The main window's menus, tool buttons and status-bar buttons against the map.
class CommandMapTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    // A command by its name in the map.
    QAction* command(const char* name) { return form->findChild<CommandMap*>()->command(name); }
    QMenu* menu(const char* name) { return form->findChild<CommandMap*>()->menu(name); }

private slots:
    void init() { setUp({.settings = "[GENERAL]\n"}); }
    void cleanup() { tearDown(); }

    void theMenuBarHoldsTheMenusInOrder() {
        QStringList captions;
        for (QAction* a : form->menuBar()->actions())
            if (a->menu() && a->isVisible()) captions << a->text();
        QCOMPARE(captions, QStringList({"&File", "&Edit", "&Search", "&Insert", "&Calculators",
                                        "&NC Utilities", "&DNC", "&Setup", "&Window", "&Help"}));
        QCOMPARE(menu("FileMenu")->menuAction()->statusTip(),
                 QString("File related commands"));
        QCOMPARE(menu("SearchMenu")->menuAction()->statusTip(),
                 QString("Search related commands"));
        QCOMPARE(menu("HelpMenu")->menuAction()->statusTip(),
                 QString("Help related commands"));
    }

    void everyCommandHasItsCaptionKeyHintAndEnabling() {
        for (const ExpectedCommand& e : kExpected) {
            const QByteArray where = QByteArray(e.name);
            QMenu* menu = this->menu(e.menu);
            QVERIFY2(menu, e.menu);
            emit menu->aboutToShow();
            QAction* a = command(e.name);
            QVERIFY2(a, where);
            QVERIFY2(menu->actions().contains(a), where);
            QCOMPARE(a->text(), QString(e.caption));
            if (*e.key) {
                QCOMPARE(a->shortcut(), QKeySequence(QString(e.key), QKeySequence::PortableText));
            } else {
                // A command without a key of its own may keep a desktop key
                // (Ctrl+N, Ctrl+O), never one the map gives another command.
                for (const ExpectedCommand& other : kExpected)
                    if (*other.key)
                        QVERIFY2(!a->shortcuts().contains(
                                     QKeySequence(QString(other.key), QKeySequence::PortableText)),
                                 where);
            }
            if (*e.hint) QCOMPARE(a->statusTip(), QString(e.hint));
            QVERIFY2(a->isEnabled() == e.enabledWithoutWindow, where);
        }
    }

    void commandsAppearInTheMenusInTheMapsOrder() {
        for (const char* menuName : {"FileMenu", "SearchMenu", "InsertMenu", "NcUtilitiesMenu",
                                     "SetupMenu", "HelpMenu"}) {
            QStringList expected, shown;
            QList<QAction*> commands;
            for (const ExpectedCommand& e : kExpected)
                if (QString(e.menu) == menuName) {
                    expected << e.name;
                    commands << command(e.name);
                }
            for (QAction* a : menu(menuName)->actions())
                if (commands.contains(a)) shown << expected[commands.indexOf(a)];
            QCOMPARE(shown, expected);
        }
    }

    void buttonsShowTheirHintsAndFollowTheirCommands() {
        const std::span<const ExpectedButton> tools(kToolButtons), status(kStatusButtons);
        for (const bool inStatusBar : {false, true}) {
            for (const ExpectedButton& b : inStatusBar ? status : tools) {
                QAction* button = findAction(b.name);
                QVERIFY2(button, b.name);
                QAction* command = this->command(b.command);
                QVERIFY2(command, b.command);
                if (inStatusBar) {
                    QCOMPARE(button->text(), QString(b.tooltip));
                    QCOMPARE(button->toolTip(), QString(b.status));
                } else {
                    QCOMPARE(button->toolTip(), QString(b.tooltip));
                    QCOMPARE(button->statusTip(), QString(b.status));
                }
                if (CommandMap::isPlaceholder(*command)) QVERIFY2(!button->isEnabled(), b.name);
            }
        }
        // The status buttons sit in the status bar, bold.
        auto* t = form->statusBar()->findChild<QToolButton*>("statusFindToolButton");
        QVERIFY(t);
        QVERIFY(t->font().bold());
        QCOMPARE(form->machineBox()->toolTip(), QString("Select a Machine name"));
        // The remote DNC button stays hidden, as its command.
        QVERIFY(!action("toolRemoteDnc")->isVisible());
    }

    void aButtonRunsItsCommandAndIsEnabledWithIt() {
        QAction* command = this->command("actionFindNextTool");
        QAction* button = action("statusFindTool");
        int runs = 0;
        connect(command, &QAction::triggered, this, [&runs] { ++runs; });
        command->setEnabled(true);
        QVERIFY(button->isEnabled());
        button->trigger();
        QCOMPARE(runs, 1);
        command->setEnabled(false);
        QVERIFY(!button->isEnabled());
    }

    void aKeyOfADisabledCommandDoesNothing() {
        // Ctrl+S belongs to finding the next speed, not to saving.
        const std::string path = dir->write("PART.TAP", "N10 S1000\r\n");
        form->workspace().OpenEditorWindow(path, true);
        editor::TMDIChild* window = form->workspace().ActiveEditorWindow();
        QVERIFY(window);
        QTest::keyClicks(window->Editor1(), "G0");
        QVERIFY(window->Modified());
        QVERIFY(!command("actionFindNextSpeed")->isEnabled());
        QTest::keyClick(window->Editor1(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dir->read("PART.TAP"), std::string("N10 S1000\r\n"));
        QVERIFY(window->Modified());
        // With a window of text open, the File menu offers saving.
        emit form->fileMenu()->aboutToShow();
        QVERIFY(command("actionSave")->isEnabled());
        QVERIFY(command("actionSaveAs")->isEnabled());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::CommandMapTest)
#include "command_map_test.moc"
