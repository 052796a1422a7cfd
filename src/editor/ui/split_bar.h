#pragma once

#include <QFrame>

namespace zantor::editor {

// The 5-pixel bar between the two views of a split window. Dragging it shows
// a one-pixel line across the window where the bar will go; on release the
// bar is moved there. A press and release without a drawn line changes
// nothing.
class SplitBar : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 5;
    explicit SplitBar(QWidget* window);
    ~SplitBar() override;

signals:
    // How far the pointer went up between press and release, in pixels.
    void movedUp(int pixels);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* window_;
    QWidget* line_;
    int pressY_ = 0;  // screen y of the press
    int lineY_ = -1;  // screen y of the drawn line, -1 while none
};

}  // namespace zantor::editor
