#pragma once

#include <QDialog>
#include <array>

#include "calc/triangle_solver.h"

namespace zantor {

class ExpressionField;
class Interaction;

// "Triangle Solutions": three of the six sides and angles in, the report of
// the solved triangle out (on the clipboard when OK closes the dialog).
class TTriangleDlg : public QDialog {
    Q_OBJECT
public:
    TTriangleDlg(Interaction& interaction, QWidget* parent = nullptr);
    // The report of the last solved triangle.
    const std::string& report() const { return report_; }
    ExpressionField& field(int index) const { return *fields_[size_t(index)]; }

signals:
    void helpRequested(int context);

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Interaction& interaction_;
    std::array<ExpressionField*, 6> fields_{};
    std::string report_;
};

}  // namespace zantor
