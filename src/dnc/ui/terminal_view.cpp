#include "dnc/ui/terminal_view.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "core/text_util.h"

namespace zantor {

namespace {

constexpr int kBlinkMilliseconds = 550;

QColor ansiColour(uint8_t index) {
    static const QColor colours[16] = {
        QColor(0, 0, 0),       QColor(170, 0, 0),     QColor(0, 170, 0),
        QColor(170, 85, 0),    QColor(0, 0, 170),     QColor(170, 0, 170),
        QColor(0, 170, 170),   QColor(170, 170, 170), QColor(85, 85, 85),
        QColor(255, 85, 85),   QColor(85, 255, 85),   QColor(255, 255, 85),
        QColor(85, 85, 255),   QColor(255, 85, 255),  QColor(85, 255, 255),
        QColor(255, 255, 255)};
    return colours[index & 0x0F];
}

const QColor kScreenText(Qt::yellow);
const QColor kScreenBackground(Qt::black);

QFont terminalFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Where there is no such font, the system's own fixed-pitch one.
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

}  // namespace

TerminalView::TerminalView(QWidget* parent)
    : QAbstractScrollArea(parent), blink_(new QTimer(this)) {
    setObjectName("TerminalScreen");
    setFont(terminalFont());
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, kScreenBackground);
    p.setColor(QPalette::Window, kScreenBackground);
    viewport()->setPalette(p);
    blink_->setInterval(kBlinkMilliseconds);
    connect(blink_, &QTimer::timeout, this, [this] {
        cursorShown_ = !cursorShown_;
        viewport()->update();
    });
    updateScrollBars();
}

int TerminalView::cellWidth() const {
    return std::max(fontMetrics().horizontalAdvance(QLatin1Char('M')), 1);
}

int TerminalView::cellHeight() const {
    return std::max(fontMetrics().height(), 1);
}

QSize TerminalView::sizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(screen_.columns() * cellWidth() + verticalScrollBar()->sizeHint().width() + frame,
                 screen_.rows() * cellHeight() + horizontalScrollBar()->sizeHint().height() +
                     frame);
}

void TerminalView::screenChanged() {
    if (screen_.changes() == drawn_) return;
    drawn_ = screen_.changes();
    updateScrollBars();
    showCursorLine();
    viewport()->update();
}

void TerminalView::showCursorLine() {
    // New output is where the cursor is: it comes into view, as on any terminal.
    QScrollBar* bar = verticalScrollBar();
    const int visibleRows = std::max(viewport()->height() / cellHeight(), 1);
    const int cursor = screen_.cursorLine();
    if (cursor < bar->value())
        bar->setValue(cursor);
    else if (cursor >= bar->value() + visibleRows)
        bar->setValue(cursor - visibleRows + 1);
}

void TerminalView::updateScrollBars() {
    const int visibleRows = std::max(viewport()->height() / cellHeight(), 1);
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(screen_.lineCount() - visibleRows, 0));
    vertical->setPageStep(visibleRows);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(screen_.columns() * cellWidth() - viewport()->width(), 0));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(cellWidth());
}

void TerminalView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    showCursorLine();
}

void TerminalView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const int w = cellWidth(), h = cellHeight(), ascent = fontMetrics().ascent();
    const int first = verticalScrollBar()->value();
    const int x0 = -horizontalScrollBar()->value();
    const int visibleRows = viewport()->height() / h + 1;
    painter.fillRect(viewport()->rect(), kScreenBackground);
    for (int row = 0; row < visibleRows && first + row < screen_.lineCount(); ++row) {
        const std::vector<TerminalCell>& line = screen_.line(first + row);
        const int y = row * h;
        // Runs of cells with the same look are drawn as one piece of text.
        for (size_t start = 0; start < line.size();) {
            size_t end = start + 1;
            while (end < line.size() && line[end].attributes == line[start].attributes) ++end;
            const CellAttributes& a = line[start].attributes;
            QColor fore = a.foreground == kDefaultColour
                              ? kScreenText
                              : ansiColour(uint8_t(a.foreground + (a.bold && a.foreground < 8 ? 8 : 0)));
            QColor back = a.background == kDefaultColour ? kScreenBackground : ansiColour(a.background);
            if (a.reverse) std::swap(fore, back);
            QString text;
            for (size_t i = start; i < end; ++i) text += QChar(uchar(line[i].ch));
            const QRect cells(x0 + int(start) * w, y, int(end - start) * w, h);
            if (back != kScreenBackground) painter.fillRect(cells, back);
            painter.setPen(fore);
            for (int i = 0; i < text.size(); ++i)
                if (text[i] != QLatin1Char(' '))
                    painter.drawText(cells.x() + i * w, y + ascent, QString(text[i]));
            start = end;
        }
    }
    if (hasFocus() && cursorShown_) {
        const int row = screen_.cursorLine() - first;
        if (row >= 0 && row < visibleRows)
            painter.fillRect(x0 + screen_.cursorColumn() * w, row * h + h - 2, w, 2, kScreenText);
    }
}

void TerminalView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit keyTyped("\r", true);
        return;
    }
    const QString text = event->text();
    if (text.isEmpty()) return QAbstractScrollArea::keyPressEvent(event);
    const std::optional<std::string> latin1 = utf8ToLatin1(text.toStdString());
    if (latin1 && !latin1->empty()) emit keyTyped(*latin1, false);
}

bool TerminalView::focusNextPrevChild(bool) {
    return false;  // Tab is a key for the machine, not a move to the next button
}

void TerminalView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    cursorShown_ = true;
    blink_->start();
    viewport()->update();
}

void TerminalView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blink_->stop();
    viewport()->update();
}

}  // namespace zantor
