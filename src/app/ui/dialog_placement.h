#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace zantor {

// Centres every dialog of the main window on it as the dialog is shown. Qt
// centres a dialog on its parent's geometry at that moment, which right
// after start-up is not yet the maximised window the desktop is about to
// make of it.
class DialogPlacement : public QObject {
    Q_OBJECT
public:
    explicit DialogPlacement(QWidget& mainWindow);

    // Where the main window is, or is about to be once maximised.
    static QRect eventualGeometry(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& mainWindow_;
};

}  // namespace zantor
