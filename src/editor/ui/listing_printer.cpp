#include "editor/ui/listing_printer.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <cmath>

#include "session/run_state.h"

namespace zantor::editor {

namespace {

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QRect printableArea(QPrinter& printer) {
    return printer.pageLayout().paintRectPixels(printer.resolution());
}

// Draws `text` with its top at y.
void drawAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

class FormattedListing {
public:
    FormattedListing(QPainter& painter, const ListingOptions& options)
        : painter_(painter), options_(options) {
        bold_ = options.font;
        bold_.setBold(true);
        normal_ = options.font;
        normal_.setBold(false);
        italic_ = normal_;
        italic_.setItalic(true);
    }

    void print(QPrinter& printer, const std::vector<std::string>& lines,
               const std::vector<ListingPage>& pages) {
        const int pageWidth = printableArea(printer).width();
        const int lineHeight = listingMetrics(printer, options_).lineHeight;
        const int left = int(std::lround(printer.logicalDpiX() * options_.marginLeft));
        for (const ListingPage& page : pages) {
            if (page.number > 1) printer.newPage();
            // A hair line at printer resolution would all but vanish.
            painter_.setPen(QPen(Qt::black, std::max(1, printer.logicalDpiX() / 100)));
            painter_.setFont(options_.font);
            painter_.drawRect(QRect(QPoint(6, page.frameTop),
                                    QPoint(pageWidth - 6, page.frameTop + 4 * lineHeight)));
            const auto header = ListingHeaderLines(options_.fileName, options_.now, page.number,
                                                   options_.byteCount);
            // The header lines start near the frame's edge, not at the margin.
            for (size_t i = 0; i < header.size(); ++i)
                drawAt(painter_, 10, page.headerY[i], latin1(header[i]));
            for (const PlacedLine& placed : page.lines)
                printLine(lines[size_t(placed.index)], left, placed.y);
        }
    }

private:
    void printLine(const std::string& line, int x, int y) {
        const std::vector<ListingStyle> styles =
            StyleListingLine(line, options_.commentStart, options_.commentEnd);
        for (size_t i = 0; i < line.size(); ++i) {
            const ListingStyle style = styles[i];
            const QFont& font = options_.colour ? normal_
                                : style == ListingStyle::Comment  ? italic_
                                : style == ListingStyle::NonAlpha ? normal_
                                                                  : bold_;
            painter_.setFont(font);
            painter_.setPen(!options_.colour                    ? QColor(Qt::black)
                            : style == ListingStyle::Comment  ? options_.commentColor
                            : style == ListingStyle::NonAlpha ? options_.nonAlphaColor
                                                              : options_.alphaColor);
            const QChar c = QChar::fromLatin1(line[i]);
            drawAt(painter_, x, y, QString(c));
            const int width = painter_.fontMetrics().horizontalAdvance(c);
            // Italic characters get a tenth more room.
            x += style == ListingStyle::Comment ? int(std::lround(1.1 * width)) : width;
        }
    }

    QPainter& painter_;
    const ListingOptions& options_;
    QFont bold_, normal_, italic_;
};

// The listing as a text device prints it: a banner, then the lines indented
// by the left margin in blanks, running on to new pages as they fill.
void printPlain(QPrinter& printer, QPainter& painter, const std::vector<std::string>& lines,
                const ListingOptions& options) {
    painter.setFont(options.font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.height();
    const int bottom = printableArea(printer).height();
    const int blank = std::max(1, metrics.horizontalAdvance(' '));
    const QString indent(
        int(std::lround(printer.logicalDpiX() * options.marginLeft / blank)), ' ');
    int y = 0;
    const auto write = [&](const QString& text) {
        if (y + lineHeight > bottom && y > 0) {
            printer.newPage();
            y = 0;
        }
        drawAt(painter, 0, y, text);
        y += lineHeight;
    };
    const std::string name = QFileInfo(latin1(options.fileName)).fileName().toStdString();
    write(latin1(PlainListingBanner(name, options.now)));
    for (const std::string& line : lines) write(indent + latin1(line));
}

}  // namespace

ListingMetrics listingMetrics(QPrinter& printer, const ListingOptions& options) {
    const QFontMetrics metrics(options.font, &printer);
    return {.dpiX = printer.logicalDpiX(),
            .dpiY = printer.logicalDpiY(),
            .lineHeight = metrics.boundingRect("Hg").height(),
            .pageBottom = printableArea(printer).height(),
            .marginTop = options.marginTop,
            .marginBottom = options.marginBottom};
}

bool printListing(QPrinter& printer, const std::vector<std::string>& lines,
                  const ListingOptions& options) {
    const QString name = QFileInfo(latin1(options.fileName)).fileName();
    printer.setDocName(QString(kProductCaption) + " :" + name);
    // Laid out before the job starts, so refused margins print nothing.
    std::vector<ListingPage> pages;
    if (options.pretty) pages = LayOutListing(lines, listingMetrics(printer, options));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int copy = 0; copy < std::max(1, options.copies); ++copy) {
        if (copy > 0) printer.newPage();
        if (options.pretty)
            FormattedListing(painter, options).print(printer, lines, pages);
        else
            printPlain(printer, painter, lines, options);
    }
    return painter.end();
}

}  // namespace zantor::editor
