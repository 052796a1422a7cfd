#include "nctools/ui/feed_speed_override_dialog.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "nctools/ui/dialog_buttons.h"

namespace zantor {

namespace {

QSlider* percentageSlider(QWidget* parent, const char* name) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(-19, 20);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(4);
    return slider;
}

QLabel* percentageLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(TFSoverDlg::percentageText(100), parent);
    label->setObjectName(name);
    // The three places line up only in a fixed-pitch font.
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return label;
}

}  // namespace

QString TFSoverDlg::percentageText(int percentage) {
    return QString("%1%").arg(percentage, 3);
}

TFSoverDlg::TFSoverDlg(QWidget* parent)
    : QDialog(parent),
      feedbar(percentageSlider(this, "feedbar")),
      Speedbar(percentageSlider(this, "Speedbar")),
      Flab(percentageLabel(this, "Flab")),
      Slab(percentageLabel(this, "Slab")) {
    setObjectName("TFSoverDlg");
    setWindowTitle("Feed / Speed Override");
    auto* grid = new QGridLayout;
    auto* feedCaption = new QLabel("Feed Rate Override", this);
    auto* speedCaption = new QLabel("Spindle Speed Override", this);
    feedCaption->setBuddy(feedbar);
    speedCaption->setBuddy(Speedbar);
    grid->addWidget(feedCaption, 0, 0, 1, 2);
    grid->addWidget(feedbar, 1, 0);
    grid->addWidget(Flab, 1, 1);
    grid->addWidget(speedCaption, 2, 0, 1, 2);
    grid->addWidget(Speedbar, 3, 0);
    grid->addWidget(Slab, 3, 1);
    grid->setColumnMinimumWidth(0, 240);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
    connect(feedbar, &QSlider::valueChanged, this,
            [this](int position) { Flab->setText(percentageText(percentageAt(position))); });
    connect(Speedbar, &QSlider::valueChanged, this,
            [this](int position) { Slab->setText(percentageText(percentageAt(position))); });
}

OverridePercentages TFSoverDlg::percentages() const {
    return {percentageAt(feedbar->value()), percentageAt(Speedbar->value())};
}

void TFSoverDlg::showEvent(QShowEvent* event) {
    feedbar->setValue(0);
    Speedbar->setValue(0);
    Flab->setText(percentageText(100));
    Slab->setText(percentageText(100));
    QDialog::showEvent(event);
}

}  // namespace zantor
