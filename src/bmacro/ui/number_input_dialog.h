#pragma once

#include <QDialog>
#include <optional>

class QLabel;

namespace zantor {

class ExpressionField;
class Interaction;

// "Input a Number": the prompt of a B-Macro assignment and an expression field.
class TGetvardlg : public QDialog {
    Q_OBJECT
public:
    TGetvardlg(Interaction& interaction, QWidget* parent = nullptr);
    // The value typed (evaluated), or none when cancelled.
    std::optional<double> ask(const QString& prompt, double proposed);
    ExpressionField& field() const { return *field_; }

public slots:
    void accept() override;

private:
    QLabel* prompt_ = nullptr;
    ExpressionField* field_ = nullptr;
};

}  // namespace zantor
