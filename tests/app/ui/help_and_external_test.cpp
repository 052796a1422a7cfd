#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "app/ui/about_box.h"
#include "app/ui/calculator_commands.h"
#include "app/ui/external_commands.h"
#include "app/ui/help_commands.h"
#include "app/ui/help_window.h"
#include "app/ui/main_form.h"
#include "bmacro/ui/bmacro_dialog.h"
#include "calc/ui/speed_feed_dialog.h"
#include "calc/ui/triangle_dialog.h"
#include "core/ini_file.h"
#include "core/version.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/analyzer_handoff.h"
#include "session/app_session.h"

namespace zantor {

using editor::TMDIChild;

// The help window, the About box and the programs started from the menus.
class HelpAndExternalTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT
    QByteArray savedPath;

    void start(const std::string& general) {
        dir->write("ZTR2013.INI", "[GENERAL]\r\n" + general);
        dir->write("WPOSTS.INI", "[Machine Names]\nNumber=1\nMachine1=MILL-1\n");
        openWindow(Opening::Hidden);
        form->machineBox()->setCurrentIndex(form->machineBox()->findText("MILL-1"));
    }
    HelpWindow& help() { return form->helpCommands().window(); }
    QString shownFile() { return help().browser()->source().toLocalFile(); }
    // A stand-in program that notes its arguments and working folder.
    std::string fakeProgram(const std::string& name, const std::string& note) {
        const std::string path = dir->write(name, "#!/bin/sh\necho \"$@\" > \"" + note + "\"\npwd >> \"" + note + "\"\n");
        QFile::setPermissions(QString::fromStdString(path),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    }

private slots:
    void init() {
        makeFolder();
        savedPath = qgetenv("PATH");
    }
    void cleanup() {
        qputenv("PATH", savedPath);
        tearDown();
    }

    void everyHelpContextHasItsPage() {
        start("");
        QVERIFY(!help().folder().isEmpty());
        const int contexts[] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
                                112, 113, 115, 120, 121, 122, 10024, 10031, 10047, 10048, 10050};
        for (int context : contexts) {
            form->showHelp(context);
            QVERIFY2(shownFile().endsWith(QString("/%1.html").arg(context)),
                     qPrintable(QString::number(context)));
            QVERIFY2(help().browser()->toPlainText().contains("Example"),
                     qPrintable(QString::number(context)));
        }
        QVERIFY(help().isVisible());
    }

    void theCalculatorsHelpButtonsOpenTheirPages() {
        start("");
        CalculatorCommands& calculators = form->calculatorCommands();
        emit calculators.triangleDialog().helpRequested(104);
        QVERIFY(shownFile().endsWith("/104.html"));
        emit calculators.speedFeedDialog().helpRequested(10048);
        QVERIFY(shownFile().endsWith("/10048.html"));
        emit calculators.bmacroDialog().helpRequested(120);
        QVERIFY(shownFile().endsWith("/120.html"));
    }

    void aMissingPageSaysSo() {
        start("");
        form->showHelp(99999);
        const QString text = help().browser()->toPlainText();
        QVERIFY2(text.contains("Help page not found"), qPrintable(text));
        QVERIFY(text.contains("context 99999"));
        // Without any pages, the window says where they belong.
        HelpWindow bare(QString{});
        bare.showContext(113);
        QVERIFY(bare.browser()->toPlainText().contains("help pages were not found"));
    }

    void backForwardAndContents() {
        start("");
        form->showHelp(113);
        form->showHelp(121);
        QAction* back = help().findChild<QAction*>("helpBack");
        QAction* forward = help().findChild<QAction*>("helpForward");
        QVERIFY(back->isEnabled());
        back->trigger();
        QVERIFY(shownFile().endsWith("/113.html"));
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QVERIFY(shownFile().endsWith("/121.html"));
        help().findChild<QAction*>("helpContents")->trigger();
        QVERIFY(shownFile().endsWith("/contents.html"));
        QVERIFY(help().browser()->toPlainText().contains("Machine/DNC Setup"));
    }

    void searchListsThePagesHoldingTheWords() {
        start("");
        const int all = help().topics()->count();
        action("actionHelpSearch")->trigger();
        help().search("baud parity");
        QListWidget* topics = help().topics();
        QVERIFY(topics->count() > 0);
        QVERIFY(topics->count() < all);
        QVERIFY(!topics->findItems("Machine/DNC Setup", Qt::MatchExactly).isEmpty());
        QVERIFY(topics->findItems("Triangle Solver", Qt::MatchExactly).isEmpty());
        emit topics->itemClicked(topics->findItems("Machine/DNC Setup", Qt::MatchExactly)[0]);
        QVERIFY(shownFile().endsWith("/113.html"));
    }

    void helpMenuOpensItsPages() {
        start("");
        const struct {
            const char* action;
            const char* file;
        } cases[] = {{"actionHelpContents", "/contents.html"},
                     {"actionDncHelp", "/dnc.html"},
                     {"actionLauncherHelp", "/10050.html"},
                     {"actionAnalyzerHelp", "/analyzer.html"}};
        for (const auto& c : cases) {
            action(c.action)->trigger();
            QVERIFY2(shownFile().endsWith(c.file), c.action);
        }
    }

    void theAboutBoxNamesTheProgramAndItsVersion() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QString("About"));
        QCOMPARE(box.findChild<QLabel*>("ProductName")->text(), QString("Zantor Pro 2013"));
        QCOMPARE(box.findChild<QLabel*>("ProductTitle")->text(), QString("Zantor Pro 2013"));
        QCOMPARE(box.findChild<QLabel*>("ProductVersion")->text(), QString("5.000"));
        QCOMPARE(box.findChild<QLabel*>("ProgramVersion")->text(),
                 QString("Program version ") + ZANTOR_VERSION);
    }

    void theAnalyzerWithoutADocumentOrACommandTellsWhy() {
        start("");
        action("actionAnalyzer")->trigger();
        QCOMPARE(ui->messages.size(), size_t(1));
        const std::string path = dir->write("A1.TAP", "N10 G0\r\n");
        form->workspace().OpenEditorWindow(path, true);
        action("actionAnalyzer")->trigger();
        QCOMPARE(ui->messages.size(), size_t(2));
        QCOMPARE(ui->messages[1].text, std::string(kNoAnalyzerSet));
        // Nothing was closed or written.
        QCOMPARE(form->workspace().editorWindows().size(), size_t(1));
        QVERIFY(!QFile::exists(QString::fromStdString(dir->file("PS.INI"))));
    }

    void answeringNoLeavesTheDocumentOpenAndUnsaved() {
        start("ANALYZER=" + fakeProgram("analyzer.sh", dir->file("ran.txt")) + "\r\n");
        const std::string path = dir->write("A1.TAP", "N10 G0\r\n");
        TMDIChild* window = form->workspace().OpenEditorWindow(path, true);
        QTest::keyClicks(window->Editor1(), "G90 ");
        ui->answers.push_back(Answer::No);
        action("actionAnalyzer")->trigger();
        QCOMPARE(ui->messages.size(), size_t(1));
        QCOMPARE(ui->messages[0].text, std::string(kAnalyzerQuestion));
        QCOMPARE(ui->messages[0].buttons, Buttons::YesNo);
        QVERIFY(window->Modified());
        QCOMPARE(dir->read("A1.TAP"), std::string("N10 G0\r\n"));
        QCOMPARE(form->workspace().editorWindows().size(), size_t(1));
    }

    void theHandOffSavesClosesWritesPsIniAndStartsTheAnalyzer() {
        start("ANALYZER=" + fakeProgram("analyzer.sh", dir->file("ran.txt")) + "\r\n");
        session->state.Settings.NcWarn = false;
        dir->write("PS.INI", "[Layout]\r\nZoom=3\r\n[mtaform.OvcMenuMRU1.Items]\r\nCount=4\r\n");
        const std::string path = dir->write("A1.TAP", "N10 G0\r\n");
        TMDIChild* window = form->workspace().OpenEditorWindow(path, true);
        QTest::keyClicks(window->Editor1(), "G90 ");
        action("toolAnalyzer")->trigger();
        QVERIFY(ui->messages.empty());  // NCWARN off: no question
        QCOMPARE(dir->read("A1.TAP"), std::string("G90 N10 G0\r\n"));
        QTRY_COMPARE(form->workspace().editorWindows().size(), size_t(0));
        const IniFile ps = IniFile::parse(dir->read("PS.INI"));
        QCOMPARE(ps.readString("Operationsdlg.OvcMenuMRU1.Items", "0", ""), dir->file("A1.OPF"));
        QCOMPARE(ps.readString("mtaform.OvcMenuMRU1.Items", "0", ""), path);
        QCOMPARE(ps.readInt("mtaform.OvcMenuMRU1.Items", "Count", 0), 4);
        QCOMPARE(ps.readString("mtaform.OvcMenuMRU2.Items", "0", ""), std::string("MILL-1.MCH"));
        QCOMPARE(ps.readInt("Layout", "Zoom", 0), 3);
        // The analyzer runs apart from this program: wait for its note.
        QTRY_VERIFY(QFile::exists(QString::fromStdString(dir->file("ran.txt"))));
        QTRY_VERIFY(dir->read("ran.txt").find('\n') != dir->read("ran.txt").rfind('\n'));
        const std::string note = dir->read("ran.txt");
        QVERIFY2(note.rfind("ZTR2013\n", 0) == 0, note.c_str());
        QVERIFY2(note.find(dir->path().substr(0, dir->path().size() - 1)) != std::string::npos,
                 note.c_str());
    }

    void anAnalyzerThatCannotStartIsReportedAfterTheHandOff() {
        start("ANALYZER=/no/such/analyzer\r\n");
        session->state.Settings.NcWarn = false;
        form->workspace().OpenEditorWindow(dir->write("A1.TAP", "N10\r\n"), true);
        action("actionAnalyzer")->trigger();
        QCOMPARE(ui->messages.size(), size_t(1));
        QCOMPARE(ui->messages[0].text, std::string("Cannot Execute (2) [/no/such/analyzer]"));
        QVERIFY(QFile::exists(QString::fromStdString(dir->file("PS.INI"))));
    }

    void theCalculatorIsTheFirstFoundOrTheUserIsTold() {
        start("");
        testing::TempFolder bin;
        qputenv("PATH", QByteArray::fromStdString(bin.path()));
        action("actionSystemCalculator")->trigger();
        QCOMPARE(ui->messages.size(), size_t(1));
        QCOMPARE(ui->messages[0].text, std::string(kNoCalculatorFound));
        const std::string note = bin.file("calc.txt");
        const std::string script = bin.write("xcalc", "#!/bin/sh\necho started > \"" + note + "\"\n");
        QFile::setPermissions(QString::fromStdString(script),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        action("actionSystemCalculator")->trigger();
        QCOMPARE(ui->messages.size(), size_t(1));
        QTRY_VERIFY(QFile::exists(QString::fromStdString(note)));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::HelpAndExternalTest)
#include "help_and_external_test.moc"
