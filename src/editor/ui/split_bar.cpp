#include "editor/ui/split_bar.h"

#include <QMouseEvent>

namespace zantor::editor {

namespace {
// The pointer must stay this far inside the window for a line to be drawn.
constexpr int kEdgeDistance = 3;
}  // namespace

SplitBar::SplitBar(QWidget* window) : QFrame(window), window_(window), line_(new QWidget(window)) {
    setObjectName("SplitBar");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFixedHeight(kHeight);
    setCursor(Qt::SizeVerCursor);
    line_->setObjectName("SplitLine");
    line_->setAutoFillBackground(true);
    QPalette palette = line_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line_->setPalette(palette);
    line_->hide();
}

SplitBar::~SplitBar() {
    delete line_;
}

void SplitBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressY_ = event->globalPosition().toPoint().y();
    lineY_ = -1;
}

void SplitBar::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const int screenY = event->globalPosition().toPoint().y();
    const int y = window_->mapFromGlobal(QPoint(0, screenY)).y();
    if (y <= kEdgeDistance || y >= window_->height() - kEdgeDistance) return;
    line_->setGeometry(0, y, window_->width(), 1);
    line_->raise();
    line_->show();
    lineY_ = screenY;
}

void SplitBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || lineY_ < 0) return;
    line_->hide();
    const int moved = pressY_ - lineY_;
    lineY_ = -1;
    emit movedUp(moved);
}

}  // namespace zantor::editor
