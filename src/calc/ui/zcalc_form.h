#pragma once

#include <QWidget>

#include "calc/desk_calculator.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace zantor {

// "Zantor-Calc": the desk calculator beside the editors, not modal; its
// tape and memory last as long as the program runs. Keys work from the
// keyboard too; "&Copy To Clipboard" copies the display's value.
class TZcalcform : public QWidget {
    Q_OBJECT
public:
    explicit TZcalcform(QWidget* parent = nullptr);
    void press(const QString& key);
    QString display() const;
    int tapeLines() const;
    void copyToClipboard();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void refresh();

    DeskCalculator calc_;
    QLineEdit* display_ = nullptr;
    QListWidget* tape_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* memory_ = nullptr;
};

}  // namespace zantor
