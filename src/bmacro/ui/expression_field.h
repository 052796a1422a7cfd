#pragma once

#include <QLineEdit>

namespace zantor {

class Interaction;

// A numeric entry field that takes an expression: when the user leaves it,
// its text is evaluated and replaced by the value with five decimals, or the
// "Error in Expression" box is shown and the field keeps the focus.
class ExpressionField : public QLineEdit {
    Q_OBJECT
public:
    ExpressionField(const QString& text, Interaction& interaction, QWidget* parent = nullptr);
    // Evaluates now (as leaving does); false after an error.
    bool evaluate();
    double value() const { return value_; }

signals:
    // Left with a valid expression; the text shows its value.
    void evaluated(double value);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    Interaction& interaction_;
    double value_ = 0;
    bool evaluating_ = false;
};

}  // namespace zantor
