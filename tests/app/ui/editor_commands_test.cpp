#include "app/ui/editor_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/status_panels.h"
#include "core/file_io.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/file_viewer_window.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"
#include "session/file_commands.h"

namespace zantor {

using editor::TMDIChild;

// The main window with its editor windows, driven through its menus and keys.
class EditorCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    QMenu* menu(const char* name) { return form->findChild<QMenu*>(name); }
    editor::EditorWorkspace& workspace() { return form->workspace(); }
    TMDIChild* active() { return workspace().ActiveEditorWindow(); }
    QString panel(int n) { return form->editorCommands().statusPanels().text(n); }
    void openMenu(QMenu* m) { emit m->aboutToShow(); }
    // Status and enabling are refreshed once the event loop is idle.
    static void settle() { QCoreApplication::processEvents(); }
    std::string logText() {
        return fileExists(dir->file("ZTRDNC.LOG")) ? dir->read("ZTRDNC.LOG") : std::string();
    }

private slots:
    void init() {
        // The first machine (current at start) comments in brackets, the
        // other one in parentheses.
        setUp({.machines = "[Machine Names]\nNumber=2\nMachine1=Brackets\nMachine2=Parens\n"
                           "[Brackets]\nCMTSTART=[\nCMTEND=]\n",
               .settings = "[GENERAL]\nLOGGING=1\n"});
        session->state.CurrentSettings.Format.LoadSaveFolder = dir->path();
        QApplication::clipboard()->clear();
    }
    void cleanup() { tearDown(); }

    void openEditUndoSplitAndSave() {
        const std::string path = dir->write("PART.TAP", "N10 G1 X5\r\nM30\r\n");
        ui->openedFiles.push_back({path});
        action("actionOpen")->trigger();
        TMDIChild* window = active();
        QVERIFY(window);
        settle();
        QCOMPARE(window->caption(), path);
        QCOMPARE(window->windowTitle(), QString::fromStdString(path));
        QCOMPARE(panel(1), QString("1:1"));
        QCOMPARE(panel(2), QString());
        QCOMPARE(panel(3), QString("Total: 2"));
        QCOMPARE(panel(4), QString("Top: 1"));
        QCOMPARE(panel(5), QString("Bytes: 16"));
        QCOMPARE(panel(6), QString("Insert"));
        QVERIFY(logText().find("Open File [" + path + "]") != std::string::npos);

        QTest::keyClicks(window->Editor1(), "G90 ");
        QCOMPARE(window->GetParagraph(1), std::string("G90 N10 G1 X5"));
        settle();
        QCOMPARE(panel(1), QString("1:5"));
        QCOMPARE(panel(2), QString("Modified"));
        QVERIFY(action("actionUndo")->isEnabled());
        action("actionUndo")->trigger();
        QCOMPARE(window->GetParagraph(1), std::string("N10 G1 X5"));
        settle();
        QVERIFY(action("actionRedo")->isEnabled());

        QTest::keyClick(window->Editor1(), Qt::Key_Insert);
        settle();
        QCOMPARE(panel(6), QString("Overwrite"));
        QTest::keyClicks(window->Editor1(), "N20");
        QCOMPARE(window->GetParagraph(1), std::string("N20 G1 X5"));

        action("actionSplit")->trigger();
        QVERIFY(window->isSplit());
        QCOMPARE(window->secondView()->lineBytes(0), std::string_view("N20 G1 X5"));
        openMenu(menu("WindowMenu"));
        QVERIFY(action("actionSplit")->isChecked());

        openMenu(form->fileMenu());
        QVERIFY(action("actionSave")->isEnabled());
        action("actionSave")->trigger();
        QCOMPARE(dir->read("PART.TAP"), std::string("N20 G1 X5\r\nM30\r\n"));
        QCOMPARE(dir->read("PART.BAK"), std::string("N10 G1 X5\r\nM30\r\n"));
        settle();
        QCOMPARE(panel(2), QString());
        QCOMPARE(action("MRU1")->text(), QString::fromStdString("&1 " + path));
        QVERIFY(action("MRU1")->isVisible());
        QVERIFY(!action("MRU2")->isVisible());
    }

    void aNameEndingInAPointSavesToTheFileItCameFrom() {
        // On Linux "PART." and "PART" are two files.
        const std::string path = dir->write("PART.", "G1\r\n");
        ui->openedFiles.push_back({path});
        action("actionOpen")->trigger();
        QCOMPARE(active()->caption(), path);
        active()->AppendLine("M30");
        openMenu(form->fileMenu());
        action("actionSave")->trigger();
        QCOMPARE(dir->read("PART."), std::string("G1\r\nM30\r\n"));
        QVERIFY(!fileExists(dir->file("PART")));
        ui->openedFiles.push_back({path});
        action("actionOpen")->trigger();
        QCOMPARE(workspace().editorWindows().size(), size_t(1));
    }

    void openingAFileTwiceActivatesItsWindow() {
        const std::string a = dir->write("A.TAP", "G1\r\n"), b = dir->write("B.TAP", "G2\r\n");
        ui->openedFiles.push_back({a});
        action("actionOpen")->trigger();
        ui->openedFiles.push_back({b});
        action("toolOpen")->trigger();
        ui->openedFiles.push_back({a});
        action("actionOpen")->trigger();
        QCOMPARE(workspace().editorWindows().size(), size_t(2));
        QCOMPARE(active()->caption(), a);
        QCOMPARE(session->recentFiles, (RecentFiles{b, a, "", "", "", ""}));
        QVERIFY(action("MRU2")->isVisible());
        QVERIFY(!action("MRU3")->isVisible());
    }

    void theCloseQuestionCanKeepTheWindow() {
        action("actionNew")->trigger();
        TMDIChild* window = active();
        QCOMPARE(window->caption(), std::string("NONAME1"));
        QTest::keyClicks(window->Editor1(), "G1");
        QMdiSubWindow* sub = form->mdiArea()->subWindowList().front();

        ui->answers.push_back(Answer::Cancel);
        sub->close();
        QCOMPARE(ui->texts().back(), std::string("NONAME1 has changed, do you wish to save?"));
        QCOMPARE(workspace().editorWindows().size(), size_t(1));

        // Closing the main window asks too, and Cancel keeps it running.
        ui->answers.push_back(Answer::Cancel);
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());

        ui->answers.push_back(Answer::No);
        sub->close();
        QTRY_COMPARE(workspace().editorWindows().size(), size_t(0));
        QVERIFY(!workspace().fileCommands().noNameNumbers().inUse(1));
        settle();
        for (int n = 1; n <= 6; ++n) QCOMPARE(panel(n), QString());
    }

    void enablingFollowsTheActiveWindow() {
        for (const char* name :
             {"actionUndo", "actionCut", "actionCopy", "actionPaste", "actionDelete",
              "actionSelectAll", "toolSave", "toolCut", "toolCopy", "toolPaste", "actionSave",
              "actionSaveAs", "contextCut", "contextPaste"})
            QVERIFY2(!action(name)->isEnabled(), name);
        openMenu(menu("WindowMenu"));
        QVERIFY(!action("actionCascade")->isEnabled());
        QVERIFY(!action("actionSplit")->isEnabled());

        action("actionNew")->trigger();
        settle();
        QVERIFY(action("toolSave")->isEnabled());
        QVERIFY(!action("actionSelectAll")->isEnabled());
        openMenu(form->fileMenu());
        QVERIFY(!action("actionSave")->isEnabled());  // nothing to save yet

        active()->InsertText("G1 X1");
        active()->SelectAll();
        settle();
        QVERIFY(action("actionCut")->isEnabled());
        QVERIFY(action("toolCopy")->isEnabled());
        QVERIFY(action("actionDelete")->isEnabled());
        QVERIFY(!action("toolPaste")->isEnabled());
        action("actionCopy")->trigger();
        settle();
        QVERIFY(action("toolPaste")->isEnabled());
        action("actionDelete")->trigger();
        QCOMPARE(active()->ParagraphCount(), 0);
        action("actionPaste")->trigger();
        QCOMPARE(active()->GetParagraph(1), std::string("G1 X1"));
        openMenu(menu("WindowMenu"));
        QVERIFY(action("actionCascade")->isEnabled());
        QVERIFY(action("actionMinimizeAll")->isEnabled());
    }

    void captionsKeysAndHints() {
        struct Row {
            const char* name;
            const char* text;
            QKeySequence key;
            const char* hint;
            const char* toolTip;  // buttons only
        };
        const Row rows[] = {
            {"actionNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), "Create a new file", nullptr},
            {"actionOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), "Open file", nullptr},
            {"actionSave", "&Save", {}, "Save current file", nullptr},
            {"actionSaveAs",
             "Save &as...",
             {},
             "Save current file under a different name",
             nullptr},
            {"actionPrint", "&Print...", {}, "Print current file", nullptr},
            {"actionUndo", "&Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace),
             "Undo last edit operation", nullptr},
            {"actionRedo", "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
             "Cancel last undo operation", nullptr},
            {"actionCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X),
             "Cut selected text to clipboard", nullptr},
            {"actionCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C),
             "Copy selected text to clipboard", nullptr},
            {"actionPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
             "Paste from clipboard to caret position", nullptr},
            {"actionDelete", "&Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete),
             "Delete selected text", nullptr},
            {"actionSelectAll", "&Select All", QKeySequence(Qt::CTRL | Qt::Key_A),
             "Select all text", nullptr},
            {"actionCascade", "&Cascade", {}, "Arrange windows to overlap", nullptr},
            {"actionTile", "&Tile", {}, "Arrange windows without overlap", nullptr},
            {"actionArrangeIcons",
             "&Arrange Icons",
             {},
             "Arrange window icons at bottom of main window",
             nullptr},
            {"actionMinimizeAll", "&Minimize All", {}, "Minimize all windows", nullptr},
            {"actionFileViewer", "&File Viewer", {}, nullptr, nullptr},
            {"actionSplit", "&Split", {}, nullptr, nullptr},
            {"toolOpen", "Open", {}, "Open file", "Open"},
            {"toolSave", "Save", {}, "Save current file", "Save"},
            {"toolCut", "Cut", {}, "Cut selected text to clipboard", "Cut"},
            {"toolCopy", "Copy", {}, "Copy selected text to clipboard", "Copy"},
            {"toolPaste", "Paste", {}, "Paste from clipboard at caret position", "Paste"},
            {"toolUndo", "Undo", {}, "Undo", "Undo"},
            {"toolRedo", "Redo", {}, "Redo", "Redo"},
        };
        for (const Row& row : rows) {
            QAction* a = action(row.name);
            QCOMPARE(a->text(), QString(row.text));
            QCOMPARE(a->shortcut(), row.key);
            if (row.hint) QCOMPARE(a->statusTip(), QString(row.hint));
            if (row.toolTip) QCOMPARE(a->toolTip(), QString(row.toolTip));
        }
        const std::pair<QMenu*, const char*> menus[] = {
            {form->fileMenu(), "File related commands"},
            {menu("EditMenu"), "Editing commands"},
            {menu("WindowMenu"), "Window related commands such as Tile and Cascade"},
        };
        for (const auto& [m, hint] : menus) QCOMPARE(m->menuAction()->statusTip(), QString(hint));
        // The buttons come left of the machine selector.
        auto* buttons = form->findChild<QToolBar*>("EditToolBar");
        auto* machines = form->findChild<QToolBar*>("MachineToolBar");
        QVERIFY(buttons->geometry().right() < machines->geometry().left());
        QStringList context;
        for (QAction* a : form->editorCommands().contextMenu()->actions())
            if (!a->isSeparator()) context << a->text();
        QCOMPARE(context, (QStringList{"Cut", "Copy", "Paste", "Delete", "Find Next", "Save",
                                       "Print", "Dnc"}));
    }

    void contextMenuRunsTheEditCommands() {
        action("actionNew")->trigger();
        active()->InsertText("G1 X1");
        active()->SetSelection({1, 1}, {1, 4});
        settle();
        QVERIFY(action("contextCopy")->isEnabled());
        QVERIFY(action("contextDelete")->isEnabled());
        action("contextCopy")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("G1 "));
        action("contextDelete")->trigger();
        QCOMPARE(active()->GetParagraph(1), std::string("X1"));
        settle();
        QVERIFY(!action("contextCut")->isEnabled());
        QVERIFY(action("contextPaste")->isEnabled());
        action("contextPaste")->trigger();
        QCOMPARE(active()->GetParagraph(1), std::string("G1 X1"));
    }

    void choosingAnotherMachineRecoloursTheOpenWindows() {
        action("actionNew")->trigger();
        TMDIChild* window = active();
        window->InsertText("X1 (A)");
        window->SetCaret(1, 1);
        editor::EditorView* view = window->Editor1();
        view->colourVisibleLines();
        auto classAt = [view](int column) {
            return view->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                       static_cast<unsigned long>(column - 1)) %
                   editor::kSyntaxClasses;
        };
        QCOMPARE(classAt(4), long(editor::SyntaxClass::Alpha));
        QComboBox* box = form->machineBox();
        QCOMPARE(box->currentText(), QString("Brackets"));
        emit box->activated(box->findText("Parens"));
        QCOMPARE(classAt(4), long(editor::SyntaxClass::Comment));
        QCOMPARE(classAt(6), long(editor::SyntaxClass::Comment));
    }

    void cancellingOneQuestionStopsClosingTheProgram() {
        for (int n = 0; n < 2; ++n) {
            action("actionNew")->trigger();
            QTest::keyClicks(active()->Editor1(), "G1");
        }
        ui->answers.push_back(Answer::Cancel);
        ui->answers.push_back(Answer::No);  // must not be asked for
        QVERIFY(!form->close());
        QCOMPARE(ui->messages.size(), size_t(1));
        settle();
        QCOMPARE(workspace().editorWindows().size(), size_t(2));
    }

    void ctrlF4ClosesTheEditorWindowWithItsQuestion() {
        action("actionNew")->trigger();
        TMDIChild* window = active();
        // A sub-window's own close key depends on the desktop (Ctrl+W on
        // X11): take Ctrl+F4 from it, as such a desktop has it.
        for (QAction* a : form->mdiArea()->subWindowList().front()->systemMenu()->actions()) {
            QList<QKeySequence> keys = a->shortcuts();
            keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4));
            a->setShortcuts(keys);
        }
        QTest::keyClicks(window->Editor1(), "G1");
        ui->answers.push_back(Answer::No);
        QTest::keyClick(window->Editor1(), Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(ui->texts(),
                 std::vector<std::string>{"NONAME1 has changed, do you wish to save?"});
        QTRY_COMPARE(workspace().editorWindows().size(), size_t(0));
    }

    void hintsHideTheStatusPanels() {
        auto* first = form->statusBar()->findChild<QLabel*>("StatusPanel1");
        QVERIFY(first);
        form->statusBar()->showMessage("Open file");
        QVERIFY(!first->isVisible());
        form->statusBar()->clearMessage();
        QVERIFY(first->isVisible());
    }

    void aFileThatCannotBeReadStillGetsItsWindow() {
        const std::string missing = dir->file("GONE.TAP");
        workspace().OpenEditorWindow(missing, true);
        QCOMPARE(ui->texts(), std::vector<std::string>{systemErrorText(ENOENT)});
        QVERIFY(active());
        QCOMPARE(active()->caption(), missing);
        QCOMPARE(active()->ParagraphCount(), 0);
    }

    void aLineTooLongToKeepWholeIsReportedOnOpeningAndSavingOverItAsksOnce() {
        const std::string whole = "G1\r\n" + std::string(40000, 'X') + "\r\n";
        const std::string path = dir->write("LONG.TAP", whole);
        workspace().OpenEditorWindow(path, true);
        QCOMPARE(ui->texts(), std::vector<std::string>{editor::linesCutWarning({1, 2})});
        QCOMPARE(ui->messages.front().kind, MessageKind::Warning);
        QCOMPARE(active()->GetParagraph(2).size(), size_t(32767));
        // No goes to Save As (cancelled here): the file keeps its lines.
        ui->messages.clear();
        ui->answers.push_back(Answer::No);
        openMenu(form->fileMenu());
        action("actionSave")->trigger();
        QCOMPARE(ui->texts(), std::vector<std::string>{replaceCutFileQuestion(path)});
        QCOMPARE(ui->fileRequests.back().title, std::string("Save LONG.TAP As"));
        QCOMPARE(dir->read("LONG.TAP"), whole);
        // Yes writes it shortened, keeping the whole file as the backup; the
        // next save asks no more and leaves that backup alone.
        ui->answers.push_back(Answer::Yes);
        settle();
        action("toolSave")->trigger();
        QCOMPARE(dir->read("LONG.TAP").size(), size_t(4 + 32767 + 2));
        QCOMPARE(dir->read("LONG.BAK"), whole);
        ui->messages.clear();
        active()->AppendLine("M30");
        action("toolSave")->trigger();
        QVERIFY(ui->messages.empty());
    }

    void droppedFilesOpenWithoutChangingTheRecentFiles() {
        const std::string a = dir->write("DROP.TAP", "G1\r\n");
        form->openDroppedFiles({QString::fromStdString(a)});
        QVERIFY(active());
        QCOMPARE(active()->GetParagraph(1), std::string("G1"));
        form->openDroppedFiles({QString::fromStdString(a)});
        QCOMPARE(workspace().editorWindows().size(), size_t(1));
        QCOMPARE(session->recentFiles[0], std::string());
    }

    void resultsWindowIsReusedAndRequireActiveDocumentSays() {
        QVERIFY(!workspace().RequireActiveDocument());
        QCOMPARE(ui->texts(), std::vector<std::string>{
                                  "No File Currently Loaded\r\nSelect File Open/New First"});
        TMDIChild* results = workspace().ShowResultsWindow();
        QCOMPARE(results->caption(), std::string("Zantor Results"));
        action("actionNew")->trigger();
        QCOMPARE(workspace().ShowResultsWindow(), results);
        QCOMPARE(active(), results);
        QCOMPARE(workspace().editorWindows().size(), size_t(2));
        QVERIFY(workspace().RequireActiveDocument());
    }

    void exportLinesWritesTheActiveWindowToTheWorkFile() {
        QVERIFY(!workspace().ExportLines(editor::ExportMode::AllLines).success);
        action("actionNew")->trigger();
        active()->InsertText("G1\tX1\r\nG2\r\nG3\r\nM30");
        active()->SetCaret(3, 1);
        QVERIFY(!workspace().ExportLines(editor::ExportMode::SelectedLines).success);
        const editor::ExportResult fromCaret =
            workspace().ExportLines(editor::ExportMode::FromCaret);
        QVERIFY(fromCaret.success);
        QCOMPARE(fromCaret.fileName, std::string("NONAME1"));
        QCOMPARE(readFileBytes(session->state.WorkFile), std::string("G3\r\nM30\r\n"));
        QVERIFY(workspace().ExportLines(editor::ExportMode::AllLines).success);
        QCOMPARE(readFileBytes(session->state.WorkFile),
                 std::string("G1      X1\r\nG2\r\nG3\r\nM30\r\n"));
    }

    void fileViewerComesFromTheWindowMenu() {
        action("actionFileViewer")->trigger();
        QVERIFY(form->editorCommands().fileViewer().isVisible());
        QCOMPARE(form->editorCommands().fileViewer().windowTitle(), QString("File Viewer"));
        form->editorCommands().fileViewer().close();
    }

    void minimizeAllAndTheWindowList() {
        action("actionNew")->trigger();
        action("actionNew")->trigger();
        openMenu(menu("WindowMenu"));
        QStringList titles;
        for (QAction* a : menu("WindowMenu")->actions())
            if (a->text().startsWith("&1") || a->text().startsWith("&2")) titles << a->text();
        QCOMPARE(titles, (QStringList{"&1 NONAME1", "&2 NONAME2"}));
        action("actionMinimizeAll")->trigger();
        for (QMdiSubWindow* sub : form->mdiArea()->subWindowList()) QVERIFY(sub->isMinimized());
        // Minimised windows are open windows: the menu arranges and lists
        // them, before and after one is restored.
        for (int round = 0; round < 2; ++round) {
            openMenu(menu("WindowMenu"));
            for (const char* name :
                 {"actionCascade", "actionTile", "actionArrangeIcons", "actionMinimizeAll"})
                QVERIFY2(action(name)->isEnabled(), name);
            QStringList listed;
            for (QAction* a : menu("WindowMenu")->actions())
                if (a->text().startsWith("&1") || a->text().startsWith("&2")) listed << a->text();
            QCOMPARE(listed, (QStringList{"&1 NONAME1", "&2 NONAME2"}));
            if (round == 0)
                for (QAction* a : menu("WindowMenu")->actions())
                    if (a->text() == "&1 NONAME1") a->trigger();
        }
        QVERIFY(!form->mdiArea()->subWindowList().front()->isMinimized());
        QCOMPARE(active()->caption(), std::string("NONAME1"));
    }

    void savingClearsModifiedInTheStatusAtOnce() {
        const std::string path = dir->write("PART.TAP", "G1\r\n");
        ui->openedFiles.push_back({path});
        action("actionOpen")->trigger();
        for (const char* save : {"actionSave", "toolSave"}) {
            QTest::keyClicks(active()->Editor1(), "X");
            settle();
            QCOMPARE(panel(2), QString("Modified"));
            openMenu(form->fileMenu());
            action(save)->trigger();
            settle();
            QVERIFY2(panel(2).isEmpty(), save);
        }
    }

    void choosingAMachineBringsThePanelsBackAtOnce() {
        auto* first = form->statusBar()->findChild<QLabel*>("StatusPanel1");
        // The selector's hint shows while the mouse is on it.
        form->statusBar()->showMessage(form->machineBox()->statusTip());
        QVERIFY(!first->isVisible());
        emit form->machineBox()->activated(1);
        QVERIFY(first->isVisible());
        QVERIFY(form->statusBar()->currentMessage().isEmpty());
    }

    void newWindowsOpenInsideTheAreaWhichScrollsToAWindowMovedOut() {
        QMdiArea* area = form->mdiArea();
        const QRect room(QPoint(0, 0), area->viewport()->size());
        for (int n = 0; n < 12; ++n) {
            action("actionNew")->trigger();
            QMdiSubWindow* sub = area->currentSubWindow();
            QVERIFY2(room.contains(sub->geometry()), qPrintable(QString::number(n)));
            QVERIFY(sub->height() >= room.height() / 2);
        }
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QMdiSubWindow* moved = area->subWindowList().front();
        moved->move(room.width() + 50, room.height() + 50);
        settle();
        QVERIFY(area->horizontalScrollBar()->isVisible());
        QVERIFY(area->verticalScrollBar()->isVisible());
    }

    void cascadeLeavesWindowsUsableAndTileKeepsBothViewsOfASplit() {
        QMdiArea* area = form->mdiArea();
        const QRect room(QPoint(0, 0), area->viewport()->size());
        for (int n = 0; n < 3; ++n) action("actionNew")->trigger();
        settle();
        TMDIChild* split = active();
        action("actionSplit")->trigger();
        QVERIFY(split->isSplit());
        action("actionCascade")->trigger();
        for (QMdiSubWindow* sub : area->subWindowList()) {
            QVERIFY(room.contains(sub->geometry()));
            QVERIFY(sub->height() >= room.height() / 2);
            QVERIFY(sub->width() >= room.width() / 2);
        }
        // Stacked down the cascade, the active window in front: every title
        // bar shows.
        const QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(stack.back()->widget(), split);
        for (qsizetype i = 1; i < stack.size(); ++i) QVERIFY(stack[i - 1]->y() < stack[i]->y());
        action("actionTile")->trigger();
        for (TMDIChild* w : workspace().editorWindows()) QVERIFY(w->Editor1()->height() > 0);
        QVERIFY(split->secondView()->height() > 0);
    }

    void openOffersToCreateANameThatIsNoFileYet() {
        const std::string missing = dir->file("NEWPART.TAP");
        ui->openedFiles.push_back({missing});
        ui->answers.push_back(Answer::Yes);
        action("actionOpen")->trigger();
        QCOMPARE(ui->texts(), std::vector<std::string>{createFileQuestion(missing)});
        QVERIFY(active());
        QCOMPARE(active()->caption(), missing);
        QCOMPARE(active()->ParagraphCount(), 0);
        QVERIFY(!fileExists(missing));
        active()->InsertText("G1");
        openMenu(form->fileMenu());
        action("actionSave")->trigger();
        QCOMPARE(readFileBytes(missing), std::string("G1\r\n"));
    }

    void theProgramAndEveryEditorWindowCarryItsIcon() {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        auto image = [](const QIcon& i) {
            return i.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
        };
        const QImage drawn = image(icon);
        QCOMPARE(drawn, QImage(":/zantor/zantor.png")
                            .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(image(form->windowIcon()), drawn);
        action("actionNew")->trigger();
        QCOMPARE(image(form->mdiArea()->currentSubWindow()->windowIcon()), drawn);
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::EditorCommandsTest)
#include "editor_commands_test.moc"
