#include "calc/ui/speed_feed_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bmacro/ui/expression_field.h"
#include "core/real_text.h"

namespace zantor {

using Calc = SpeedFeedCalculator;

TSFCalcDlg::TSFCalcDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent), interaction_(interaction) {
    setWindowTitle("Speed & Feed Calculator");
    auto* mode = new QGroupBox("Mode", this);
    auto* milling = new QRadioButton("&Milling", mode);
    turning_ = new QRadioButton("&Turning", mode);
    milling->setChecked(true);
    auto* modeLayout = new QVBoxLayout(mode);
    modeLayout->addWidget(milling);
    modeLayout->addWidget(turning_);
    auto* units = new QGroupBox("Units", this);
    auto* inch = new QRadioButton("&Inch", units);
    metric_ = new QRadioButton("M&etric", units);
    inch->setChecked(true);
    auto* unitsLayout = new QVBoxLayout(units);
    unitsLayout->addWidget(inch);
    unitsLayout->addWidget(metric_);
    connect(turning_, &QRadioButton::toggled, this, &TSFCalcDlg::setTurning);
    connect(metric_, &QRadioButton::toggled, this, &TSFCalcDlg::setMetric);

    auto* grid = new QGridLayout;
    grid->addWidget(mode, 0, 0);
    grid->addWidget(units, 0, 1);
    for (int f = 0; f < Calc::kFieldCount; ++f) {
        groups_[size_t(f)] = new QGroupBox(this);
        fields_[size_t(f)] = new ExpressionField(QString(), interaction_, groups_[size_t(f)]);
        fields_[size_t(f)]->setObjectName(QString("Field%1").arg(f));
        (new QVBoxLayout(groups_[size_t(f)]))->addWidget(fields_[size_t(f)]);
        grid->addWidget(groups_[size_t(f)], 1 + f / 2, f % 2);
        connect(fields_[size_t(f)], &ExpressionField::evaluated, this,
                [this, f] { fieldLeft(Calc::Field(f)); });
    }
    cutTime_ = new QLabel(this);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSFCalcDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSFCalcDlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(10048); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cutTime_);
    layout->addWidget(buttons);
    updateCaptions();
    showValues();
}

QString TSFCalcDlg::cutTime() const {
    return cutTime_->text();
}

void TSFCalcDlg::showValues() {
    for (int f = 0; f < Calc::kFieldCount; ++f)
        fields_[size_t(f)]->setText(QString::fromStdString(FormatReal5(calc_.value[size_t(f)])));
    cutTime_->setText(QString::fromStdString(calc_.cutTimeText()));
}

void TSFCalcDlg::updateCaptions() {
    for (int f = 0; f < Calc::kFieldCount; ++f)
        groups_[size_t(f)]->setTitle(QString::fromStdString(calc_.caption(Calc::Field(f))));
    // Turning has no teeth to count: the chip load is the feed per revolution.
    for (const Calc::Field f : {Calc::Teeth, Calc::ChipLoad}) {
        groups_[size_t(f)]->setVisible(!calc_.Turning);
        groups_[size_t(f)]->setEnabled(!calc_.Turning);
    }
}

void TSFCalcDlg::setMetric(bool metric) {
    calc_.Metric = metric;  // captions only: no value is converted
    if (metric_->isChecked() != metric) metric_->setChecked(metric);
    updateCaptions();
}

void TSFCalcDlg::setTurning(bool turning) {
    calc_.setTurning(turning);
    if (turning_->isChecked() != turning) turning_->setChecked(turning);
    if (turning) {
        fields_[Calc::Teeth]->setText("1.0");
        fields_[Calc::ChipLoad]->setText(fields_[Calc::FeedPerRev]->text());
    }
    updateCaptions();
}

void TSFCalcDlg::fieldLeft(Calc::Field field) {
    for (int f = 0; f < Calc::kFieldCount; ++f)
        calc_.value[size_t(f)] =
            ParseRealOrWarn(fields_[size_t(f)]->text().toStdString(), interaction_);
    if (calc_.recalculate(field)) showValues();
}

void TSFCalcDlg::accept() {
    // Every other field was evaluated when it was left; the one being typed in is now.
    for (ExpressionField* f : fields_)
        if (f->hasFocus() && !f->evaluate()) return;
    report_ = calc_.report();
    QApplication::clipboard()->setText(QString::fromLatin1(report_.c_str()));
    QDialog::accept();
}

}  // namespace zantor
