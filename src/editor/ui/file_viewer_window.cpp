#include "editor/ui/file_viewer_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "core/file_io.h"
#include "core/interaction.h"

namespace zantor::editor {

namespace {

constexpr int kHexLineLength = 75;
constexpr int kMargin = 4;

}  // namespace

FileViewerArea::FileViewerArea(const FileViewerModel& model, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    viewport()->setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &FileViewerArea::stepByLines);
    updateScrollBars();
}

void FileViewerArea::stepByLines(int action) {
    int lines = 0;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            lines = 1;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            lines = -1;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            lines = pageLines() - 1;
            break;
        case QAbstractSlider::SliderPageStepSub:
            lines = -(pageLines() - 1);
            break;
        default:
            return;
    }
    scrollLines(lines);
    verticalScrollBar()->setSliderPosition(verticalScrollBar()->value());
}

void FileViewerArea::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) scrollLines(-3 * notches);
    event->accept();
}

int FileViewerArea::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int FileViewerArea::pageLines() const {
    return std::max(1, viewport()->height() / lineHeight());
}

void FileViewerArea::setHexMode(bool on) {
    if (hexMode_ == on) return;
    // Keep roughly the same place in the file.
    const long long byte = hexMode_ ? top_ * FileViewerModel::kHexBytesPerLine : top_;
    hexMode_ = on;
    top_ = hexMode_ ? byte / FileViewerModel::kHexBytesPerLine
                    : (model_.isOpen() ? model_.lineStartAt(byte) : 0);
    updateScrollBars();
    viewport()->update();
}

void FileViewerArea::reset() {
    top_ = 0;
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

long long FileViewerArea::textScrollScale() const {
    return std::max(1LL, model_.size() / (INT_MAX / 2) + 1);
}

void FileViewerArea::updateScrollBars() {
    syncing_ = true;
    QScrollBar* vertical = verticalScrollBar();
    if (!model_.isOpen()) {
        vertical->setRange(0, 0);
    } else if (hexMode_) {
        const long long lastTop = std::max(0LL, model_.hexLineCount() - pageLines());
        vertical->setRange(0, int(std::min<long long>(lastTop, INT_MAX)));
        vertical->setPageStep(pageLines());
    } else {
        vertical->setRange(0, int(model_.size() / textScrollScale()));
        vertical->setPageStep(int(std::min<long long>(INT_MAX, 80LL * pageLines())));
    }
    const int widest = hexMode_ ? kHexLineLength : FileViewerModel::kMaxViewerLineLength;
    const int columns =
        std::max(1, viewport()->width() / std::max(1, fontMetrics().horizontalAdvance('0')));
    horizontalScrollBar()->setRange(0, std::max(0, widest - columns));
    horizontalScrollBar()->setPageStep(columns);
    syncing_ = false;
    syncScrollValue();
}

void FileViewerArea::syncScrollValue() {
    syncing_ = true;
    const long long value = hexMode_ ? top_ : top_ / textScrollScale();
    verticalScrollBar()->setValue(int(std::min<long long>(value, INT_MAX)));
    syncing_ = false;
}

void FileViewerArea::jumpToScrollValue(int value) {
    if (!model_.isOpen()) return;
    if (hexMode_) {
        // Past 2^31 lines the bar's end stands for the file's end.
        top_ = value >= verticalScrollBar()->maximum()
                   ? std::max(0LL, model_.hexLineCount() - pageLines())
                   : value;
    } else if (value >= verticalScrollBar()->maximum()) {
        top_ = model_.lastScreenTop(pageLines());
    } else {
        top_ = model_.lineStartAt((long long)value * textScrollScale());
    }
}

void FileViewerArea::scrollContentsBy(int, int dy) {
    if (dy != 0 && !syncing_) jumpToScrollValue(verticalScrollBar()->value());
    viewport()->update();
}

void FileViewerArea::scrollLines(int lines) {
    if (!model_.isOpen()) return;
    if (hexMode_) {
        const long long lastTop = std::max(0LL, model_.hexLineCount() - pageLines());
        top_ = std::clamp(top_ + lines, 0LL, lastTop);
    } else {
        const long long lastTop = model_.lastScreenTop(pageLines());
        for (; lines > 0 && top_ < lastTop; --lines) top_ = model_.textLine(top_).next;
        for (; lines < 0 && top_ > 0; ++lines) top_ = model_.previousLineStart(top_);
    }
    syncScrollValue();
    viewport()->update();
}

void FileViewerArea::scrollToEnd() {
    if (!model_.isOpen()) return;
    top_ = hexMode_ ? std::max(0LL, model_.hexLineCount() - pageLines())
                    : model_.lastScreenTop(pageLines());
    syncScrollValue();
    viewport()->update();
}

QStringList FileViewerArea::visibleLines() const {
    QStringList lines;
    if (!model_.isOpen()) return lines;
    const int count = pageLines() + 1;  // the last one may show in part
    if (hexMode_) {
        for (long long line = top_; line < model_.hexLineCount() && lines.size() < count; ++line)
            lines << QString::fromLatin1(model_.hexLine(line));
    } else {
        for (long long offset = top_; offset < model_.size() && lines.size() < count;) {
            const auto line = model_.textLine(offset);
            lines << QString::fromLatin1(line.text);
            offset = line.next;
        }
    }
    return lines;
}

void FileViewerArea::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    painter.setPen(palette().text().color());
    const int height = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int firstColumn = horizontalScrollBar()->value();
    int y = 0;
    for (const QString& line : visibleLines()) {
        painter.drawText(kMargin, y + ascent, line.mid(firstColumn));
        y += height;
    }
}

void FileViewerArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FileViewerArea::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Down:
            scrollLines(1);
            break;
        case Qt::Key_Up:
            scrollLines(-1);
            break;
        case Qt::Key_PageDown:
            scrollLines(pageLines() - 1);
            break;
        case Qt::Key_PageUp:
            scrollLines(-(pageLines() - 1));
            break;
        case Qt::Key_Home:
            if (control)
                reset();
            else
                horizontalScrollBar()->setValue(0);
            break;
        case Qt::Key_End:
            if (control)
                scrollToEnd();
            else
                horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
            break;
        case Qt::Key_Left:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

FileViewerWindow::FileViewerWindow(Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), interaction_(interaction) {
    area_ = new FileViewerArea(model_, this);
    setCentralWidget(area_);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    openAction_ = file->addAction(tr("&Open"), this, &FileViewerWindow::chooseFile);
    openAction_->setShortcut(QKeySequence::Open);
    exitAction_ = file->addAction(tr("E&xit"), this, &QWidget::close);
    QMenu* mode = menuBar()->addMenu(tr("&Mode"));
    hexAction_ = mode->addAction(tr("View as &Hex"));
    hexAction_->setCheckable(true);
    connect(hexAction_, &QAction::toggled, area_, &FileViewerArea::setHexMode);

    resize(720, 480);
    updateCaption();
}

void FileViewerWindow::chooseFile() {
    FileDialogRequest request;
    request.title = "Open";
    request.filter = "All Files (*)";
    request.defaultSuffix = "TAP";
    const std::vector<std::string> files = interaction_.openFiles(request);
    if (!files.empty()) openFile(files.front());
}

bool FileViewerWindow::openFile(const std::string& path) {
    try {
        model_.open(path);
    } catch (const FileError& error) {
        interaction_.showError(error.what());
        return false;
    }
    area_->reset();
    updateCaption();
    return true;
}

void FileViewerWindow::updateCaption() {
    setWindowTitle(model_.isOpen() ? tr("File Viewer - ") + QFile::decodeName(model_.path().c_str())
                                   : tr("File Viewer"));
}

void FileViewerWindow::closeEvent(QCloseEvent* event) {
    model_.close();
    area_->reset();
    updateCaption();
    QMainWindow::closeEvent(event);
}

}  // namespace zantor::editor
