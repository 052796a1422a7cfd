#pragma once

#include <QDialog>

#include "dnc/dnc_station.h"

class QCheckBox;
class QLabel;

namespace zantor {

// The small window shown while the station waits for the machine: title
// "ZANTOR DNC", what it waits for, and "Stop Waiting". It is minimised
// along with the DNC window.
class WaitingBox : public QDialog, public WaitingWindow {
    Q_OBJECT
public:
    // `owner` is the DNC window, whose minimised state it follows.
    explicit WaitingBox(QWidget* owner);

    void showWaiting(const std::string& text) override;
    void hideWaiting() override;
    bool stopWaiting() const override;

    QLabel* textLabel() const { return text_; }
    QCheckBox* stopBox() const { return stop_; }

private:
    QWidget* owner_;
    QLabel* text_;
    QCheckBox* stop_;
};

}  // namespace zantor
