#include "dnc/ui/protocol_status.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "dnc/port/file_transfer.h"
#include "fake_port_rig.h"
#include "temp_folder.h"

namespace zantor {

class ProtocolStatusTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryLabelInItsOrder() {
        ProtocolStatus window;
        QCOMPARE(window.windowTitle(), QString("Protocol Status"));
        QStringList labels;
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->text().endsWith(':')) labels << label->text();
        const QStringList expected = {
            "Protocol:",           "Block check:",     "File name:",      "File size:",
            "Block size:",         "Total Blocks:",    "Bytes transferred:", "Bytes remaining:",
            "Blocks transferred:", "Blocks remaining:", "Block errors:",  "Total errors:",
            "Estimated time:",     "Elapsed time:",    "Remaining time:", "Throughput:",
            "Efficiency:",         "Kermit windows:",  "Status:",         "Progress:"};
        QCOMPARE(labels, expected);
        QCOMPARE(window.cancelButton()->text(), QString("Cancel"));
        QVERIFY(!window.isModal());
    }

    // A send on the fake line at 9600 baud, watched and cancelled from the window.
    void followsASendAndCancelsIt() {
        testing::FakePortRig rig;
        rig.port.setLineSettings({9600, 8, TParity::pNone, 1});
        QVERIFY(!rig.port.open());
        testing::TempFolder folder;
        FileTransfer transfer(rig.port);
        ProtocolStatus window;
        transfer.StatusDisplay = &window;
        int finished = 1;
        connect(&transfer, &FileTransfer::OnProtocolFinish, [&](int c) { finished = c; });
        transfer.FileMask = folder.write("O1.TAP", std::string(9600, 'N'));
        transfer.startTransmit();
        QVERIFY(window.isVisible());
        rig.clock.advance(std::chrono::seconds(5));
        QCOMPARE(window.valueOf("Protocol:"), QString("Ascii"));
        QCOMPARE(window.valueOf("File name:"), QString::fromStdString(transfer.FileMask));
        QCOMPARE(window.valueOf("File size:"), QString("9600"));
        QCOMPARE(window.valueOf("Status:"), QString("OK"));
        const int sent = window.valueOf("Bytes transferred:").toInt();
        QVERIFY2(sent > 4000 && sent < 5000, qPrintable(QString::number(sent)));
        QVERIFY(window.progressBar()->value() > 400 && window.progressBar()->value() < 500);
        // The line's 960 characters a second, all of it used.
        const QString throughput = window.valueOf("Throughput:");
        QVERIFY2(throughput.endsWith(" CPS"), qPrintable(throughput));
        const int cps = throughput.section(' ', 0, 0, QString::SectionSkipEmpty).toInt();
        QVERIFY2(cps >= 900 && cps <= 960, qPrintable(throughput));
        QVERIFY(window.valueOf("Efficiency:").endsWith('%'));
        QVERIFY(window.valueOf("Efficiency:").chopped(1).trimmed().toInt() >= 94);
        QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
        QCOMPARE(finished, -6005);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.valueOf("Status:"), QString("Cancel requested"));
        QVERIFY(!transfer.inProgress());
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::ProtocolStatusTest)
#include "protocol_status_test.moc"
