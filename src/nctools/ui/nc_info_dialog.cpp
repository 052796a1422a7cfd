#include "nctools/ui/nc_info_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "nctools/ui/latin1_text.h"

namespace zantor {

TNcinfoDlg::TNcinfoDlg(QWidget* parent)
    : QDialog(parent),
      Fname(new QLabel(this)),
      Lines(new QLabel(this)),
      Chars(new QLabel(this)),
      Feet(new QLabel(this)),
      meters(new QLabel(this)),
      Modified(new QLabel(this)) {
    setObjectName("TNcinfoDlg");
    setWindowTitle("NC-File Information");
    auto* layout = new QVBoxLayout(this);
    auto* rows = new QFormLayout;
    rows->setLabelAlignment(Qt::AlignRight);
    const char* names[] = {"Fname", "Lines", "Chars", "Feet", "meters", "Modified"};
    QLabel* labels[] = {Fname, Lines, Chars, Feet, meters, Modified};
    const auto captions = ncFileInfoRows({});
    for (size_t i = 0; i < captions.size(); ++i) {
        labels[i]->setObjectName(names[i]);
        rows->addRow(QString::fromLatin1(captions[i].first.c_str()), labels[i]);
    }
    layout->addLayout(rows);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(ok);
}

void TNcinfoDlg::setInfo(const NcFileInfo& info) {
    QLabel* labels[] = {Fname, Lines, Chars, Feet, meters, Modified};
    const auto rows = ncFileInfoRows(info);
    for (size_t i = 0; i < rows.size(); ++i) labels[i]->setText(latin1Text(rows[i].second));
}

}  // namespace zantor
