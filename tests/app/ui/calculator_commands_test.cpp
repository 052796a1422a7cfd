#include "app/ui/calculator_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "bmacro/ui/bmacro_dialog.h"
#include "bmacro/ui/expression_field.h"
#include "calc/ui/speed_feed_dialog.h"
#include "calc/ui/triangle_dialog.h"
#include "calc/ui/zcalc_form.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

// The calculators and the B-Macro from the main window's menus.
class CalculatorCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT

    CalculatorCommands& commands() { return form->calculatorCommands(); }
    std::string resultsText() {
        editor::TMDIChild* results = form->workspace().ActiveEditorWindow();
        if (!results) return {};
        std::string text;
        for (int p = 1; p <= results->ParagraphCount(); ++p) text += results->GetParagraph(p) + "\n";
        return text;
    }

private slots:
    void init() {
        setUp({.machines = "[Machine Names]\nNumber=1\nMachine1=Mill\n[Mill]\nDIGR=3\n"});
    }
    void cleanup() { tearDown(); }

    void triangleReportGoesToTheResultsWindow() {
        TTriangleDlg& dialog = commands().triangleDialog();
        whenShown([&] {
            for (int i = 0; i < 3; ++i) dialog.field(i).setText(QString::number(3 + i));
            dialog.accept();
        });
        action("actionTriangleSolver")->trigger();
        QVERIFY(QApplication::clipboard()->text().startsWith(" Triangle results :"));
        const std::string text = resultsText();
        QVERIFY2(text.find(" Side  A =  3.000000                          Area =  6.000000") !=
                     std::string::npos,
                 text.c_str());
    }

    void aTriangleErrorKeepsTheDialogOpenWithItsValues() {
        TTriangleDlg& dialog = commands().triangleDialog();
        dialog.show();
        dialog.field(0).setText("1");
        dialog.field(1).setText("1");
        dialog.field(2).setText("1+1");
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(ui->texts().back(), std::string("Error, Bad Sides"));
        QCOMPARE(dialog.field(2).text(), QString("2.00000"));
        dialog.reject();
    }

    void aBadExpressionShowsItsBoxAndKeepsTheText() {
        TTriangleDlg& dialog = commands().triangleDialog();
        dialog.field(0).setText("sin(");
        QVERIFY(!dialog.field(0).evaluate());
        QCOMPARE(dialog.field(0).text(), QString("sin("));
        QCOMPARE(ui->texts().back(),
                 std::string("Error in Expression      \n\nIllegal or missing parenthese\n\nSIN( >>"));
    }

    void speedsAndFeedsRecalculateWhenAFieldIsLeft() {
        TSFCalcDlg& dialog = commands().speedFeedDialog();
        dialog.field(SpeedFeedCalculator::Rpm).setText("500*2");
        QVERIFY(dialog.field(SpeedFeedCalculator::Rpm).evaluate());
        QCOMPARE(dialog.field(SpeedFeedCalculator::FeedPerMinute).text(), QString("160.00000"));
        QCOMPARE(dialog.cutTime(), QString("Cut Time = 0 Minutes, 0.38 Seconds"));
        dialog.setMetric(true);
        auto* group = qobject_cast<QGroupBox*>(dialog.field(SpeedFeedCalculator::SurfaceSpeed).parentWidget());
        QCOMPARE(group->title(), QString("M/min"));
        whenShown([&] { dialog.accept(); });
        action("actionSpeedFeed")->trigger();
        QVERIFY(resultsText().find("MM/min              : 160.00000") != std::string::npos);
    }

    void zantorCalcKeepsItsTapeAndCopiesItsValue() {
        action("actionZantorCalc")->trigger();
        TZcalcform& calc = commands().zantorCalc();
        QVERIFY(calc.isVisible());
        for (const char* key : {"1", "2", "+", "3", "="}) calc.press(key);
        QCOMPARE(calc.display(), QString("15.0000"));
        QTest::keyClicks(&calc, "*2");
        QTest::keyClick(&calc, Qt::Key_Return);
        QCOMPARE(calc.display(), QString("30.0000"));
        calc.copyToClipboard();
        QCOMPARE(QApplication::clipboard()->text(), QString("30."));
        calc.close();
        action("actionZantorCalc")->trigger();
        QVERIFY(calc.tapeLines() > 4);
    }

    void bmacroWritesTheOutputBesideTheProgram() {
        const std::string program =
            dir->write("DRILL.TAP", "WHILE[#1LT2]DO1\r\nG81 X#1 (HOLE)\r\n#1=#1+1\r\nEND1\r\nM30\r\n");
        form->workspace().OpenEditorWindow(program, true);
        TMacrobdlg& dialog = commands().bmacroDialog();
        whenShown([&] {
            QCOMPARE(dialog.outputName().text().toStdString(), dir->file("DRILL.OUT"));
            dialog.variables().setPlainText("#1=0");
            dialog.accept();
        });
        action("actionBMacro")->trigger();
        QCOMPARE(dir->read("DRILL.OUT"), std::string("G81X0.000(HOLE)\r\nG81X1.000(HOLE)\r\nM30\r\n"));
        QCOMPARE(dir->read("BMACROVARS.TXT"), std::string("#1=0"));
    }

    void cancelStopsAMacroThatNeverEnds() {
        const std::string program = dir->write("LOOP.TAP", "N10 X1\r\nGOTO10\r\n");
        form->workspace().OpenEditorWindow(program, true);
        TMacrobdlg& dialog = commands().bmacroDialog();
        whenShown([&] {
            QTimer::singleShot(50, [&] { dialog.reject(); });  // Cancel while it runs
            dialog.accept();
        });
        action("actionBMacro")->trigger();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.running());
        QVERIFY(dir->read("LOOP.OUT").starts_with("(Define Variables Here)\r\nX1\r\n"));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::CalculatorCommandsTest)
#include "calculator_commands_test.moc"
