#pragma once

#include <QDialog>
#include <chrono>
#include <functional>

#include "nctools/line_walk.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zantor {

// The progress box of a utility's run: its caption, a meter and Cancel.
// The run goes on in the user-interface thread; between lines it lets
// pending events through often enough that the box repaints and Cancel
// answers within a tenth of a second. While it is up, the other windows take
// no input, so nothing can close or change the program under the run.
class TProcessDlg : public QDialog, public LineWalkProgress {
    Q_OBJECT
public:
    using Now = std::function<std::chrono::steady_clock::duration()>;
    // How long the run may keep the events waiting.
    static constexpr std::chrono::milliseconds kEventInterval{40};

    explicit TProcessDlg(QWidget* parent = nullptr, Now now = {});

    // LineWalkProgress
    void begin(const std::string& caption) override;
    void setPercent(int percent) override;
    void keepAlive() override;
    bool cancelled() const override { return cancelled_; }
    void end() override;

    QProgressBar* meter() const { return meter_; }
    QPushButton* cancelButton() const { return cancel_; }
    QString caption() const;

protected:
    void reject() override;  // Escape or the window's close button cancel too

private:
    void letEventsThrough();

    Now now_;
    std::chrono::steady_clock::duration lastEvents_{};
    QLabel* caption_;
    QProgressBar* meter_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};

}  // namespace zantor
