#include "app/ui/print_commands.h"

#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <memory>

#include "app/ui/main_form.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "main_window_fixture.h"
#include "session/app_session.h"

namespace zantor {

using editor::TMDIChild;

// Listings printed to PDF and read back as text, page by page.
class PrintCommandsTest : public QObject, public testing::MainWindowFixture {
    Q_OBJECT
    PrintCommands* commands = nullptr;

    std::unique_ptr<QPrinter> pdfPrinter(const QString& file) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(dir->file(file.toStdString())));
        printer->setPageSize(QPageSize(QPageSize::Letter));
        return printer;
    }
    // The text of the PDF's pages as pdftotext reads it, one entry a page.
    QStringList pages(const QString& file) {
        QProcess p;
        p.start("pdftotext", {"-layout", QString::fromStdString(dir->file(file.toStdString())), "-"});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) qFatal("pdftotext failed");
        QStringList result = QString::fromLatin1(p.readAllStandardOutput()).split('\f');
        if (!result.isEmpty() && result.last().trimmed().isEmpty()) result.removeLast();
        return result;
    }
    static QStringList programLines(const QString& page) {
        QStringList lines;
        for (const QString& line : page.split('\n'))
            if (line.trimmed().startsWith('N')) lines << line.trimmed();
        return lines;
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QFAIL("pdftotext (poppler-utils) is needed: run scripts/setup");
    }
    void init() {
        setUp({.settings = "[GENERAL]\nPFONTNAME=DejaVu Sans Mono\nPFONTSIZE=10\n"},
              Opening::Hidden);
        commands = form->findChild<PrintCommands*>();
        QVERIFY(commands);
        commands->now = [] { return std::string("12/11/26 5:40 AM"); };
        session->state.CurrentSettings.Format.CommentStart = "(";
        session->state.CurrentSettings.Format.CommentEnd = ")";
    }
    void cleanup() { tearDown(); }

    void theHeaderGivesNameDatePageAndTapeLength() {
        // 600 characters: 5 feet of tape.
        std::string text;
        for (int i = 0; i < 50; ++i) text += "N" + std::to_string(1000 + i) + " G1 X\r\n";
        QCOMPARE(text.size(), size_t(600));
        TMDIChild* window = open("A1.TAP", text);
        QCOMPARE(window->ByteCount(), 600LL);
        auto printer = pdfPrinter("a1.pdf");
        QVERIFY(commands->printActiveWindow(*printer, false, 1));
        const QStringList text1 = pages("a1.pdf");
        QVERIFY(!text1.isEmpty());
        const QString first = text1[0];
        QVERIFY2(first.contains("File Name : " + QString::fromStdString(window->FileName())),
                 qPrintable(first));
        QVERIFY(first.contains("Time/Date : 12/11/26 5:40 AM"));
        QVERIFY(first.contains("Page # 1"));
        QVERIFY(first.contains(QRegularExpression("File Size : 600 Chars, +5\\.0 Feet, +1\\.5 Meters")));
        QCOMPARE(programLines(first).value(0), QString("N1000 G1 X"));
        QVERIFY(ui->messages.empty());
    }

    void aLongProgramBreaksIntoNumberedPagesWithoutLosingALine() {
        std::string text;
        const int count = 150;
        for (int i = 0; i < count; ++i) text += "N" + std::to_string(1000 + i) + " G1 X" + std::to_string(i) + "\r\n";
        TMDIChild* window = open("LONG.TAP", text);
        auto printer = pdfPrinter("long.pdf");
        const editor::ListingOptions options = commands->listingOptions(*window);
        const auto layout = editor::LayOutListing(editor::ListingLines(*window, false),
                                                  editor::listingMetrics(*printer, options));
        QVERIFY(commands->printActiveWindow(*printer, false, 1));
        const QStringList printed = pages("long.pdf");
        QCOMPARE(printed.size(), qsizetype(layout.size()));
        QVERIFY(printed.size() >= 3);
        QStringList all;
        for (qsizetype p = 0; p < printed.size(); ++p) {
            QVERIFY2(printed[p].contains(QString("Page # %1").arg(p + 1)), qPrintable(printed[p]));
            QVERIFY(printed[p].contains("File Name : "));
            const QStringList lines = programLines(printed[p]);
            // Each page holds the lines the layout gave it, the break falls
            // after the last of them.
            QCOMPARE(lines.size(), qsizetype(layout[size_t(p)].lines.size()));
            all << lines;
        }
        QCOMPARE(all.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(all[i], QString("N%1 G1 X%2").arg(1000 + i).arg(i));
        // A bigger bottom margin moves the break up.
        session->state.Settings.MarginBottom = 3.0;
        auto smaller = pdfPrinter("small.pdf");
        QVERIFY(commands->printActiveWindow(*smaller, false, 1));
        QVERIFY(programLines(pages("small.pdf")[0]).size() < programLines(printed[0]).size());
    }

    void theSelectionPrintsItsLinesOnly() {
        TMDIChild* window = open("SEL.TAP", "N10 G0\r\nN20 G1\r\nN30 X1 Y2\r\nN40 M5\r\nN50 M30\r\n");
        window->SetSelection({3, 5}, {4, 4});
        auto printer = pdfPrinter("sel.pdf");
        QVERIFY(commands->printActiveWindow(*printer, true, 1));
        const QString page = pages("sel.pdf").value(0);
        QVERIFY(page.contains("X1 Y2"));
        QVERIFY(!page.contains("N30"));
        QVERIFY(page.contains("N40"));
        QVERIFY(!page.contains("M5"));
        QVERIFY(!page.contains("N20"));
        QVERIFY(!page.contains("N50"));
    }

    void copiesRestartThePageNumbers() {
        open("TWO.TAP", "N10 G0\r\n");
        auto printer = pdfPrinter("two.pdf");
        QVERIFY(commands->printActiveWindow(*printer, false, 2));
        const QStringList printed = pages("two.pdf");
        QCOMPARE(printed.size(), 2);
        QVERIFY(printed[0].contains("Page # 1"));
        QVERIFY(printed[1].contains("Page # 1"));
    }

    void thePlainListingHasTheBannerAndIndentedLines() {
        session->state.Settings.PrettyPrint = false;
        open("PLAIN.TAP", "N10 G0\r\nN20 M30\r\n");
        auto printer = pdfPrinter("plain.pdf");
        QVERIFY(commands->printActiveWindow(*printer, false, 1));
        const QString page = pages("plain.pdf").value(0);
        const QStringList lines = page.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.value(0).trimmed() == "**** PLAIN.TAP -- 12/11/26 5:40 AM ****",
                 qPrintable(page));
        QVERIFY(!page.contains("Page #"));
        // The program lines stand right of the banner's start by the margin.
        const qsizetype bannerColumn = lines[0].indexOf('*');
        const qsizetype lineColumn = lines.value(1).indexOf("N10");
        QVERIFY2(lineColumn > bannerColumn + 3, qPrintable(page));
    }

    void marginsWithoutRoomAreRefusedAndNothingPrints() {
        session->state.Settings.MarginTop = 6.0;
        session->state.Settings.MarginBottom = 5.0;
        open("M.TAP", "N10 G0\r\n");
        auto printer = pdfPrinter("m.pdf");
        QVERIFY(!commands->printActiveWindow(*printer, false, 1));
        QCOMPARE(ui->messages.size(), size_t(1));
        QCOMPARE(ui->messages[0].text, std::string(editor::kMarginsTooLarge));
        QVERIFY(!QFile::exists(QString::fromStdString(dir->file("m.pdf"))));
    }

    void printingWithoutAWindowSaysSo() {
        commands->print();
        QCOMPARE(ui->messages.size(), size_t(1));
        QCOMPARE(ui->messages[0].text,
                 std::string("No File Currently Loaded\r\nSelect File Open/New First"));
    }
};

}  // namespace zantor

QTEST_MAIN(zantor::PrintCommandsTest)
#include "print_commands_test.moc"
