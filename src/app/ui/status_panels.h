#pragma once

#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace zantor {

namespace editor {
class TMDIChild;
}

// The six panels at the bottom of the main window: caret, modified, total
// lines, top line, bytes and insert mode of the active editor window. While a
// hint shows in the bar the panels step aside.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar& bar);

    // Fills the panels from the window; all empty without one.
    void show(const editor::TMDIChild* window);
    QString text(int panel) const;  // panel 1..6

private:
    std::array<QLabel*, 6> panels_{};
};

}  // namespace zantor
