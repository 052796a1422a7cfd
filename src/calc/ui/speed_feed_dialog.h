#pragma once

#include <QDialog>
#include <array>

#include "calc/speed_feed.h"

class QGroupBox;
class QLabel;
class QRadioButton;

namespace zantor {

class ExpressionField;
class Interaction;

// "Speed & Feed Calculator": every field an expression; leaving one
// recalculates the others; OK puts the report on the clipboard.
class TSFCalcDlg : public QDialog {
    Q_OBJECT
public:
    TSFCalcDlg(Interaction& interaction, QWidget* parent = nullptr);
    const std::string& report() const { return report_; }
    ExpressionField& field(SpeedFeedCalculator::Field f) const { return *fields_[size_t(f)]; }
    QString cutTime() const;
    void setMetric(bool metric);
    void setTurning(bool turning);

signals:
    void helpRequested(int context);

public slots:
    void accept() override;

private:
    void fieldLeft(SpeedFeedCalculator::Field field);
    void showValues();
    void updateCaptions();

    Interaction& interaction_;
    SpeedFeedCalculator calc_;
    std::array<ExpressionField*, SpeedFeedCalculator::kFieldCount> fields_{};
    std::array<QGroupBox*, SpeedFeedCalculator::kFieldCount> groups_{};
    QRadioButton* turning_ = nullptr;
    QRadioButton* metric_ = nullptr;
    QLabel* cutTime_ = nullptr;
    std::string report_;
};

}  // namespace zantor
