#include "app/ui/insert_commands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/ui/insert_dialogs.h"
#include "app/ui/macro_dialog.h"
#include "app/ui/main_form.h"
#include "bmacro/ui/expression_field.h"
#include "core/file_io.h"
#include "core/ini_store.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

using editor::TextPosition;

// The Insert menu's commands and dialogs on editor windows.
class InsertCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    InsertCommands& commands() { return form->insertCommands(); }
    editor::TMDIChild* open(const std::string& text) {
        return MainWindowFixture::open("PART.TAP", text);
    }
    // The document after one undo gives back `before`: the insertion was one step.
    static void undoneIs(editor::TMDIChild& w, const std::string& before) {
        w.UndoEdit();
        QCOMPARE(paragraphs(w), before);
    }
    std::string database() { return readFileBytes(dir->path() + "/WPOSTS.INI"); }

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=1\nMachine1=Mill\n"
                           "[Mill]\nCMTSTART=(\nCMTEND=)\nM1N=Rapid\nM1L1=G00 X# Y#\n"
                           "M2N=Part\nM2L1=(PART ##4)\nM2L2=M30\n",
               .settings = "[GENERAL]\nCMACHINE=Mill\n"});
    }
    void cleanup() { tearDown(); }

    void menuHoldsTheCommandsInOrder() {
        QStringList texts;
        for (QAction* a : commands().menu()->actions()) texts << a->text();
        QCOMPARE(texts, (QStringList{"&Expression", "&File", "&NC-Code macro", "&Special Character",
                                     "&Date / Time", "C&urrent File Name", "&Comment"}));
        QCOMPARE(commands().menu()->title(), QString("&Insert"));
        QCOMPARE(action("actionInsertMacro")->shortcut(), QKeySequence("Ctrl+I"));
    }

    void commandsNeedAWindowButExpression() {
        for (const char* name :
             {"actionInsertFile", "actionInsertMacro", "actionInsertSpecialCharacter",
              "actionInsertDateTime", "actionInsertFileName", "actionInsertComment"})
            action(name)->trigger();
        QCOMPARE(ui->texts(), (std::vector<std::string>(
                                  6, "No File Currently Loaded\r\nSelect File Open/New First")));
        bool shown = false;
        whenShown([&] {
            shown = commands().expressionDialog().isVisible();
            commands().expressionDialog().field()->setText("2*3");
            commands().expressionDialog().accept();
        });
        action("actionInsertExpression")->trigger();
        QVERIFY(shown);
        QCOMPARE(ui->texts().size(), size_t(6));
    }

    void expressionIsEvaluatedAndWrittenInTheMachineFormat() {
        editor::TMDIChild* w = open("N10 X\r\n");
        w->SetCaret(1, 6);
        whenShown([&] {
            commands().expressionDialog().field()->setText("2+23/64-.002");
            commands().expressionDialog().accept();
        });
        action("actionInsertExpression")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10 X2.3574|"));
        QVERIFY(ui->messages.empty());
        undoneIs(*w, "N10 X|");

        // A wrong expression is told and keeps the dialog up.
        whenShown([&] {
            auto& dialog = commands().expressionDialog();
            dialog.field()->setText("2+");
            dialog.accept();
            QVERIFY(dialog.isVisible());
            dialog.reject();
        });
        action("actionInsertExpression")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10 X|"));
        QCOMPARE(ui->messages.size(), size_t(1));
    }

    void insertFileInsertsTheLinesAndGoesToTheTop() {
        editor::TMDIChild* w = open("");
        ui->openedFiles.push_back({dir->write("TWO.TAP", "G0 X1\nM30")});
        action("actionInsertFile")->trigger();
        QCOMPARE(paragraphs(*w), std::string("G0 X1|M30||"));
        QCOMPARE(w->Caret(), (TextPosition{1, 1}));
        QCOMPARE(ui->fileRequests.back().defaultSuffix, std::string("TAP"));
        QVERIFY(ui->fileRequests.back().multiple);
        undoneIs(*w, "");

        // A file that cannot be read is told; the ones read before it stay.
        ui->openedFiles.push_back({dir->write("ONE.TAP", "T1\r\n"), dir->path() + "/MISSING.TAP"});
        action("actionInsertFile")->trigger();
        QCOMPARE(paragraphs(*w), std::string("T1||"));
        QCOMPARE(ui->texts(), (std::vector<std::string>{"No such file or directory"}));
    }

    void macroPromptsForRegistersAndInsertsTheLines() {
        editor::TMDIChild* w = open("N10\r\nM30\r\n");
        w->SetCaret(2, 1);
        ui->inputs = {"1.5", "2"};
        whenShown([&] {
            auto& dialog = commands().macroDialog();
            QCOMPARE(dialog.list()->count(), 2);
            QCOMPARE(child<QLabel>(&dialog, "MachineName")->text(), QString("Mill"));
            dialog.list()->setCurrentRow(0);
            QCOMPARE(dialog.contents()->toPlainText(), QString("G00 X# Y#"));
            dialog.accept();
        });
        action("actionInsertMacro")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10|G00 X1.5 Y2|M30|"));
        QCOMPARE(ui->prompts, (std::vector<std::string>{"Enter Setting for Register -X-",
                                                        "Enter Setting for Register -Y-"}));
        undoneIs(*w, "N10|M30|");

        whenShown([&] {
            commands().macroDialog().list()->setCurrentRow(1);
            commands().macroDialog().accept();
        });
        action("actionInsertMacro")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10|(PART #4)|M30|M30|"));
        QCOMPARE(ui->prompts.size(), size_t(2));

        // OK without a selected macro is Cancel.
        whenShown([&] { commands().macroDialog().accept(); });
        action("actionInsertMacro")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10|(PART #4)|M30|M30|"));
    }

    void macrosAreAddedRenamedSavedAndDeleted() {
        open("N10\r\n");
        ui->inputs = {std::nullopt, std::nullopt, std::string("Drill")};
        ui->answers = {Answer::Yes};
        whenShown([&] {
            auto& dialog = commands().macroDialog();
            // Two new macros of the proposed name get names of their own.
            dialog.addMacro();
            dialog.contents()->setPlainText("G81 Z#");
            dialog.addMacro();
            dialog.contents()->setPlainText("G83 Z#");
            QVERIFY(dialog.saveCurrent());
            QCOMPARE(dialog.currentName(), std::string("New Macro 2"));
            // Renaming saves under the new name.
            dialog.editName();
            // Deleting the first macro frees slot 1.
            dialog.list()->setCurrentRow(0);
            dialog.deleteMacro();
            QCOMPARE(dialog.list()->count(), 3);
            QVERIFY(dialog.contents()->toPlainText().isEmpty());
            dialog.reject();
        });
        action("actionInsertMacro")->trigger();
        IniStore::clearCache();
        const auto file = IniStore::read(dir->path() + "/WPOSTS.INI");
        std::vector<std::string> names;
        for (int n = 1; n <= 4; ++n)
            names.push_back(file->readString("Mill", "M" + std::to_string(n) + "N", "-"));
        QCOMPARE(names, (std::vector<std::string>{"-", "Part", "New Macro", "Drill"}));
        QCOMPARE(file->readString("Mill", "M4L1", ""), std::string("G83 Z#"));
        QCOMPARE(file->readString("Mill", "CMTSTART", ""), std::string("("));
        QCOMPARE(ui->prompts,
                 (std::vector<std::string>{"NC-code macros", "NC-code macros", "NC-Code Macros"}));
        QCOMPARE(ui->texts(), (std::vector<std::string>{"Delete Current Macro ?"}));
    }

    void specialCharacterFromTheTableOrTheControlList() {
        editor::TMDIChild* w = open("N10\r\n");
        w->SetCaret(1, 4);
        whenShown([&] {
            auto& dialog = commands().specialCharacterDialog();
            dialog.table()->setCurrentCell(1, 1);
            QCOMPARE(dialog.codeText(), QString("Chr = 65"));
            dialog.accept();
        });
        action("actionInsertSpecialCharacter")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10A|"));
        undoneIs(*w, "N10|");

        whenShown([&] {
            auto& dialog = commands().specialCharacterDialog();
            dialog.controlList()->setCurrentIndex(27);
            emit dialog.controlList()->activated(27);
            QCOMPARE(dialog.codeText(), QString("Chr = 27"));
            QCOMPARE(dialog.controlList()->itemText(1), QString("Ctrl - A"));
            dialog.accept();
        });
        action("actionInsertSpecialCharacter")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10\x1b|"));

        whenShown([&] {
            auto& dialog = commands().specialCharacterDialog();
            emit dialog.controlList()->activated(0);
            dialog.accept();
        });
        action("actionInsertSpecialCharacter")->trigger();
        QCOMPARE(paragraphs(*w), std::string("N10\x1b|"));
    }

    void dateTimeAndFileName() {
        editor::TMDIChild* w = open("");
        const QDateTime when(QDate(2026, 12, 11), QTime(6, 5, 9));
        commands().now = [when] { return when; };
        action("actionInsertDateTime")->trigger();
        QCOMPARE(paragraphs(*w),
                 insertedDateTime(when, QLocale::system()).toLatin1().toStdString() + "|");
        undoneIs(*w, "");
        action("actionInsertFileName")->trigger();
        QCOMPARE(paragraphs(*w), w->FileName() + "|");
        QVERIFY(w->FileName().ends_with("/PART.TAP"));
    }

    void dateTimeLeavesTheTimeOutAtMidnight() {
        const QLocale c = QLocale::c();
        const QDate day(2026, 12, 11);
        QCOMPARE(insertedDateTime(QDateTime(day, QTime(0, 0, 0)), c),
                 c.toString(day, QLocale::ShortFormat));
        QCOMPARE(insertedDateTime(QDateTime(day, QTime(0, 0, 1)), c),
                 c.toString(day, QLocale::ShortFormat) + " " +
                     c.toString(QTime(0, 0, 1), QLocale::LongFormat));
    }

    void commentTakesTheMachinesMarksAndKeepsTheText() {
        editor::TMDIChild* w = open("");
        whenShown([&] {
            auto& dialog = commands().commentDialog();
            QCOMPARE(dialog.startField()->text(), QString("("));
            QCOMPARE(dialog.endField()->text(), QString(")"));
            dialog.commentField()->setText("ROUGH");
            dialog.accept();
        });
        action("actionInsertComment")->trigger();
        QCOMPARE(paragraphs(*w), std::string("(ROUGH)|"));
        whenShown([&] {
            auto& dialog = commands().commentDialog();
            QCOMPARE(dialog.commentField()->text(), QString("ROUGH"));
            dialog.startField()->setText(";");
            dialog.endField()->setText("");
            dialog.accept();
        });
        action("actionInsertComment")->trigger();
        QCOMPARE(paragraphs(*w), std::string("(ROUGH);ROUGH|"));
        whenShown([&] {
            QCOMPARE(commands().commentDialog().startField()->text(), QString("("));
            commands().commentDialog().reject();
        });
        action("actionInsertComment")->trigger();
    }

    void helpButtonsGiveTheirContexts() {
        QList<int> contexts;
        auto record = [&](int c) { contexts << c; };
        connect(&commands().macroDialog(), &MacroDialog::helpRequested, this, record);
        connect(&commands().expressionDialog(), &InsertExpressionDialog::helpRequested, this,
                record);
        connect(&commands().specialCharacterDialog(), &SpecialCharacterDialog::helpRequested, this,
                record);
        connect(&commands().commentDialog(), &InsertCommentDialog::helpRequested, this, record);
        for (QDialog* d : std::initializer_list<QDialog*>{
                 &commands().macroDialog(), &commands().expressionDialog(),
                 &commands().specialCharacterDialog(), &commands().commentDialog()})
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text().remove('&') == "Help") b->click();
        QCOMPARE(contexts, (QList<int>{100, 101, 102, 103}));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::InsertCommandsTest)
#include "insert_commands_test.moc"
