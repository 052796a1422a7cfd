#include "bmacro/ui/number_input_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "bmacro/ui/expression_field.h"
#include "core/real_text.h"

namespace zantor {

TGetvardlg::TGetvardlg(Interaction& interaction, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Input a Number");
    prompt_ = new QLabel(this);
    prompt_->setWordWrap(true);
    field_ = new ExpressionField("0.0", interaction, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TGetvardlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TGetvardlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(field_);
    layout->addWidget(buttons);
}

std::optional<double> TGetvardlg::ask(const QString& prompt, double proposed) {
    prompt_->setText(prompt);
    field_->setText(QString::fromStdString(FormatReal5(proposed)));
    field_->selectAll();
    field_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return field_->value();
}

void TGetvardlg::accept() {
    if (field_->evaluate()) QDialog::accept();
}

}  // namespace zantor
