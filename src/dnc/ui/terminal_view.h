#pragma once

#include <QAbstractScrollArea>
#include <string>

#include "dnc/terminal/terminal_screen.h"

class QTimer;

namespace zantor {

// The terminal screen of the DNC window: the screen model drawn in a
// fixed-pitch font (yellow on black unless ANSI colours say otherwise),
// 12 rows of 68 columns with both scroll bars over the scroll-back, and a
// cursor that blinks every 550 ms. Typed keys are reported, not shown: the
// window decides what goes to the port and what is echoed.
class TerminalView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TerminalView(QWidget* parent = nullptr);

    TerminalScreen& screen() { return screen_; }
    const TerminalScreen& screen() const { return screen_; }
    // Redraws after the model changed; keeps the bottom in view unless the
    // user has scrolled back.
    void screenChanged();

    QSize sizeHint() const override;

signals:
    // `text` in Latin-1; `enter` for the Enter keys.
    void keyTyped(const std::string& text, bool enter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void updateScrollBars();
    void showCursorLine();
    int cellWidth() const;
    int cellHeight() const;

    TerminalScreen screen_;
    QTimer* blink_;
    bool cursorShown_ = true;
    uint64_t drawn_ = 0;
};

}  // namespace zantor
