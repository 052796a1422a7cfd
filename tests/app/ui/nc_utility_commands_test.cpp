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
#include <memory>

#include "app/ui/main_form.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
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
