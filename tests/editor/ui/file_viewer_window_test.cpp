#include "editor/ui/file_viewer_window.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include "scripted_interaction.h"
#include "temp_folder.h"

namespace zantor::editor {

class FileViewerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheFileChosenInTheDialogAndShowsItsText();
    void hexModeShowsTheTwentyByteFileInTwoLinesAndSwitchesBack();
    void aFileThatCannotBeOpenedGivesTheSystemText();
    void scrollsToTheEndOfALongFileAndBack();
    void exitClosesTheFileAndTheWindow();

private:
    testing::TempFolder folder_;
    testing::ScriptedInteraction interaction_;
};

void FileViewerWindowTest::opensTheFileChosenInTheDialogAndShowsItsText() {
    const std::string path = folder_.write("P.TAP", "G1\tX5\r\nM30\r\n");
    FileViewerWindow window(interaction_);
    QCOMPARE(window.windowTitle(), QString("File Viewer"));
    QVERIFY(window.area()->visibleLines().isEmpty());
    interaction_.openedFiles.push_back({path});
    window.openAction()->trigger();
    QCOMPARE(interaction_.fileRequests.back().defaultSuffix, std::string("TAP"));
    QCOMPARE(window.windowTitle(), "File Viewer - " + QString::fromStdString(path));
    QCOMPARE(window.area()->visibleLines(), (QStringList{"G1      X5", "M30"}));
}

void FileViewerWindowTest::hexModeShowsTheTwentyByteFileInTwoLinesAndSwitchesBack() {
    const std::string path = folder_.write("B.TAP", "N10 G1 X1.5 Y2\r\nM30\r");
    FileViewerWindow window(interaction_);
    window.resize(800, 400);
    QVERIFY(window.openFile(path));
    window.hexAction()->setChecked(true);
    const QStringList hex = window.area()->visibleLines();
    QCOMPARE(hex.size(), 2);
    QCOMPARE(
        hex[0],
        QString("00000000  4E 31 30 20 47 31 20 58 31 2E 35 20 59 32 0D 0A  N10 G1 X1.5 Y2.."));
    QCOMPARE(hex[1], "00000010  4D 33 30 0D " + QString(36, ' ') + " M30.");
    window.hexAction()->setChecked(false);
    QCOMPARE(window.area()->visibleLines(), (QStringList{"N10 G1 X1.5 Y2", "M30"}));
}

void FileViewerWindowTest::aFileThatCannotBeOpenedGivesTheSystemText() {
    const std::string path = folder_.write("P.TAP", "G1\r\n");
    FileViewerWindow window(interaction_);
    QVERIFY(window.openFile(path));
    interaction_.messages.clear();
    QVERIFY(!window.openFile(folder_.file("MISSING.TAP")));
    QCOMPARE(interaction_.messages.size(), size_t(1));
    QCOMPARE(interaction_.messages[0].text, std::string("No such file or directory"));
    QCOMPARE(window.windowTitle(), "File Viewer - " + QString::fromStdString(path));
    QCOMPARE(window.area()->visibleLines(), QStringList{"G1"});
}

void FileViewerWindowTest::scrollsToTheEndOfALongFileAndBack() {
    std::string text;
    for (int n = 1; n <= 3000; ++n) text += "N" + std::to_string(n) + " G1\r\n";
    FileViewerWindow window(interaction_);
    window.resize(600, 300);
    QVERIFY(window.openFile(folder_.write("LONG.TAP", text)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FileViewerArea* area = window.area();
    QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier);
    QStringList lines = area->visibleLines();
    QCOMPARE(lines.last(), QString("N3000 G1"));
    QVERIFY(lines.size() > 3);
    area->scrollLines(-2);
    QCOMPARE(area->visibleLines().first(),
             "N" + QString::number(lines.first().mid(1).split(' ')[0].toInt() - 2) + " G1");
    QTest::keyClick(area, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(area->visibleLines().first(), QString("N1 G1"));
    QTest::keyClick(area, Qt::Key_Down);
    QCOMPARE(area->visibleLines().first(), QString("N2 G1"));
    // The scroll bar's arrows and the wheel move by lines in text mode too.
    area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(area->visibleLines().first(), QString("N3 G1"));
    QWheelEvent wheel(QPointF(10, 10), area->mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &wheel);
    QCOMPARE(area->visibleLines().first(), QString("N6 G1"));
    area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(area->visibleLines().first(), QString("N5 G1"));
    // The same in hex: the last line holds the file's last bytes.
    window.hexAction()->setChecked(true);
    QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(area->visibleLines().last().endsWith("G1.."));
}

void FileViewerWindowTest::exitClosesTheFileAndTheWindow() {
    FileViewerWindow window(interaction_);
    QVERIFY(window.openFile(folder_.write("P.TAP", "G1\r\n")));
    window.show();
    window.exitAction()->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(!window.model().isOpen());
    QCOMPARE(window.windowTitle(), QString("File Viewer"));
}

}  // namespace zantor::editor

QTEST_MAIN(zantor::editor::FileViewerWindowTest)
#include "file_viewer_window_test.moc"
