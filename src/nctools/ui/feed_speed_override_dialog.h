#pragma once

#include <QDialog>
#include <QString>

#include "nctools/feed_speed_override.h"

class QLabel;
class QSlider;

namespace zantor {

// "Feed / Speed Override": two sliders from 5 % to 200 % in steps of 5 %,
// both back at 100 % each time the dialog is shown.
class TFSoverDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 109;

    explicit TFSoverDlg(QWidget* parent = nullptr);

    OverridePercentages percentages() const;
    // A slider position's percentage as its label shows it: right-aligned in
    // three characters, then "%" ("100%", " 95%", "  5%").
    static int percentageAt(int position) { return position * 5 + 100; }
    static QString percentageText(int percentage);

    QSlider* feedbar;
    QSlider* Speedbar;
    QLabel* Flab;
    QLabel* Slab;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace zantor
