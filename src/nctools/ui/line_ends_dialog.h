#pragma once

#include <QDialog>

#include "machines/machine_settings.h"
#include "nctools/line_ends.h"

class QLineEdit;

namespace zantor {

// "Change Line Begining/End": the texts for the start and the end of the
// lines. Every machine load fills them (CLBFROM, CLBTO, CLEFROM, CLETO);
// otherwise they keep what the user typed.
class TChgBeginEndDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 107;

    explicit TChgBeginEndDlg(QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    LineEnds ends() const;

    QLineEdit* Bfrom;
    QLineEdit* Bto;
    QLineEdit* Efrom;
    QLineEdit* Eto;

signals:
    void helpRequested(int context);
};

}  // namespace zantor
