#include "app/ui/search_commands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "editor/text_search.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/find_dialogs.h"
#include "editor/ui/jump_list_dialog.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

using editor::TextPosition;
using editor::TextSelection;

// The Search menu, its status-bar buttons and dialogs on editor windows.
class SearchCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    SearchCommands& commands() { return form->searchCommands(); }
    editor::TMDIChild* open(const std::string& text) {
        editor::TMDIChild* window = MainWindowFixture::open("PART.TAP", text);
        window->SetCaret(1, 1);
        commands().updateEnabling();
        return window;
    }
    static TextPosition start(const editor::TextDocument& doc) { return doc.GetSelection().start; }
    // `lines` lines with a tool change on every 1000th.
    static std::string longToolProgram(int lines) {
        std::string text;
        for (int n = 1; n <= lines; ++n)
            text += "N" + std::to_string(n) +
                    (n % 1000 == 0 ? " T" + std::to_string(n / 1000) : " G1 X1") + "\r\n";
        return text;
    }
    void findFromDialog(const QString& text, bool up = false) {
        commands().find();
        auto& dialog = commands().findDialog();
        dialog.setFindText(text);
        dialog.setSearchUp(up);
        child<QPushButton>(&dialog, "FindNextButton")->click();
    }

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=2\nMachine1=Mill\nMachine2=Lathe\n"
                           "[Mill]\n[Lathe]\nCMTSTART=;\nPROGID=:\n",
               .settings = "[GENERAL]\nCMACHINE=Mill\n"});
    }
    void cleanup() { tearDown(); }

    void menuEntriesHaveTheirKeysAndFollowTheWindow() {
        const struct {
            const char* name;
            const char* text;
            QKeySequence key;
        } entries[] = {
            {"actionFind", "&Find...", QKeySequence("Ctrl+F")},
            {"actionReplace", "&Replace...", QKeySequence("Ctrl+R")},
            {"actionFindNext", "Find &next", QKeySequence("F3")},
            {"actionFindNextTool", "Find Next -&T-", QKeySequence("Ctrl+T")},
            {"actionFindNextSpeed", "Find Next -&S-", QKeySequence("Ctrl+S")},
            {"actionFindNextFeed", "Fin&d Next -F-", QKeySequence("Ctrl+E")},
            {"actionFindNextComment", "Find Next &Comment", QKeySequence("Ctrl+M")},
            {"actionJumpToSubprogram", "Jump To Su&bprogram", QKeySequence("Ctrl+B")},
            {"actionJumpToTool", "&Jump To Tool", QKeySequence("Ctrl+J")},
            {"actionGoToLine", "&Go to line...", QKeySequence("F4")},
            {"actionGotoTop", "Goto T&op", QKeySequence()},
            {"actionGotoBottom", "Goto &Bottom", QKeySequence()},
        };
        QMenu* menu = commands().menu();
        QCOMPARE(menu->title(), QString("&Search"));
        QCOMPARE(menu->actions().size(), qsizetype(std::size(entries)));
        for (size_t i = 0; i < std::size(entries); ++i) {
            QAction* a = menu->actions()[qsizetype(i)];
            QCOMPARE(a->objectName(), QString(entries[i].name));
            QCOMPARE(a->text(), QString(entries[i].text));
            QCOMPARE(a->shortcut(), entries[i].key);
            QVERIFY2(!a->isEnabled(), entries[i].name);
        }
        open("N10 T1\r\n");
        for (const auto& entry : entries)
            QCOMPARE(action(entry.name)->isEnabled(), entry.name != std::string("actionFindNext"));
        findFromDialog("T1");
        QVERIFY(action("actionFindNext")->isEnabled());
        QVERIFY(action("contextFindNext")->isEnabled());
        QList<QString> letters;
        for (auto* b : form->statusBar()->findChildren<QToolButton*>())
            if (b->objectName().startsWith("status")) letters << b->text();
        QCOMPARE(letters, (QList<QString>{"T", "S", "F", "C", "J", "B"}));
    }

    void findDialogSearchesAndClosesAndFindNextRepeatsUpwards() {
        editor::TMDIChild* w = open("G1 X1\r\nG2 X2\r\nG1 X3\r\nG1 X4\r\n");
        w->SetCaret(3, 4);
        findFromDialog("g1", true);
        QVERIFY(!commands().findDialog().isVisible());
        QCOMPARE(start(*w), (TextPosition{3, 1}));
        QVERIFY(commands().options().backward);
        action("actionFindNext")->trigger();
        QCOMPARE(start(*w), (TextPosition{1, 1}));
        QVERIFY(ui->messages.empty());
        action("contextFindNext")->trigger();
        QCOMPARE(ui->texts(), (std::vector<std::string>{"Search string 'g1' not found"}));
        QCOMPARE(start(*w), (TextPosition{1, 1}));  // no wrap-around
        commands().find();
        QCOMPARE(commands().findDialog().pos(), QPoint(150, 150));
        // The history offers the text again.
        QCOMPARE(commands().findDialog().textBox()->itemText(0), QString("g1"));
    }

    void findDialogOptionsMatchCaseAndWholeWord() {
        editor::TMDIChild* w = open("G10 g1 G1\r\n");
        commands().find();
        child<QCheckBox>(&commands().findDialog(), "MatchCase")->setChecked(true);
        child<QCheckBox>(&commands().findDialog(), "WholeWord")->setChecked(true);
        findFromDialog("G1");
        QCOMPARE(start(*w), (TextPosition{1, 8}));
        child<QCheckBox>(&commands().findDialog(), "MatchCase")->setChecked(false);
        child<QCheckBox>(&commands().findDialog(), "WholeWord")->setChecked(false);
    }

    void replaceAndReplaceAllUndoOneByOne() {
        editor::TMDIChild* w = open("G1 X1\r\nG1 X2\r\nG1 X3\r\nG1 X4\r\n");
        commands().replace();
        auto& dialog = commands().replaceDialog();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.pos(), QPoint(150, 150));
        dialog.setFindText("G1");
        dialog.setReplacement("G01");
        child<QPushButton>(&dialog, "FindNextButton")->click();
        QVERIFY(dialog.isVisible());  // a search from Replace leaves it open
        QCOMPARE(start(*w), (TextPosition{1, 1}));
        child<QPushButton>(&dialog, "ReplaceButton")->click();
        QCOMPARE(paragraphs(*w), std::string("G01 X1|G1 X2|G1 X3|G1 X4|"));
        QCOMPARE(start(*w), (TextPosition{2, 1}));
        child<QPushButton>(&dialog, "ReplaceAllButton")->click();
        QCOMPARE(paragraphs(*w), std::string("G01 X1|G01 X2|G01 X3|G01 X4|"));
        QVERIFY(ui->messages.empty());
        QCOMPARE(commands().findText(), std::string("G1"));  // the Find dialog takes the text
        w->UndoEdit();
        QCOMPARE(paragraphs(*w), std::string("G01 X1|G01 X2|G01 X3|G1 X4|"));
        w->UndoEdit();
        w->UndoEdit();
        QCOMPARE(paragraphs(*w), std::string("G01 X1|G1 X2|G1 X3|G1 X4|"));
        w->UndoEdit();
        QCOMPARE(paragraphs(*w), std::string("G1 X1|G1 X2|G1 X3|G1 X4|"));

        w->SetCaret(1, 1);
        dialog.setFindText("M30");
        child<QPushButton>(&dialog, "ReplaceAllButton")->click();
        QCOMPARE(ui->texts(), (std::vector<std::string>{"Search string 'M30' not found"}));
        QCOMPARE(paragraphs(*w), std::string("G1 X1|G1 X2|G1 X3|G1 X4|"));
    }

    void ncFindsTakeTheLetterAnywhereAndF3RepeatsThem() {
        editor::TMDIChild* w = open("N10 G0 X1\r\nN20 (tool) S500\r\nN30 F100 S600\r\nN40 F2\r\n");
        action("actionFindNextTool")->trigger();
        QCOMPARE(start(*w), (TextPosition{2, 6}));
        QCOMPARE(commands().findText(), std::string("T"));
        action("actionFindNextFeed")->trigger();
        QCOMPARE(start(*w), (TextPosition{3, 5}));
        action("actionFindNext")->trigger();
        QCOMPARE(start(*w), (TextPosition{4, 5}));
        w->SetCaret(1, 1);
        action("actionFindNextComment")->trigger();
        QCOMPARE(start(*w), (TextPosition{2, 5}));
        w->SetCaret(3, 1);
        action("actionFindNextTool")->trigger();
        QCOMPARE(ui->texts(), (std::vector<std::string>{"Search string 'T' not found"}));
    }

    void ctrlSFindsTheNextSpeedAndNeverSaves() {
        editor::TMDIChild* w = open("N10 G0\r\nN20 S500\r\n");
        w->SetCaret(1, 3);
        w->InsertText("1");  // modified, so a save would show
        form->activateWindow();
        w->FocusEditor();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(w->CurrentView(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(start(*w), (TextPosition{2, 5}));
        QVERIFY(w->Modified());
        QCOMPARE(paragraphs(*w), std::string("N110 G0|N20 S500|"));
    }

    void searchKeysReachTheCommandsFromTheEditor() {
        // The editor control has keys of its own (Ctrl+T swaps lines); the
        // Search menu's keys must win over them.
        editor::TMDIChild* w = open("N10 G0\r\nN20 T1 S5 F9 (C)\r\nO100\r\nN30 G1\r\n");
        form->activateWindow();
        w->FocusEditor();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const struct {
            Qt::Key key;
            TextPosition found;
        } keys[] = {
            {Qt::Key_T, {2, 5}}, {Qt::Key_S, {2, 8}}, {Qt::Key_E, {2, 11}}, {Qt::Key_M, {2, 14}}};
        for (const auto& k : keys) {
            QTest::keyClick(w->CurrentView(), k.key, Qt::ControlModifier);
            QCOMPARE(start(*w), k.found);
        }
        QTest::keyClick(w->CurrentView(), Qt::Key_F3);
        QVERIFY(!ui->messages.empty());  // no second comment: told so
        ui->messages.clear();
        QTimer::singleShot(0, [&] { commands().jumpDialog().accept(); });
        QTest::keyClick(w->CurrentView(), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(w->Caret(), (TextPosition{2, 1}));
        // The closed dialog gives the window back.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        w->FocusEditor();
        QTRY_VERIFY(w->CurrentView()->hasFocus());
        QString title;
        QTimer::singleShot(0, [&] {
            title = commands().jumpDialog().windowTitle();
            commands().jumpDialog().accept();
        });
        QTest::keyClick(w->CurrentView(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(title, QString("Jump to Sub-Program"));
        QCOMPARE(w->Caret(), (TextPosition{3, 1}));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        w->FocusEditor();
        QTRY_VERIFY(w->CurrentView()->hasFocus());
        ui->inputs = {"4"};
        QTest::keyClick(w->CurrentView(), Qt::Key_F4);
        QCOMPARE(w->Caret(), (TextPosition{4, 1}));
        QCOMPARE(paragraphs(*w), std::string("N10 G0|N20 T1 S5 F9 (C)|O100|N30 G1|"));
        QVERIFY(!w->Modified());
    }

    void commentSearchUsesTheMachinesCommentStart() {
        const auto& names = session->selector.entries();
        session->machineSelected(
            int(std::find(names.begin(), names.end(), "Lathe") - names.begin()));
        QCOMPARE(session->state.CurrentSettings.Format.CommentStart, std::string(";"));
        editor::TMDIChild* w = open("N10 (NOT) G0\r\nN20 ;REAL\r\n");
        action("actionFindNextComment")->trigger();
        QCOMPARE(start(*w), (TextPosition{2, 5}));
        QCOMPARE(commands().findText(), std::string(";"));
    }

    void jumpToToolListsToolLinesAndMovesToTheChosenOne() {
        editor::TMDIChild* w = open(
            "O1000 (MAIN)\r\nN10 T01 M06 (FACE MILL)\r\n(T02 ROUGH) T02 M06\r\nN20 G0\r\n"
            "N30 T3 (t)\r\n");
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto& dialog = commands().jumpDialog();
            for (int i = 0; i < dialog.list()->count(); ++i)
                shown << dialog.list()->item(i)->text();
            QCOMPARE(dialog.windowTitle(), QString("Jump to Tool"));
            dialog.list()->setCurrentRow(1);
            dialog.accept();
        });
        child<QToolButton>(form->statusBar(), "statusJumpToToolButton")->click();
        QCOMPARE(shown, (QStringList{"N10 T01 M06 (FACE MILL)", "N30 T3 (t)"}));
        QCOMPARE(w->Caret(), (TextPosition{5, 1}));

        QTimer::singleShot(0, [&] {
            auto& dialog = commands().jumpDialog();
            QCOMPARE(dialog.windowTitle(), QString("Jump to Sub-Program"));
            QCOMPARE(dialog.list()->count(), 1);
            QCOMPARE(dialog.list()->item(0)->text(), QString("O1000 (MAIN)"));
            dialog.reject();
        });
        action("actionJumpToSubprogram")->trigger();
        QCOMPARE(w->Caret(), (TextPosition{5, 1}));  // Cancel moves nothing

        // A double-click chooses the line.
        QTimer::singleShot(0, [&] {
            auto* list = commands().jumpDialog().list();
            emit list->itemDoubleClicked(list->item(0));
        });
        action("actionJumpToTool")->trigger();
        QCOMPARE(w->Caret(), (TextPosition{2, 1}));
    }

    void jumpDialogHelpOpensItsContext() {
        int context = 0;
        connect(&commands().jumpDialog(), &editor::JumpListDialog::helpRequested, this,
                [&](int c) { context = c; });
        child<QPushButton>(&commands().jumpDialog(), "HelpButton")->click();
        QCOMPARE(context, 10024);
    }

    void aLongJumpListShowsHowFarTheReadingGot() {
        const int lines = 30000;
        editor::TMDIChild* w = open(longToolProgram(lines));
        commands().setSlowSearchThreshold(std::chrono::milliseconds(0));
        editor::JumpListDialog& dialog = commands().jumpDialog();
        struct Sample {
            bool shown;
            bool reading;
            int line;
            int lineCount;
            QString text;
            bool buttons;
            int busy;
        };
        std::vector<Sample> samples;
        // Looks at the dialog whenever the reading lets events through, and
        // takes the last tool once the list is up.
        std::function<void()> look = [&] {
            const bool reading = !dialog.progressBar()->isHidden();
            samples.push_back({dialog.isVisible(), reading, dialog.progressBar()->value(),
                               dialog.progressBar()->maximum(), dialog.progressLabel()->text(),
                               child<QPushButton>(&dialog, "HelpButton")->isEnabled(),
                               ui->busyDepth});
            if (dialog.isVisible() && !reading) {
                dialog.list()->setCurrentRow(dialog.list()->count() - 1);
                dialog.accept();
                return;
            }
            QMetaObject::invokeMethod(this, look, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(this, look, Qt::QueuedConnection);
        action("actionJumpToTool")->trigger();

        QVERIFY(samples.size() > 2);
        // The first look comes at the first question: busy, nothing shown yet.
        QVERIFY(!samples.front().shown);
        QCOMPARE(samples.front().busy, 1);
        std::vector<int> progress;
        for (const Sample& s : samples) {
            if (!s.reading) continue;
            QVERIFY(s.shown);
            QVERIFY(!s.buttons);
            QCOMPARE(s.busy, 1);
            QCOMPARE(s.lineCount, w->LineCount());
            QCOMPARE(
                s.text,
                QString("Reading line %1 of %2 ... Esc stops").arg(s.line).arg(w->LineCount()));
            progress.push_back(s.line);
        }
        std::vector<int> expected;
        for (int line = 2 * editor::kParagraphsPerWatch; line <= lines;
             line += editor::kParagraphsPerWatch)
            expected.push_back(line);
        QCOMPARE(progress, expected);
        const Sample& last = samples.back();
        QVERIFY(last.shown && last.buttons);
        QCOMPARE(last.busy, 0);
        QCOMPARE(dialog.list()->count(), lines / 1000);
        QCOMPARE(w->Caret(), (TextPosition{lines, 1}));
        QVERIFY(!dialog.isVisible());
    }

    void escapeStopsReadingALongJumpList() {
        editor::TMDIChild* w = open(longToolProgram(30000));
        w->SetCaret(5, 1);
        commands().setSlowSearchThreshold(std::chrono::milliseconds(0));
        QCoreApplication::postEvent(
            w->CurrentView(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        action("actionJumpToTool")->trigger();
        QVERIFY(!commands().jumpDialog().isVisible());
        QCOMPARE(w->Caret(), (TextPosition{5, 1}));
        QCOMPARE(ui->busyDepth, 0);
        QVERIFY(ui->messages.empty());
    }

    void goToLineMovesOnlyToLinesThatExist() {
        editor::TMDIChild* w = open("A\r\nB\r\nC\r\nD\r\n");
        ui->inputs = {"3", "0", "abc", "99", std::nullopt};
        for (int i = 0; i < 5; ++i) action("actionGoToLine")->trigger();
        QCOMPARE(w->Caret(), (TextPosition{3, 1}));
        QCOMPARE(ui->prompts.front(),
                 "Enter Line Number (1 to " + std::to_string(w->LineCount()) + ")");
        QCOMPARE(w->LineCount(), 4);
        QVERIFY(ui->messages.empty());
        action("actionGotoBottom")->trigger();
        QCOMPARE(w->Caret(), (TextPosition{4, 1}));
        action("actionGotoTop")->trigger();
        QCOMPARE(w->Caret(), (TextPosition{1, 1}));
    }

    void escapeStopsALongSearchWithoutAMessage() {
        std::string text;
        for (int n = 0; n < 30000; ++n) text += "N" + std::to_string(n) + " G1 X1\r\n";
        text += "M30\r\n";
        editor::TMDIChild* w = open(text);
        commands().setSlowSearchThreshold(std::chrono::milliseconds(0));
        QKeyEvent* escape = new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::postEvent(w->CurrentView(), escape);
        findFromDialog("M30");
        QVERIFY(ui->messages.empty());
        QCOMPARE(w->Caret(), (TextPosition{1, 1}));
        QCOMPARE(ui->busyDepth, 0);  // the busy cursor was taken back
        action("actionFindNext")->trigger();
        QCOMPARE(start(*w), (TextPosition{30001, 1}));  // without Esc it runs to the match
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::SearchCommandsTest)
#include "search_commands_test.moc"
