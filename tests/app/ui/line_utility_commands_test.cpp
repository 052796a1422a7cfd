#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/nc_utility_commands.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "nctools/resequence.h"
#include "nctools/ui/arithmetic_dialog.h"
#include "nctools/ui/feed_speed_override_dialog.h"
#include "nctools/ui/file_split_dialog.h"
#include "nctools/ui/line_ends_dialog.h"
#include "nctools/ui/make_columns_dialog.h"
#include "nctools/ui/nc_info_dialog.h"
#include "nctools/ui/process_dialog.h"
#include "nctools/ui/reformat_dialog.h"
#include "nctools/ui/resequence_dialog.h"
#include "session/app_session.h"

namespace zantor {

// Re-Sequence, Change Line Begin/End, Arithmetic and Feed / Speed Overide
// from the NC Utilities menu: their dialogs, the machine's defaults in them,
// and the runs on an editor window.
class LineUtilityCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    NcUtilityCommands& commands() { return form->ncUtilityCommands(); }
    void loadMachine(const char* name) {
        session->state.CurrentMachine = name;
        session->loadCurrentMachine();
    }

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=2\nMachine1=Mill\nMachine2=Lathe\n"
                           "[Mill]\nFORMAT=1\nDIGR=4\nFDIGITS=2\n"
                           "[Lathe]\nRSSEQST=100\nRSINCR=5\nRSMAXDIG=3\nRSSEQCHR=:\nRSSKPCHR=%\n"
                           "RSLZEROS=1\nCLBFROM=N\nCLBTO=/N\nCLEFROM=;\nCLETO=$\n"
                           "ARREGSTR=XZ\nAROPPR=3\nARAMOUNT=25.4\nFORMAT=3\nDIGR=3\n",
               .settings = "[GENERAL]\nCMACHINE=Mill\n"});
    }
    void cleanup() { tearDown(); }

    void theMenuHoldsTheEntriesInOrder() {
        auto* menu = form->findChild<QMenu*>("NcUtilitiesMenu");
        QVERIFY(menu);
        QStringList texts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) texts << a->text();
        const QStringList ours = {"&Arithmetic",        "Add / Remove &Spaces",
                                  "Change &Line Begin/End", "F&eed / Speed Overide",
                                  "&Re-Sequence",       "File Cleanup"};
        int last = -1;
        for (const QString& text : ours) {
            const int at = texts.indexOf(text);
            QVERIFY2(at > last, qPrintable(text));
            last = at;
        }
    }

    void withoutAnEditorWindowNothingRuns() {
        for (const char* name : {"actionArithmetic", "actionChangeLineEnds",
                                 "actionFeedSpeedOverride", "actionResequence"}) {
            ui->messages.clear();
            action(name)->trigger();
            QCOMPARE(ui->texts(), std::vector<std::string>{
                                      "No File Currently Loaded\r\nSelect File Open/New First"});
        }
        QVERIFY(!commands().resequenceDialog().isVisible());
        QVERIFY(!commands().arithmeticDialog().isVisible());
    }

    void everyMachineLoadFillsTheDialogs() {
        TRESEQDlg& reseq = commands().resequenceDialog();
        TChgBeginEndDlg& ends = commands().lineEndsDialog();
        TArithDlg& arith = commands().arithmeticDialog();
        QCOMPARE(reseq.windowTitle(), QString("RE/UN-Sequence Block Numbers"));
        QCOMPARE(ends.windowTitle(), QString("Change Line Begining/End"));
        QCOMPARE(arith.windowTitle(), QString("Arithmetic"));
        QCOMPARE(reseq.skpchrs->text(), QString("<(%=$#OE\\^@:"));
        QCOMPARE(arith.Regs->text(), QString("XYZIJKR"));
        QVERIFY(arith.RBadd->isChecked());
        reseq.snum->setText("55");  // typed, then a machine load overrides it
        loadMachine("Lathe");
        QCOMPARE(reseq.snum->text(), QString("100"));
        QCOMPARE(reseq.nincr->text(), QString("5"));
        QCOMPARE(reseq.maxdig->text(), QString("3"));
        QCOMPARE(reseq.Seqchrs->text(), QString(":"));
        QCOMPARE(reseq.skpchrs->text(), QString("%"));
        QVERIFY(reseq.lzeros->isChecked());
        QCOMPARE(ends.Bfrom->text() + ends.Bto->text() + ends.Efrom->text() + ends.Eto->text(),
                 QString("N/N;$"));
        QCOMPARE(arith.Regs->text(), QString("XZ"));
        QVERIFY(arith.RBmul->isChecked());
        QCOMPARE(arith.Amount->text(), QString("25.4"));
        loadMachine("Mill");
        QCOMPARE(reseq.snum->text(), QString("10"));
        QVERIFY(!reseq.lzeros->isChecked());
        QCOMPARE(ends.Eto->text(), QString(""));
    }

    void removingAllNumbersDisablesTheOtherFields() {
        TRESEQDlg& dialog = commands().resequenceDialog();
        dialog.unseq->setChecked(true);
        for (QWidget* w : {static_cast<QWidget*>(dialog.snum), static_cast<QWidget*>(dialog.nincr),
                           static_cast<QWidget*>(dialog.maxdig),
                           static_cast<QWidget*>(dialog.Seqchrs),
                           static_cast<QWidget*>(dialog.skpchrs),
                           static_cast<QWidget*>(dialog.lzeros)})
            QVERIFY(!w->isEnabled());
        dialog.unseq->setChecked(false);
        QVERIFY(dialog.snum->isEnabled() && dialog.lzeros->isEnabled());
    }

    void resequenceRunsOnTheWindowEditByEdit() {
        editor::TMDIChild* window = open("R.TAP", "%\r\nN5 G1\r\nG2\r\n");
        TRESEQDlg& dialog = commands().resequenceDialog();
        whenShown([&] {
            dialog.lzeros->setChecked(true);
            dialog.accept();
        });
        action("actionResequence")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "%|N0010 G1|N0020G2|");
        QVERIFY(!commands().progressBox().isVisible());
        QCOMPARE(ui->busyDepth, 0);
        window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "%|N0010 G1|G2|");
        window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "%|N5 G1|G2|");
        whenShown([&] {
            dialog.unseq->setChecked(true);
            dialog.accept();
        });
        action("actionResequence")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "%|G1|G2|");
    }

    void makeColumnsRunsOnTheWindowEditByEdit() {
        editor::TMDIChild* window = open("C.TAP", "N1 X1. (A)\r\n\r\nN2 G1\r\n");
        TMakeColsDlg& dialog = commands().columnsDialog();
        QCOMPARE(dialog.tabw->text(), QString("10"));  // the machine record's default
        whenShown([&] {
            dialog.Regorder->setText("NGX");
            dialog.tabw->setText("4");
            dialog.accept();
        });
        action("actionMakeColumns")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "N1      X1.(A)||N2  G1|");
        QVERIFY(!commands().progressBox().isVisible());
        window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "N1      X1.(A)||N2 G1|");
        window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "N1 X1. (A)||N2 G1|");
    }

    // A bad number leaves the dialog open over the message, with what was
    // typed, and changes nothing; the corrected number then runs.
    void aNumberThatIsNoIntegerKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("after");
        QTest::newRow("start") << "actionResequence" << "snum" << "1O" << "5" << "N5G1|N15G2|";
        QTest::newRow("increment")
            << "actionResequence" << "nincr" << "1.5" << "2" << "N10G1|N12G2|";
        QTest::newRow("digits") << "actionResequence" << "maxdig" << "" << "3" << "N10G1|N20G2|";
        QTest::newRow("column width") << "actionMakeColumns" << "tabw" << "wide" << "3"
                                      << "   G1|   G2|";
        QTest::newRow("width beyond 32 bits")
            << "actionMakeColumns" << "tabw" << "4294967306" << "0" << "G1|G2|";
    }
    void aNumberThatIsNoIntegerKeepsTheDialogOpen() {
        QFETCH(QString, action);
        QFETCH(QString, field);
        QFETCH(QString, bad);
        QFETCH(QString, good);
        QFETCH(QString, after);
        editor::TMDIChild* window = open("I.TAP", "G1\r\nG2\r\n");
        ui->messages.clear();
        bool checked = false;
        whenShown([&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* edit = dialog->findChild<QLineEdit*>(field);
            QVERIFY(edit);
            edit->setText(bad);
            dialog->accept();
            QVERIFY(dialog->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            QCOMPARE(ui->texts(), std::vector<std::string>{"'" + bad.toStdString() +
                                                           "' is not a valid integer value"});
            QCOMPARE(edit->text(), bad);
            QCOMPARE(paragraphs(*window).c_str(), "G1|G2|");
            edit->setText(good);
            dialog->accept();
            QVERIFY(!dialog->isVisible());
            checked = true;
        });
        this->action(action.toLatin1().constData())->trigger();
        QVERIFY(checked);
        QCOMPARE(ui->texts().size(), size_t(1));
        QCOMPARE(QString::fromStdString(paragraphs(*window)), after);
    }

    void cancelAfterABadNumberChangesNothing() {
        editor::TMDIChild* window = open("I.TAP", "G1\r\n");
        TRESEQDlg& dialog = commands().resequenceDialog();
        whenShown([&] {
            dialog.nincr->setText("1O");
            dialog.accept();
            QVERIFY(dialog.isVisible());
            dialog.reject();
        });
        action("actionResequence")->trigger();
        QCOMPARE(ui->texts(), std::vector<std::string>{"'1O' is not a valid integer value"});
        QCOMPARE(paragraphs(*window).c_str(), "G1|");
        QVERIFY(!window->Modified());
    }

    void reformatConvertsAndMakesTheNewMachineCurrent() {
        editor::TMDIChild* window = open("F.TAP", "G01 X1.5 (FIN) F20.\r\nM06\r\n");
        TReformatDlg& dialog = commands().reformatDialog();
        ui->messages.clear();
        whenShown([&] {
            QCOMPARE(dialog.Mnames->count(), 2);
            dialog.Mnames->setCurrentIndex(dialog.Mnames->findText("Mill"));
            dialog.accept();  // the current machine: refused, the dialog stays
            QVERIFY(dialog.isVisible());
            dialog.Mnames->setCurrentIndex(dialog.Mnames->findText("Lathe"));
            dialog.SubGrid->item(0, 0)->setText("M06");
            dialog.SubGrid->item(0, 1)->setText("M6");
            dialog.accept();
        });
        action("actionReformat")->trigger();
        QCOMPARE(ui->texts(),
                 std::vector<std::string>{"Current Machine & New Machine Are the Same"});
        // Lathe: trailing zeros, three decimals.
        QCOMPARE(paragraphs(*window).c_str(), "G01 X1500  F2000(FIN)|M6|");
        QCOMPARE(session->state.CurrentMachine.c_str(), "Lathe");
        QCOMPARE(form->machineBox()->currentText(), QString("Lathe"));
        window->UndoEdit();
        QCOMPARE(paragraphs(*window).c_str(), "G01 X1500  F2000(FIN)|M06|");
    }

    void splitterWritesFilesAndAsksBeforeOverwriting() {
        editor::TMDIChild* window =
            open("ALL.TAP", "%\r\nO1000\r\nG00 X0\r\nM30\r\n%\r\nO2000\r\nG01 X1\r\nM30\r\n%\r\n");
        testing::TempFolder out;
        out.write("O2000.TAP", "keep");
        TFileSplitdlg& dialog = commands().splitDialog();
        ui->savedFiles.push_back(out.file("O2000-B.TAP"));
        whenShown([&] {
            QCOMPARE(dialog.Fext->text(), QString("TAP"));  // the machine's extension
            dialog.DirDNL->setText(QString::fromStdString(out.path()));
            dialog.accept();
        });
        action("actionFileSplitter")->trigger();
        QCOMPARE(out.read("O1000.TAP").c_str(), "%\r\nO1000\r\nG00 X0\r\nM30\r\n%\r\n");
        QCOMPARE(out.read("O2000.TAP").c_str(), "keep");
        QCOMPARE(out.read("O2000-B.TAP").c_str(), "%\r\nO2000\r\nG01 X1\r\nM30\r\n%\r\n");
        QCOMPARE(ui->fileRequests.back().title, "Save " + out.file("O2000.TAP") + " As");
        QVERIFY(!window->Modified());
        QVERIFY(!commands().progressBox().isVisible());
    }

    void informationShowsTheWindowsProgram() {
        editor::TMDIChild* window = open("INFO.TAP", std::string(118, 'X') + "\r\n" +
                                                         std::string(1078, 'Y') + "\r\n");
        TNcinfoDlg& box = commands().informationBox();
        QString shown[6];
        whenShown([&] {
            QLabel* labels[] = {box.Fname, box.Lines, box.Chars, box.Feet, box.meters, box.Modified};
            for (int i = 0; i < 6; ++i) shown[i] = labels[i]->text();
            box.accept();
        });
        action("actionInformation")->trigger();
        QCOMPARE(box.windowTitle(), QString("NC-File Information"));
        QCOMPARE(shown[0], QString("INFO.TAP"));
        QCOMPARE(shown[1], QString("2"));
        QCOMPARE(shown[2], QString("1200"));
        QCOMPARE(shown[3], QString(" 10.0"));
        QCOMPARE(shown[4], QString("  3.0"));
        QCOMPARE(shown[5], QString("No"));
        QVERIFY(!window->Modified());
    }

    void lineEndsChangeTheSelectedLines() {
        editor::TMDIChild* window = open("E.TAP", "G1;\r\nG2;\r\nG3;\r\n");
        window->SetSelection({2, 1}, {3, 1});
        TChgBeginEndDlg& dialog = commands().lineEndsDialog();
        whenShown([&] {
            dialog.Efrom->setText(";");
            dialog.Eto->setText("$");
            dialog.Bto->setText("/");
            dialog.accept();
        });
        action("actionChangeLineEnds")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "G1;|/G2$|/G3$|");
        QCOMPARE(window->Caret(), (editor::TextPosition{1, 1}));
    }

    void theAmountIsAnExpressionField() {
        TArithDlg& dialog = commands().arithmeticDialog();
        dialog.Amount->setText("1/4");
        dialog.Amount->setModified(true);
        emit dialog.Amount->editingFinished();
        QCOMPARE(dialog.Amount->text(), QString("0.25000"));
        QVERIFY(ui->messages.empty());
    }

    void arithmeticOkRefusesWhatCannotRun() {
        TArithDlg& dialog = commands().arithmeticDialog();
        struct Case {
            QRadioButton* operation;
            const char* amount;
            std::string message;
        };
        const Case cases[] = {
            {dialog.RBdiv, "0", "Cannot Divide by Zero"},
            {dialog.RBdiv, "0.00004", "Cannot Divide by Zero"},
            {dialog.RBmul, "2*", "Error in Expression      \n\nIncorrect syntax\n\n2* >>"},
        };
        for (const Case& c : cases) {
            ui->messages.clear();
            c.operation->setChecked(true);
            dialog.Amount->setText(c.amount);
            dialog.show();
            dialog.accept();
            QVERIFY2(dialog.isVisible(), c.amount);
            QCOMPARE(ui->texts(), std::vector<std::string>{c.message});
            dialog.reject();
        }
        // Shown again over the amount it refused, OK tells the error again.
        ui->messages.clear();
        dialog.Amount->setText("2*");
        dialog.show();
        dialog.accept();
        dialog.reject();
        dialog.show();
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui->texts().size(), size_t(2));
        dialog.reject();
        ui->messages.clear();
        dialog.Amount->setText("-0.5");
        dialog.show();
        dialog.accept();
        QVERIFY(!dialog.isVisible());
        QVERIFY(ui->messages.empty());
        QCOMPARE(dialog.settings().amount, -0.5);
        QVERIFY(dialog.settings().operation == ArithmeticOperation::Multiply);
    }

    void arithmeticRunsInTheMachinesFormat() {
        editor::TMDIChild* window = open("A.TAP", "G1 X1.25 Y2. (X1)\r\nZ-1.\r\n");
        TArithDlg& dialog = commands().arithmeticDialog();
        whenShown([&] {
            dialog.Regs->setText("XZ");
            dialog.RBadd->setChecked(true);
            dialog.Amount->setText("0.5");
            dialog.accept();
        });
        action("actionArithmetic")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "G1 X1.75 Y2. (X1)|Z-.5|");
        loadMachine("Lathe");  // trailing zeros, three decimals, multiply by 25.4
        editor::TMDIChild* lathe = open("L.TAP", "X1000 Z-500\r\n");
        whenShown([&] { commands().arithmeticDialog().accept(); });
        action("actionArithmetic")->trigger();
        QCOMPARE(paragraphs(*lathe).c_str(), "X25400 Z-12700|");
    }

    void overrideSlidersShowPercentages() {
        TFSoverDlg& dialog = commands().overrideDialog();
        QCOMPARE(dialog.windowTitle(), QString("Feed / Speed Override"));
        QCOMPARE(dialog.feedbar->minimum(), -19);
        QCOMPARE(dialog.feedbar->maximum(), 20);
        struct Case {
            int position;
            const char* label;
        };
        for (const Case& c : {Case{-19, "  5%"}, Case{-1, " 95%"}, Case{0, "100%"},
                              Case{20, "200%"}, Case{-10, " 50%"}}) {
            dialog.feedbar->setValue(c.position);
            dialog.Speedbar->setValue(c.position);
            QCOMPARE(dialog.Flab->text(), QString(c.label));
            QCOMPARE(dialog.Slab->text(), QString(c.label));
        }
        QCOMPARE(dialog.percentages().feed, 50);
        dialog.show();  // every showing starts at 100 %
        QCOMPARE(dialog.feedbar->value(), 0);
        QCOMPARE(dialog.Slab->text(), QString("100%"));
        QCOMPARE(dialog.percentages().speed, 100);
        dialog.reject();
    }

    void overrideRunsOnTheWindow() {
        editor::TMDIChild* window = open("F.TAP", "S1000 M03 F20.\r\nG1 X1 F30 (F99)\r\n");
        TFSoverDlg& dialog = commands().overrideDialog();
        whenShown([&] {
            dialog.feedbar->setValue(-10);
            dialog.Speedbar->setValue(2);
            dialog.accept();
        });
        action("actionFeedSpeedOverride")->trigger();
        QCOMPARE(paragraphs(*window).c_str(), "S1100 M03 F10.|G1 X1 F15. (F99)|");
    }

    void cancelStopsAResequenceInTheWindow() {
        std::string text;
        for (int i = 0; i < 500; ++i) text += "G1X" + std::to_string(i) + "\r\n";
        editor::TMDIChild* window = open("C.TAP", text);
        TProcessDlg& box = commands().progressBox();
        QTimer::singleShot(0, [&] { box.cancelButton()->click(); });
        QVERIFY(!Resequence(*window, box, {}));
        QCOMPARE(box.caption(), QString("Resequencing..."));
        QCOMPARE(window->GetParagraph(1), std::string("N10G1X0"));
        QCOMPARE(window->GetParagraph(2), std::string("G1X1"));
        QVERIFY(!box.isVisible());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::LineUtilityCommandsTest)
#include "line_utility_commands_test.moc"
