#include "app/ui/about_box.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>

#include "app/ui/main_form.h"
#include "core/version.h"
#include "session/run_state.h"

namespace zantor {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    const QString product = QString(kProductCaption) + " 2013";
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(64, 64));
    auto* name = new QLabel(product, this);
    name->setObjectName("ProductName");
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* title = new QLabel(product, this);
    title->setObjectName("ProductTitle");
    auto* versionLabel = new QLabel("Version", this);
    auto* version = new QLabel("5.000", this);
    version->setObjectName("ProductVersion");
    // The build this is, for a report to whoever supports it.
    auto* build = new QLabel(QString("Program version %1").arg(ZANTOR_VERSION), this);
    build->setObjectName("ProgramVersion");
    build->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1, 1, 2);
    layout->addWidget(title, 1, 1, 1, 2);
    layout->addWidget(versionLabel, 2, 1);
    layout->addWidget(version, 2, 2);
    layout->addWidget(build, 3, 0, 1, 3);
    layout->addWidget(buttons, 4, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zantor
