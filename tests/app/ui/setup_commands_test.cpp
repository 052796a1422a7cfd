#include "app/ui/setup_commands.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/nc_utility_commands.h"
#include "app/ui/settings_dialog.h"
#include "dnc/simulator/pty_pair.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "machines/ui/setup_dialog.h"
#include "machines/ui/setup_pages.h"
#include "main_window_fixture.h"
#include "nctools/ui/make_columns_dialog.h"
#include "nctools/ui/reformat_dialog.h"
#include "session/app_session.h"

namespace zantor {

using Texts = std::vector<std::string>;

// The Setup menu's Properties and Machine/DNC Setup in the main window.
class SetupCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    SetupCommands& commands() { return *form->findChild<SetupCommands*>(); }
    TZtrSettingsDlg& properties() { return commands().propertiesDialog(); }
    RunState& state() { return session->state; }

    // A Mill whose reformat and column defaults differ from the built-in ones
    // and whose folders exist.
    void writeMillWithUtilityDefaults() {
        const std::string folders =
            "DEFUPL=" + dir->path() + "\nDEFDNL=" + dir->path() + "\nDIRLS=" + dir->path() + "\n";
        dir->write("WPOSTS.INI",
                   "[Machine Names]\nNumber=3\nMachine1=Mill\nMachine2=Lathe\nMachine3=router\n"
                   "[Lathe]\nMTYPE=2\n"
                   "[Mill]\nMCREGORDER=NXYZ\nMCTABW=8\nRFBCGHG=0\nRFREGS=XZ\nNmname=Lathe\n"
                   "RFSUBO1=M6\nRFSUBN1=M06\n" +
                       folders);
    }
    MachineSettings savedMachine(const std::string& name) {
        MachineSettings saved;
        FolderFlags flags;
        session->machines.LoadMachine(name, saved, flags);
        return saved;
    }
    // Opens the setup dialog on the current machine, clicks the button of a
    // utility and hands its modal dialog to `edit`; then closes the setup
    // dialog with OK. `modified` is whether the setup dialog took an edit.
    void editUtilityInSetup(TZTRSetupDlg::UtilityKind kind, std::function<void(QDialog&)> edit,
                            bool* modified = nullptr) {
        whenShown([this, kind, edit, modified] {
            TZTRSetupDlg& d = commands().setupDialog();
            whenShown([edit] {
                auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(modal);
                edit(*modal);
            });
            d.pages->utilityButtons[kind]->click();
            if (modified) *modified = d.SettingsModified;
            d.accept();
        });
        action("actionMachineSetup")->trigger();
        QVERIFY(!commands().setupDialog().isVisible());
    }

private slots:
    void init() {
        makeFolder(
            {.machines =
                 "[Machine Names]\nNumber=2\nMachine1=Mill\nMachine2=Lathe\n[Lathe]\nMTYPE=2\n",
             .settings = "[GENERAL]\nCMACHINE=Mill\n"});
        qputenv("HOME", QByteArray::fromStdString(dir->path()));
        openWindow();
    }
    void cleanup() { tearDown(); }

    void theSetupMenuListsItsEntriesInOrder() {
        QStringList captions;
        for (QAction* a : form->setupMenu()->actions()) captions << a->text();
        QCOMPARE(captions,
                 (QStringList{"Properties", "&Machine/DNC Setup...", "Password Manager"}));
    }

    void propertiesShowTheSettingsAndTheirEnabling() {
        state().Settings.ShowSyntax = false;
        state().Settings.WordWrap = true;
        state().Settings.PrettyPrint = false;
        state().DtrDelayTicks = 36;
        TZtrSettingsDlg& d = properties();
        d.show();
        QCOMPARE(d.windowTitle(), QString("Zantor Pro 2013 Properties"));
        QCOMPARE(d.margins[0]->text(), QString("1.00000"));
        QCOMPARE(d.margins[2]->text(), QString("0.50000"));
        QCOMPARE(d.dtrDelay->value(), 2);
        QCOMPARE(d.colourGroup->title(), QString("Disabled"));
        QVERIFY(!d.syntaxColours[0]->isEnabled());
        QVERIFY(!d.colorPrint->isEnabled());
        QVERIFY(d.wrapToWindow->isEnabled());
        QCOMPARE(d.syntaxColours[1]->currentText(), QString("Blue"));
        QCOMPARE(d.backgroundColour->currentText(), QString("White"));
        // The two wrap choices exclude each other; the column needs its own.
        d.wrapToColumn->click();
        QVERIFY(!d.wrapToWindow->isChecked());
        QVERIFY(d.wrapColumn->isEnabled());
        d.wrapToWindow->click();
        QVERIFY(!d.wrapToColumn->isChecked());
        QVERIFY(!d.wrapColumn->isEnabled());
        d.showSyntax->click();
        QCOMPARE(d.colourGroup->title(), QString("Syntax Highlight Colors"));
        QVERIFY(d.syntaxColours[0]->isEnabled());
        d.reject();
    }

    void okTakesEveryControlIntoTheSettings() {
        TZtrSettingsDlg& d = properties();
        d.show();
        d.margins[0]->setText("2/4");
        emit d.margins[0]->editingFinished();
        QCOMPARE(d.margins[0]->text(), QString("0.50000"));
        d.tabSize->setValue(4);
        d.tabTypes[2]->setChecked(true);
        d.syntaxColours[0]->setCurrentText("Red");
        d.backgroundColour->setCurrentText("Yellow");
        d.useSecure->setChecked(true);
        d.commentStart->setText(";");
        d.receiveBuffer->setValue(8192);
        d.comOpenDelay->setValue(3);
        d.wordStar->setChecked(true);
        d.analyzer->setText(" /opt/analyzer/run ");
        d.accept();
        const AppSettings& s = state().Settings;
        QCOMPARE(s.MarginLeft, 0.5);
        QCOMPARE(s.TabSize, 4);
        QCOMPARE(s.TabType, 2);
        QCOMPARE(s.AlphaColor, 255);
        QCOMPARE(s.EditorColor, 65535);
        QVERIFY(s.UseSecure);
        QCOMPARE(s.LineCommentChar, std::string(";"));
        QCOMPARE(s.ComInSize, 8192);
        QCOMPARE(state().ComOpenDelayTicks, 54);
        QVERIFY(s.WordStar);
        QCOMPARE(s.Analyzer, std::string("/opt/analyzer/run"));
        QVERIFY(ui->messages.empty());
    }

    void aMarginThatLeavesNoRoomKeepsTheDialogOpen() {
        TZtrSettingsDlg& d = properties();
        d.show();
        d.margins[1]->setText("6");
        d.accept();
        QVERIFY(d.isVisible());
        QCOMPARE(ui->texts(), (Texts{"Bad value \"6.00000\" for PMARGINT: a margin from 0 to 5 "
                                     "inches leaves room for a printed line."}));
        QCOMPARE(state().Settings.MarginTop, 0.5);
        d.margins[1]->setText("0.75");
        d.accept();
        QVERIFY(!d.isVisible());
        QCOMPARE(state().Settings.MarginTop, 0.75);
    }

    void propertiesApplyToEveryOpenEditorAndSwitchWordStar() {
        form->workspace().OpenEditorWindow(dir->write("A.TAP", "N1\nN2\nN3\n"), true);
        form->workspace().OpenEditorWindow(dir->write("B.TAP", "N1\n"), true);
        editor::EditorView* a = form->workspace().editorWindows()[0]->Editor1();
        editor::EditorView* b = form->workspace().editorWindows()[1]->Editor1();
        whenShown([this] {
            properties().tabSize->setValue(3);
            properties().wordStar->setChecked(true);
            properties().accept();
        });
        action("actionProperties")->trigger();
        for (editor::EditorView* view : {a, b})
            QCOMPARE(int(view->SendScintilla(QsciScintilla::SCI_GETTABWIDTH)), 3);
        a->setFocus();
        a->setCursorPosition(0, 0);
        QTest::keyClick(a, Qt::Key_X, Qt::ControlModifier);
        int line = -1, index = -1;
        a->getCursorPosition(&line, &index);
        QCOMPARE(line, 1);
        // Off again: Ctrl+X no longer moves the caret.
        whenShown([this] {
            properties().wordStar->setChecked(false);
            properties().accept();
        });
        action("actionProperties")->trigger();
        a->setCursorPosition(0, 0);
        QTest::keyClick(a, Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(a, Qt::Key_X, Qt::ControlModifier);
        a->getCursorPosition(&line, &index);
        QCOMPARE(line, 0);
    }

    void machineSetupLogsAndRefillsTheSelectorOnOk() {
        dir->write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Mill\nLOGGING=1\n");
        session->log.LoggingEnabled = true;
        whenShown([this] {
            TZTRSetupDlg& d = commands().setupDialog();
            ui->inputs = {std::string("Okuma")};
            ui->answers = {};
            d.Mnamebox->setCurrentIndex(d.Mnamebox->findText("Lathe"));
            emit d.Mnamebox->activated(d.Mnamebox->currentIndex());
            d.accept();
        });
        action("actionMachineSetup")->trigger();
        QCOMPARE(form->machineBox()->currentText(), QString("Lathe"));
        QCOMPARE(state().CurrentMachine, std::string("Lathe"));
        QVERIFY(dir->read("ZTRDNC.LOG").find(",Modify System Settings\n") != std::string::npos);
    }

    void aColourOutsideTheListIsShownAndKept() {
        state().Settings.CommentColor = 0x123456;
        TZtrSettingsDlg& d = properties();
        d.show();
        QCOMPARE(d.syntaxColours[2]->currentText(), QString("RGB 86, 52, 18"));
        QCOMPARE(d.syntaxColours[2]->itemText(d.syntaxColours[2]->count() - 1),
                 QString("Other..."));
        d.accept();
        QCOMPARE(state().Settings.CommentColor, 0x123456);
    }

    void utilityDefaultsAreEditedInTheUtilityDialogItself() {
        whenShown([this] {
            TZTRSetupDlg& d = commands().setupDialog();
            for (QLineEdit* folder : d.pages->folders)
                folder->setText(QString::fromStdString(dir->path()));
            whenShown([this] {
                QWidget* modal = QApplication::activeModalWidget();
                QVERIFY(modal);
                auto* increment = modal->findChild<QLineEdit*>("nincr");
                QVERIFY(increment);
                increment->setText("25");
                static_cast<QDialog*>(modal)->accept();
            });
            d.pages->utilityButtons[TZTRSetupDlg::Resequence]->click();
            d.accept();
        });
        action("actionMachineSetup")->trigger();
        MachineSettings saved;
        FolderFlags flags;
        session->machines.LoadMachine("Mill", saved, flags);
        QCOMPARE(saved.Utilities.ResequenceIncrement, std::string("25"));
    }

    void reformatEditsTheMachinesReformatDefaults() {
        writeMillWithUtilityDefaults();
        MachineSettings expected = savedMachine("Mill");
        editUtilityInSetup(TZTRSetupDlg::Reformat, [](QDialog& modal) {
            auto* d = qobject_cast<TReformatDlg*>(&modal);
            QVERIFY(d);
            QCOMPARE(d->Regs->text(), QString("XZ"));
            QVERIFY(d->Cbrefreg->isChecked());
            QVERIFY(!d->Cbgcode->isChecked());
            QCOMPARE(d->SubGrid->item(0, 0)->text(), QString("M6"));
            QCOMPARE(d->SubGrid->item(0, 1)->text(), QString("M06"));
            // Every machine of the list, sorted, and none as a choice of its own.
            QStringList machines;
            for (int i = 0; i < d->Mnames->count(); ++i) machines << d->Mnames->itemText(i);
            QCOMPARE(machines, (QStringList{"", "Lathe", "Mill", "router"}));
            QCOMPARE(d->Mnames->currentText(), QString("Lathe"));
            QVERIFY(!d->CBMixok->isEnabled());  // no machine stores it
            d->Regs->setText("XYZIJK");
            d->Cbcmt->setChecked(false);
            d->Mnames->setCurrentText("router");
            d->SubGrid->item(1, 0)->setText("G90");
            d->SubGrid->item(1, 1)->setText("G91");
            d->accept();
        });
        UtilityDefaults& u = expected.Utilities;
        u.ReformatRegisterLetters = "XYZIJK";
        u.ReformatComments = false;
        u.ReformatOtherMachine = "router";
        u.SubstituteOld[1] = "G90";
        u.SubstituteNew[1] = "G91";
        QVERIFY(savedMachine("Mill") == expected);
        QCOMPARE(ui->texts(), Texts{});
    }

    void theNewMachineMayBeLeftOpenButNotBeTheMachineItself() {
        writeMillWithUtilityDefaults();
        editUtilityInSetup(TZTRSetupDlg::Reformat, [this](QDialog& modal) {
            auto& d = static_cast<TReformatDlg&>(modal);
            d.Mnames->setCurrentText("Mill");
            d.accept();
            QVERIFY(d.isVisible());
            QCOMPARE(ui->texts(), Texts{"Current Machine & New Machine Are the Same"});
            d.Mnames->setCurrentIndex(0);
            d.accept();
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(savedMachine("Mill").Utilities.ReformatOtherMachine, std::string());
    }

    void makeColumnsEditsTheMachinesColumnDefaults() {
        writeMillWithUtilityDefaults();
        MachineSettings expected = savedMachine("Mill");
        editUtilityInSetup(TZTRSetupDlg::MakeColumns, [this](QDialog& modal) {
            auto* d = qobject_cast<TMakeColsDlg*>(&modal);
            QVERIFY(d);
            QCOMPARE(d->Regorder->text(), QString("NXYZ"));
            QCOMPARE(d->tabw->text(), QString("8"));
            d->Regorder->setText("NGXYZF");
            d->tabw->setText("12");
            d->accept();
        });
        expected.Utilities.ColumnRegisterOrder = "NGXYZF";
        expected.Utilities.ColumnWidth = "12";
        QVERIFY(savedMachine("Mill") == expected);
    }

    // OK checks a default as a run checks it: a value no run could use
    // leaves the dialog open over the message, with what was typed, and only
    // the corrected value is saved.
    void aDefaultNoRunCouldUseKeepsTheDialogOpen() {
        struct Case {
            TZTRSetupDlg::UtilityKind kind;
            const char* field;
            const char* bad;
            std::string message;
            const char* good;
            std::string UtilityDefaults::*stored;
            std::string saved;
        };
        const Case cases[] = {
            {TZTRSetupDlg::Resequence, "snum", "1O", "'1O' is not a valid integer value", "100",
             &UtilityDefaults::ResequenceStart, "100"},
            {TZTRSetupDlg::Resequence, "maxdig", "4.", "'4.' is not a valid integer value", "5",
             &UtilityDefaults::ResequenceMaxDigits, "5"},
            {TZTRSetupDlg::Arithmetic, "Amount", "2*",
             "Error in Expression      \n\nIncorrect syntax\n\n2* >>", "1/4",
             &UtilityDefaults::ArithmeticAmount, "0.25000"},
            {TZTRSetupDlg::MakeColumns, "tabw", "wide", "'wide' is not a valid integer value", "12",
             &UtilityDefaults::ColumnWidth, "12"},
        };
        writeMillWithUtilityDefaults();
        for (const Case& c : cases) {
            ui->messages.clear();
            MachineSettings expected = savedMachine("Mill");
            bool checked = false;
            editUtilityInSetup(c.kind, [&](QDialog& modal) {
                auto* edit = modal.findChild<QLineEdit*>(c.field);
                QVERIFY(edit);
                edit->setText(c.bad);
                modal.accept();
                QVERIFY2(modal.isVisible(), c.bad);
                QCOMPARE(QApplication::activeModalWidget(), &modal);
                QCOMPARE(ui->texts(), Texts{c.message});
                QCOMPARE(edit->text(), QString(c.bad));
                edit->setText(c.good);
                modal.accept();
                QVERIFY2(!modal.isVisible(), c.good);
                checked = true;
            });
            QVERIFY2(checked, c.bad);
            QCOMPARE(ui->texts(), Texts{c.message});
            expected.Utilities.*c.stored = c.saved;
            QVERIFY2(savedMachine("Mill") == expected, c.bad);
        }
    }

    void cancellingAUtilityDialogStoresNothing_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("reformat") << int(TZTRSetupDlg::Reformat);
        QTest::newRow("make columns") << int(TZTRSetupDlg::MakeColumns);
        QTest::newRow("resequence") << int(TZTRSetupDlg::Resequence);
        QTest::newRow("arithmetic") << int(TZTRSetupDlg::Arithmetic);
    }
    void cancellingAUtilityDialogStoresNothing() {
        QFETCH(int, kind);
        writeMillWithUtilityDefaults();
        const MachineSettings before = savedMachine("Mill");
        bool modified = true;
        editUtilityInSetup(
            TZTRSetupDlg::UtilityKind(kind),
            [](QDialog& modal) {
                for (QLineEdit* field : modal.findChildren<QLineEdit*>()) field->setText("Q");
                for (QCheckBox* box : modal.findChildren<QCheckBox*>()) box->setChecked(false);
                modal.reject();
            },
            &modified);
        QVERIFY(!modified);
        QVERIFY(savedMachine("Mill") == before);
    }

    void theRunDialogsAreThemselvesAgainAfterTheSetupDialog() {
        writeMillWithUtilityDefaults();
        editUtilityInSetup(TZTRSetupDlg::Reformat, [](QDialog& modal) {
            auto& d = static_cast<TReformatDlg&>(modal);
            d.Regs->setText("XY");
            d.accept();
        });
        form->workspace().OpenEditorWindow(dir->write("R.TAP", "G01 X1.5\r\n"), true);
        TReformatDlg& run = form->ncUtilityCommands().reformatDialog();
        whenShown([this, &run] {
            QCOMPARE(run.Regs->text(), QString("XY"));  // the saved default
            QVERIFY(run.CBMixok->isEnabled());
            QCOMPARE(run.Mnames->findText(""), -1);
            QCOMPARE(run.Mnames->currentText(), QString("Lathe"));
            run.reject();
        });
        action("actionReformat")->trigger();
        QVERIFY(!run.isVisible());
    }

    void testPortFindsTheDeviceThroughThePortsSection() {
        sim::PtyPair pty;
        dir->write("ZTR2013.INI", "[GENERAL]\nCMACHINE=Mill\n[PORTS]\n3=" + pty.slavePath() +
                                      "\n4=" + dir->file("no-such-tty") + "\n");
        TZTRSetupDlg& d = commands().setupDialog();
        d.show();
        d.pages->PortNum->setCurrentIndex(2);
        d.pages->testPort->click();
        d.pages->PortNum->setCurrentIndex(3);
        d.pages->testPort->click();
        QCOMPARE(ui->texts(), (Texts{"Port Sucessfully Opened", "Port Does Not Appear to Exist"}));
        d.pages->load(state().CurrentSettings);  // no edits left to ask about
        d.SettingsModified = false;
        ui->answers = {Answer::No, Answer::No, Answer::No};
        d.reject();
    }

    void machineSetupIsRefusedWithoutThePrivilege() {
        state().Settings.UseSecure = true;
        session->security.CurrentRights = 0;
        action("actionMachineSetup")->trigger();
        QCOMPARE(ui->texts(), Texts{"Insufficient Priviliges for this Function"});
        QVERIFY(!commands().setupDialog().isVisible());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::SetupCommandsTest)
#include "setup_commands_test.moc"
