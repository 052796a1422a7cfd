#include "calc/ui/triangle_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "bmacro/ui/expression_field.h"
#include "core/interaction.h"

namespace zantor {

namespace {

// The picture naming the sides and angles: side A lies opposite angle a.
class TrianglePicture : public QWidget {
public:
    explicit TrianglePicture(QWidget* parent) : QWidget(parent) { setMinimumSize(180, 150); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = rect().adjusted(24, 20, -24, -24);
        const QPointF a(r.left(), r.bottom()), b(r.right(), r.bottom()),
            c(r.left() + r.width() * 0.35, r.top());
        p.setPen(QPen(palette().color(QPalette::WindowText), 2));
        p.drawPolygon(QPolygonF({a, b, c}));
        const auto mid = [](QPointF u, QPointF v) { return (u + v) / 2; };
        // Angle a at the corner opposite side A, and so on.
        p.drawText(a + QPointF(-14, 14), "a");
        p.drawText(b + QPointF(4, 14), "b");
        p.drawText(c + QPointF(-4, -6), "c");
        p.drawText(mid(b, c) + QPointF(6, 0), "A");
        p.drawText(mid(a, c) + QPointF(-16, 0), "B");
        p.drawText(mid(a, b) + QPointF(0, 16), "C");
    }
};

}  // namespace

TTriangleDlg::TTriangleDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent), interaction_(interaction) {
    setWindowTitle("Triangle Solutions");
    auto* form = new QFormLayout;
    static const char* const labels[] = {"Side \"&A\"",  "Side \"&B\"",  "Side \"&C\"",
                                         "Angle \"a\"", "Angle \"b\"", "Angle \"c\""};
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i] = new ExpressionField("0.0", interaction_, this);
        fields_[i]->setObjectName(QString("Field%1").arg(i));
        form->addRow(labels[i], fields_[i]);
    }
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(new TrianglePicture(this), 1);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &TTriangleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTriangleDlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(104); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void TTriangleDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fields_[0]->setFocus();
    fields_[0]->selectAll();
}

void TTriangleDlg::accept() {
    for (ExpressionField* f : fields_)
        if (!f->evaluate()) return;
    const TriangleSolution s = solveTriangle({fields_[0]->value(), fields_[1]->value(),
                                              fields_[2]->value(), fields_[3]->value(),
                                              fields_[4]->value(), fields_[5]->value()});
    if (s.error != TriangleError::None) {
        interaction_.showError(triangleErrorText(s.error));
        return;  // the values stay for the next try
    }
    report_ = triangleReport(s.triangle);
    QApplication::clipboard()->setText(QString::fromLatin1(report_.c_str()));
    QDialog::accept();
}

}  // namespace zantor
