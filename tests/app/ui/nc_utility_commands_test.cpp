#include "app/ui/nc_utility_commands.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/main_form.h"
#include "editor/nc_document.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "nctools/add_remove_spaces.h"
#include "nctools/file_cleanup.h"
#include "nctools/ui/add_remove_spaces_dialog.h"
#include "nctools/ui/file_cleanup_dialog.h"
#include "nctools/ui/process_dialog.h"
#include "session/app_session.h"

namespace zantor {

// Add / Remove Spaces and File Cleanup from the NC Utilities menu, on editor
// windows, with the progress box.
class NcUtilityCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    NcUtilityCommands& commands() { return form->ncUtilityCommands(); }

    static std::vector<std::string> linesOf(const editor::TextDocument& doc) {
        std::vector<std::string> lines;
        for (int p = 1; p <= doc.ParagraphCount(); ++p) lines.push_back(doc.GetParagraph(p));
        return lines;
    }
    // What tells the window from the plain document after a step, or "".
    static std::string differences(const editor::TMDIChild& window,
                                   const editor::NcDocument& plain) {
        std::string out;
        if (paragraphs(window) != paragraphs(plain))
            out += " text " + paragraphs(window) + " against " + paragraphs(plain);
        if (window.Caret() != plain.Caret())
            out += " caret " + std::to_string(window.Caret().line) + ":" +
                   std::to_string(window.Caret().column) + " against " +
                   std::to_string(plain.Caret().line) + ":" + std::to_string(plain.Caret().column);
        if (window.Modified() != plain.Modified()) out += " modified flag";
        if (window.CanUndo() != plain.CanUndo()) out += " can undo";
        if (window.CanRedo() != plain.CanRedo()) out += " can redo";
        return out;
    }

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=2\nMachine1=Mill\nMachine2=Lathe\n"
                           "[Mill]\nFCOPT3=1\nFCOPT4=1\nFCOPT6=1\n[Lathe]\nFCOPT1=1\nCMTSTART=;\n",
               .settings = "[GENERAL]\nCMACHINE=Mill\n"});
    }
    void cleanup() { tearDown(); }

    void theMenuHoldsBothEntries() {
        auto* menu = form->findChild<QMenu*>("NcUtilitiesMenu");
        QCOMPARE(form->findChildren<QMenu*>("NcUtilitiesMenu").size(), 1);
        QVERIFY(menu);
        QVERIFY(menu->actions().contains(action("actionAddRemoveSpaces")));
        QCOMPARE(action("actionAddRemoveSpaces")->text(), QString("Add / Remove &Spaces"));
        QCOMPARE(action("actionFileCleanup")->text(), QString("File Cleanup"));
    }

    void withoutAnEditorWindowNothingRuns() {
        for (const char* name : {"actionAddRemoveSpaces", "actionFileCleanup"}) {
            ui->messages.clear();
            action(name)->trigger();
            QCOMPARE(ui->texts(), std::vector<std::string>{
                                      "No File Currently Loaded\r\nSelect File Open/New First"});
            QVERIFY(!commands().cleanupDialog().isVisible());
        }
    }

    void everyMachineLoadSetsTheCleanupBoxes() {
        TFcleanDlg& dialog = commands().cleanupDialog();
        QCOMPARE(dialog.windowTitle(), QString("File Cleanup"));
        const CleanupChoice mill{false, false, true, true, false, true};
        QVERIFY(dialog.choice() == mill);
        QCOMPARE(dialog.box(CleanupOperation::DeleteBeforeFirstPercent)->text(),
                 QString("Delete All Before First \"%\""));
        dialog.box(CleanupOperation::RemoveComments)->setChecked(false);
        session->state.CurrentMachine = "Lathe";
        session->loadCurrentMachine();
        QVERIFY(dialog.choice() == (CleanupChoice{true, false, false, false, false, false}));
        session->state.CurrentMachine = "Mill";
        session->loadCurrentMachine();
        QVERIFY(dialog.choice() == mill);
    }

    void fileCleanupRunsTheTickedSetOnTheWindow() {
        editor::TMDIChild* window =
            open("P.TAP", "HEADER\r\n%\r\nG1 X1. (FINISH)\r\n\r\nM30\r\nJUNK\r\n");
        window->SetWordWrap(true);
        whenShown([&] {
            commands().cleanupDialog().setChoice({true, true, true, true, true, true});
            commands().cleanupDialog().accept();
        });
        action("actionFileCleanup")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "%|G1 X1.|M30||%|");
        QVERIFY(!commands().progressBox().isVisible());
        QCOMPARE(window->Caret(), (editor::TextPosition{1, 1}));
        while (window->CanUndo()) window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "HEADER|%|G1 X1. (FINISH)||M30|JUNK|");
    }

    void spacesFollowTheDialogAndTheSelection() {
        editor::TMDIChild* window = open("S.TAP", "G1X1\r\nG2X2 (A B)\r\nG3X3\r\n");
        window->SetSelection({2, 3}, {3, 1});
        TAddremSpaces& dialog = commands().spacesDialog();
        whenShown([&] {
            dialog.findChild<QRadioButton*>("RBAdd")->setChecked(true);
            dialog.accept();
        });
        action("actionAddRemoveSpaces")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "G1X1|G2 X2 (A B)|G3 X3|");
        whenShown([&] {
            QVERIFY(dialog.findChild<QRadioButton*>("RBAdd")->isChecked());  // the choice stays
            dialog.findChild<QRadioButton*>("RBremove")->setChecked(true);
            dialog.accept();
        });
        action("actionAddRemoveSpaces")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "G1X1|G2X2(A B)|G3X3|");
    }

    void cancelInTheBoxStopsARunInTheWindow() {
        std::string text;
        for (int i = 0; i < 500; ++i) text += "G1X" + std::to_string(i) + "\r\n";
        editor::TMDIChild* window = open("C.TAP", text);
        TProcessDlg& box = commands().progressBox();
        // Pressed as soon as the box lets events through.
        QTimer::singleShot(0, [&] { box.cancelButton()->click(); });
        QVERIFY(!AddRemoveSpaces(*window, box, SpacesChange::Add, {}));
        QCOMPARE(window->GetParagraph(1), std::string("G1 X0"));
        QCOMPARE(window->GetParagraph(2), std::string("G1X1"));
        QVERIFY(!box.isVisible());
        // What was done stays an undo step, and only that.
        QVERIFY(window->Modified());
        QVERIFY(window->CanUndo());
        window->UndoEdit();
        QCOMPARE(window->GetParagraph(1), std::string("G1X0"));
        QVERIFY(!window->CanUndo());
        QVERIFY(window->CanRedo());
        window->RedoEdit();
        QCOMPARE(window->GetParagraph(1), std::string("G1 X0"));
        QCOMPARE(window->GetParagraph(2), std::string("G1X1"));
        QVERIFY(!window->CanRedo());
    }

    // Each line a run changes is an undo step of its own. The window and the
    // plain document (which keeps every edit in its own history) go through
    // the same script and must agree after every step: text, caret,
    // modified flag, whether undo and redo are possible.
    void undoTakesRunsBackLineByLine_data() {
        QTest::addColumn<QStringList>("script");
        QTest::newRow("a run undone and redone") << QStringList{"spaces", "undo all", "redo all"};
        QTest::newRow("typing before and after a run")
            << QStringList{"type", "spaces", "type", "undo all", "redo all"};
        QTest::newRow("a run after a partial undo ends its redo")
            << QStringList{"spaces", "undo", "undo", "comments", "redo", "undo all", "redo all"};
        QTest::newRow("typing after a partial undo ends the run's redo")
            << QStringList{"spaces", "undo", "undo", "type", "redo", "undo all", "redo all"};
        QTest::newRow("lines deleted") << QStringList{"blank lines", "undo all", "redo all"};
        QTest::newRow("a selection only")
            << QStringList{"select", "spaces", "undo all", "redo all"};
        QTest::newRow("saved within a run's steps")
            << QStringList{"spaces", "undo", "save", "undo", "redo", "redo", "undo all"};
        QTest::newRow("runs one after another")
            << QStringList{"spaces",   "comments", "blank lines", "undo all",
                           "redo all", "undo",     "type",        "undo all"};
        QTest::newRow("undone to the start, then typing drops the run")
            << QStringList{"spaces", "undo all", "type", "redo", "undo all"};
    }
    void undoTakesRunsBackLineByLine() {
        QFETCH(QStringList, script);
        const std::string text =
            "%\r\nG1X1Y2 (ROUGH)\r\n\r\nG0 X5\r\nM3S1000\r\n\r\nG2X4Y5 (FINISH)\r\nM30\r\n";
        editor::TMDIChild* window = open("U.TAP", text);
        editor::NcDocument plain;
        plain.LoadDocument(dir->write("PLAIN.TAP", text));
        TProcessDlg& box = commands().progressBox();
        NoProgress quiet;
        using Step = std::function<void(editor::TextDocument&, LineWalkProgress&)>;
        auto both = [&](const Step& step) {
            step(*window, box);
            step(plain, quiet);
        };
        int typed = 0;
        int steps = 0;
        for (const QString& command : script) {
            const std::string where =
                command.toStdString() + " (step " + std::to_string(steps++) + ")";
            if (command == "spaces") {
                both([](auto& d, auto& p) { AddRemoveSpaces(d, p, SpacesChange::Add, {}); });
            } else if (command == "comments") {
                both([](auto& d, auto& p) { RemoveComments(d, p, CommentMarks{}); });
            } else if (command == "blank lines") {
                both([](auto& d, auto& p) { RemoveBlankLines(d, p); });
            } else if (command == "select") {
                both([](auto& d, auto&) { d.SetSelection({2, 1}, {5, 1}); });
            } else if (command == "type") {
                const std::string word = "N" + std::to_string(++typed) + " ";
                both([&](auto& d, auto&) {
                    d.SetCaret(2, 1);
                    d.InsertText(word);
                });
            } else if (command == "save") {
                both([](auto& d, auto&) { d.SetModified(false); });
            } else if (command == "undo" || command == "redo") {
                both([&](auto& d, auto&) {
                    if (command == "undo")
                        d.UndoEdit();
                    else
                        d.RedoEdit();
                });
            } else if (command == "undo all" || command == "redo all") {
                const bool undo = command == "undo all";
                int taken = 0;
                while (undo ? plain.CanUndo() : plain.CanRedo()) {
                    both([&](auto& d, auto&) {
                        if (undo)
                            d.UndoEdit();
                        else
                            d.RedoEdit();
                    });
                    const std::string diff = differences(*window, plain);
                    QVERIFY2(diff.empty(),
                             (where + " after " + std::to_string(++taken) + ":" + diff).c_str());
                }
            } else {
                QFAIL(qPrintable("no such step: " + command));
            }
            const std::string diff = differences(*window, plain);
            QVERIFY2(diff.empty(), (where + ":" + diff).c_str());
        }
    }

    // By the keys, as a user: typing, Add Spaces from the menu, more typing;
    // then Ctrl+Z takes back the typing, each changed line from the last,
    // then the first typing, and Ctrl+Y brings all back; the Undo and Redo
    // commands are enabled as there is something to take.
    void undoAndRedoKeysStepThroughARun() {
        // The commands follow the window once it is done with the key.
        auto enabled = [this](const char* name) {
            QCoreApplication::processEvents();
            return action(name)->isEnabled();
        };
        editor::TMDIChild* window =
            open("K.TAP", "G1X1\r\nG0 X2\r\nM3S1000\r\nG2X4Y5\r\nG1 X3\r\n");
        editor::EditorView* view = window->Editor1();
        const std::vector<std::string> original = linesOf(*window);
        view->setFocus();
        window->SetCaret(2, 6);
        QTest::keyClicks(view, " Y7");
        const std::vector<std::string> before = linesOf(*window);
        QVERIFY(before != original);
        whenShown([&] {
            commands().spacesDialog().findChild<QRadioButton*>("RBAdd")->setChecked(true);
            commands().spacesDialog().accept();
        });
        action("actionAddRemoveSpaces")->trigger();
        const std::vector<std::string> after = linesOf(*window);
        QCOMPARE(after.size(), before.size());
        std::vector<size_t> changed;
        for (size_t i = 0; i < after.size(); ++i)
            if (after[i] != before[i]) changed.push_back(i);
        QVERIFY(changed.size() > 1);
        view->setFocus();
        window->SetCaret(5, 1);
        QTest::keyClicks(view, "N9");
        const std::vector<std::string> last = linesOf(*window);

        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(linesOf(*window), after);
        std::vector<std::string> expected = after;
        for (size_t k = changed.size(); k-- > 0;) {
            QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
            expected[changed[k]] = before[changed[k]];
            QCOMPARE(linesOf(*window), expected);
            QVERIFY(enabled("actionRedo"));
        }
        QVERIFY(enabled("actionUndo"));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(linesOf(*window), original);
        QVERIFY(!enabled("actionUndo"));

        for (size_t k = 0; k <= changed.size(); ++k) {
            QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
            if (k > 0) expected[changed[k - 1]] = after[changed[k - 1]];
            QCOMPARE(linesOf(*window), k == 0 ? before : expected);
            QVERIFY(enabled("actionUndo"));
        }
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(linesOf(*window), last);
        QVERIFY(!enabled("actionRedo"));
    }

    void theBoxLetsEventsThroughOnTime() {
        std::chrono::milliseconds now{0};
        TProcessDlg box(nullptr, [&] { return std::chrono::steady_clock::duration(now); });
        box.begin("Removing Comments ...");
        QVERIFY(box.isVisible());
        QCOMPARE(box.caption(), QString("Removing Comments ..."));
        QCOMPARE(box.meter()->value(), 0);
        box.setPercent(37);
        QCOMPARE(box.meter()->text(), QString("37%"));
        bool handled = false;
        QTimer::singleShot(0, [&] { handled = true; });
        now = TProcessDlg::kEventInterval - std::chrono::milliseconds(1);
        box.keepAlive();
        QVERIFY(!handled);
        now = TProcessDlg::kEventInterval;
        box.keepAlive();
        QVERIFY(handled);
        QVERIFY(!box.cancelled());
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(box.cancelled());
        QVERIFY(box.isVisible());
        box.end();
        QVERIFY(!box.isVisible());
        box.begin("again");
        QVERIFY(!box.cancelled());
        box.end();
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::NcUtilityCommandsTest)
#include "nc_utility_commands_test.moc"
