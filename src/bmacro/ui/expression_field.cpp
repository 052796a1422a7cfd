#include "bmacro/ui/expression_field.h"

#include <QFocusEvent>
#include <QTimer>

#include "bmacro/evaluate_field.h"

namespace zantor {

ExpressionField::ExpressionField(const QString& text, Interaction& interaction, QWidget* parent)
    : QLineEdit(text, parent), interaction_(interaction) {}

bool ExpressionField::evaluate() {
    if (evaluating_) return true;  // the error box takes the focus while it shows
    evaluating_ = true;
    std::string text = this->text().toStdString();
    const FieldValue v = EvaluateField(text, interaction_);
    evaluating_ = false;
    if (!v.ok) {
        QTimer::singleShot(0, this, [this] { setFocus(); });
        return false;
    }
    setText(QString::fromStdString(text));
    value_ = v.value;
    emit evaluated(value_);
    return true;
}

void ExpressionField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A menu or a box of our own taking the focus is no leaving of the field.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        evaluate();
}

}  // namespace zantor
