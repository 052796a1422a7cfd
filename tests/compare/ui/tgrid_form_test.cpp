#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <set>

#include "compare/compare_settings.h"
#include "compare/ui/difference_model.h"
#include "compare/ui/tgrid_form.h"
#include "compare/ui/tsummary_dlg.h"
#include "sample_pair.h"
#include "scripted_interaction.h"

namespace zantor {

using compare::testing::SamplePair;

// The File Compare window offscreen: states, runs, navigation, listings,
// the summary and the saved reports.
class TGridFormTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SamplePair> pair;
    std::unique_ptr<testing::ScriptedInteraction> ui;
    std::unique_ptr<TGridForm> form;
    std::string settingsFile;

    QPushButton* button(const char* name) { return form->findChild<QPushButton*>(name); }
    QAction* action(const char* name) { return form->findChild<QAction*>(name); }

    // Both files chosen by the dialogs: the older one first.
    void openOlderFirst() {
        ui->openedFiles.push_back({pair->older});
        ui->openedFiles.push_back({pair->newer});
        form->openFiles();
    }

    std::vector<int> selectedRows() {
        std::set<int> rows;
        for (const auto& index : form->grid()->selectionModel()->selectedIndexes()) rows.insert(index.row());
        return {rows.begin(), rows.end()};
    }

private slots:
    void init() {
        pair = std::make_unique<SamplePair>();
        ui = std::make_unique<testing::ScriptedInteraction>();
        settingsFile = pair->folder.file("zantor.INI");
        form = std::make_unique<TGridForm>(*ui, settingsFile, [] { return QFont("Monospace", 10); });
    }
    void cleanup() {
        form.reset();
        pair.reset();
    }

    void initialStateEnablesOnlyOpening() {
        form->show();
        QCOMPARE(form->state(), TGridForm::Initial);
        QCOMPARE(form->windowTitle(), QString("Zantor Pro -- File Compare"));
        QVERIFY(button("OpenButton")->isEnabled());
        QVERIFY(action("actionOpenFiles")->isEnabled());
        for (const char* name : {"CompareButton", "SummaryButton", "DownButton", "TopButton"})
            QVERIFY2(!button(name)->isEnabled(), name);
        for (const char* name : {"actionCompareFiles", "actionSummaryReport", "actionListFile1",
                                 "actionSaveDifferenceList", "actionPrint", "actionCopy", "actionCut"})
            QVERIFY2(!action(name)->isEnabled(), name);
        QCOMPARE(form->model().rowCount(), 1);
    }

    void openingRunsWithTheNewerFileAsFileOne() {
        openOlderFirst();
        QCOMPARE(ui->fileRequests.size(), size_t(2));
        QCOMPARE(ui->fileRequests[0].title, std::string("Select First NC-Code File..."));
        QCOMPARE(ui->fileRequests[1].title, std::string("Select Second NC-Code File..."));
        QCOMPARE(form->file1(), pair->newer);
        QCOMPARE(form->file2(), pair->older);
        QCOMPARE(form->state(), TGridForm::Done);
        QCOMPARE(form->statusText(), QString("  There are 4 differences."));
        for (const char* name : {"SummaryButton", "DownButton", "TopButton", "CompareButton", "OpenButton"})
            QVERIFY2(button(name)->isEnabled(), name);
        QVERIFY(action("actionSaveDifferenceList")->isEnabled());
        QCOMPARE(form->model().rowCount(), 6);
        QCOMPARE(form->model().headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString::fromStdString("File 1, " + pair->newer + " compared to...\nFile 2, " + pair->older));
        // The first block is selected.
        QCOMPARE(selectedRows(), (std::vector<int>{0, 1}));
        // The summary names the older file first.
        QCOMPARE(form->summaryDialog().summaryText()[2], std::string("PART_OLD.TAP is older by 2.1 days"));
    }

    void downAndTopStepThroughTheBlocks() {
        openOlderFirst();
        form->down();
        QCOMPARE(selectedRows(), (std::vector<int>{2, 3}));
        form->down();
        QCOMPARE(selectedRows(), (std::vector<int>{4}));
        form->down();
        QCOMPARE(selectedRows(), (std::vector<int>{5}));
        const int beeps = ui->beeps;
        form->down();
        QCOMPARE(ui->beeps, beeps + 1);
        QCOMPARE(selectedRows(), (std::vector<int>{5}));
        form->top();
        QCOMPARE(selectedRows(), (std::vector<int>{0, 1}));
    }

    void adjacentRowsAreSkippedByDown() {
        form->findChild<QButtonGroup*>("MatchingGroup")->button(2)->setChecked(true);
        openOlderFirst();
        QCOMPARE(form->model().data(form->model().index(0, 4), Qt::DisplayRole).toString(),
                 QString("T1 M06 (1/2 END MILL)"));
        QCOMPARE(selectedRows(), (std::vector<int>{1, 2}));
        form->down();
        QCOMPARE(selectedRows(), (std::vector<int>{4, 5}));
    }

    void listingShowsTheFileAtTheDifference() {
        openOlderFirst();
        form->down();  // rows 2-3: File 2 line 7, File 1 line 7
        form->listFile(2);
        TSummaryDlg& summary = form->summaryDialog();
        QVERIFY(summary.isVisible());
        QCOMPARE(summary.windowTitle(), QString("Listing for:  PART_OLD.TAP"));
        const auto lines = summary.memoLines();
        QCOMPARE(lines[2], std::string("Lines in PART_OLD.TAP: 17"));
        QCOMPARE(lines[10], std::string("  7: G01 Z-.2 F10."));
        // Selected from memo line 7 + 3, the text's length + 1 + 5 characters.
        QCOMPARE(summary.memo()->textCursor().selectedText(), QString("  7: G01 Z-.2 F10."));
        QCOMPARE(form->statusText(), QString(""));
    }

    void clickingALineNumberListsItsFile() {
        openOlderFirst();
        const QTableView* grid = form->grid();
        const QRect cell = grid->visualRect(form->model().index(1, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(form->summaryDialog().windowTitle(), QString("Listing for:  PART_NEW.TAP"));
        const int beeps = ui->beeps;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(form->model().index(1, 4)).center());
        QCOMPARE(ui->beeps, beeps + 1);
    }

    void savedDifferenceListIsTheExpectedFile() {
        openOlderFirst();
        const std::string target = pair->folder.file("PART_NEW.dif");
        ui->savedFiles.push_back(target);
        form->saveDifferenceList();
        QCOMPARE(ui->fileRequests.back().fileName, target);
        const std::string saved = pair->folder.read("PART_NEW.dif");
        QCOMPARE(saved, pair->expected("PART.dif", saved));
        QCOMPARE(form->statusText(),
                 QString::fromStdString("  Difference list for " + pair->newer + " saved to PART_NEW.dif"));
    }

    void savedSummaryIsTheExpectedFile() {
        form->findChild<QButtonGroup*>("MatchingGroup")->button(2)->setChecked(true);
        openOlderFirst();
        button("SummaryButton")->click();
        TSummaryDlg& summary = form->summaryDialog();
        QCOMPARE(summary.windowTitle(), QString("Summary Report"));
        ui->savedFiles.push_back(pair->folder.file("Summary.lst"));
        summary.findChild<QPushButton*>("SaveButton")->click();
        QCOMPARE(ui->fileRequests.back().fileName, std::string("Summary.lst"));
        const std::string saved = pair->folder.read("Summary.lst");
        QCOMPARE(saved, pair->expected("PART.lst", saved));
    }

    void secondRunAndSecondSummaryAddAgain() {
        openOlderFirst();
        form->compare();
        form->showSummary();
        form->showSummary();
        const auto& text = form->summaryDialog().summaryText();
        QCOMPARE(std::count(text.begin(), text.end(), std::string("  There are 4 differences.")), 2L);
        QCOMPARE(std::count(text.begin(), text.end(), std::string("Comments:")), 2L);
    }

    void copyAndCutRows() {
        openOlderFirst();
        form->down();
        form->copyRows();
        QCOMPARE(form->summaryDialog().windowTitle(), QString("Saving to Clipboard"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("Lines:  /007 to 007/\nG01 Z-.2 F10.\nG01 Z-.25 F12."));
        QCOMPARE(form->statusText(), QString("  2 Lines copied"));
        form->cutRows();
        QCOMPARE(form->model().rowCount(), 4);
        QCOMPARE(form->model().data(form->model().index(2, 1), Qt::DisplayRole).toString(), QString("Add"));
    }

    void droppedFilesArePreparedWithoutARun() {
        form->dropFiles({QString::fromStdString(pair->older)});
        QCOMPARE(form->statusText(), QString::fromStdString("  Received: " + pair->older));
        QCOMPARE(form->state(), TGridForm::Initial);
        form->dropFiles({QString::fromStdString(pair->newer)});
        QCOMPARE(form->state(), TGridForm::FilesReady);
        QCOMPARE(form->file1(), pair->newer);
        QCOMPARE(form->statusText(), QString("  READY"));
        QVERIFY(button("CompareButton")->isEnabled());
        QVERIFY(!button("SummaryButton")->isEnabled());
        button("CompareButton")->click();
        QCOMPARE(form->state(), TGridForm::Done);
    }

    void filesDroppedFromTheDesktopArrive() {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(pair->older)),
                      QUrl::fromLocalFile(QString::fromStdString(pair->newer))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &drop);
        QCOMPARE(form->state(), TGridForm::FilesReady);
        QCOMPARE(form->file1(), pair->newer);
        QCOMPARE(form->file2(), pair->older);
    }

    void identicalFilesLeaveTheOutputOff() {
        ui->openedFiles.push_back({pair->newer});
        ui->openedFiles.push_back({pair->newer});
        form->openFiles();
        QCOMPARE(form->statusText(), QString("  *** Files are Identical. ***  --- (for options set)"));
        QVERIFY(button("SummaryButton")->isEnabled());
        QVERIFY(!button("DownButton")->isEnabled());
        QVERIFY(!action("actionSaveDifferenceList")->isEnabled());
        QCOMPARE(form->summaryDialog().summaryText()[2], std::string(" File is compared to itself?"));
    }

    void badFilesAreRefusedWithTheirMessages() {
        const std::string dll = pair->folder.write("TOOL.DLL", "G00\n");
        ui->openedFiles.push_back({dll});
        ui->openedFiles.push_back({pair->newer});
        form->openFiles();
        QCOMPARE(ui->texts().back(), std::string("Non-ASCII Files can't be analyzed.\n(in this version)"));
        QCOMPARE(form->state(), TGridForm::Initial);

        const std::string empty = pair->folder.write("EMPTY.TAP", "");
        ui->openedFiles.push_back({empty});
        ui->openedFiles.push_back({pair->newer});
        form->openFiles();
        QCOMPARE(ui->texts().back(), std::string("Empty file(s) ???"));
        QCOMPARE(form->state(), TGridForm::FilesReady);

        // A file gone between choosing and running.
        form->dropFiles({QString::fromStdString(pair->older), QString::fromStdString(pair->newer)});
        std::remove(pair->older.c_str());
        form->compare();
        QCOMPARE(ui->texts().back(),
                 "Cannot load file: " + pair->older + "\n to source list for processing.");
        QCOMPARE(form->state(), TGridForm::Initial);
        QVERIFY(form->file1().empty() && form->file2().empty());
        QCOMPARE(form->statusText(), QString(""));
    }

    void longRunsBecomeCancellable() {
        // Every look at the clock is a second later: the run turns
        // cancellable at once, and the Cancel click is seen by the next step.
        long long seconds = 0;
        form->setClock([&seconds] { return std::chrono::milliseconds(1000 * seconds++); });
        std::string big;
        for (int i = 0; i < 2000; ++i) big += "N" + std::to_string(i) + " G01 X" + std::to_string(i) + "\n";
        const std::string other = pair->folder.write("OTHER.TAP", big + "M30\n");
        form->dropFiles({QString::fromStdString(pair->folder.write("BIG.TAP", big)), QString::fromStdString(other)});
        QString caption;
        std::function<void()> clickCancel = [&] {
            caption = button("CompareButton")->text();
            if (caption == "&Cancel")
                button("CompareButton")->click();
            else
                QTimer::singleShot(0, this, clickCancel);
        };
        QTimer::singleShot(0, this, clickCancel);
        form->compare();
        QCOMPARE(caption, QString("&Cancel"));
        QCOMPARE(form->state(), TGridForm::Initial);
        QCOMPARE(form->statusText(), QString(""));
        QVERIFY(!form->model().hasRows());
        QCOMPARE(button("CompareButton")->text(), QString("&Compare"));
    }

    void optionsAndFoldersAreKept() {
        action("actionCaseSensitive")->trigger();
        action("actionLabelBlankLines")->trigger();
        form->findChild<QButtonGroup*>("DisplayedGroup")->button(1)->setChecked(true);
        openOlderFirst();
        form->close();
        const compare::CompareSettings kept = compare::ReadCompareSettings(settingsFile);
        QVERIFY(kept.options.caseSensitive);
        QVERIFY(kept.options.labelBlankLines);
        QVERIFY(!kept.options.excludeLeadingWhitespace);
        QCOMPARE(int(kept.options.displayed), 1);
        QCOMPARE(kept.folder1, pair->folder.path());
        QVERIFY(pair->folder.read("zantor.INI").find("[Match Options]") != std::string::npos);

        TGridForm again(*ui, settingsFile, [] { return QFont(); });
        QVERIFY(again.findChild<QAction*>("actionCaseSensitive")->isChecked());
        QVERIFY(again.findChild<QButtonGroup*>("DisplayedGroup")->button(1)->isChecked());
    }

    void helpAsksForItsPage() {
        QSignalSpy help(form.get(), &TGridForm::helpRequested);
        action("actionHelp")->trigger();
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.front().front().toInt(), 108);
    }

    void summaryCopyNeedsASelection() {
        openOlderFirst();
        form->showSummary();
        form->summaryDialog().findChild<QPushButton*>("CopyButton")->click();
        QCOMPARE(ui->texts().back(), std::string("Select a block of text to copy."));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::TGridFormTest)
#include "tgrid_form_test.moc"
