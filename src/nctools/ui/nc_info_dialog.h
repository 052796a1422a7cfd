#pragma once

#include <QDialog>

#include "nctools/nc_file_info.h"

class QLabel;

namespace zantor {

// "NC-File Information": read-only facts about the program, filled anew
// each time it is shown.
class TNcinfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit TNcinfoDlg(QWidget* parent = nullptr);

    void setInfo(const NcFileInfo& info);

    QLabel* Fname;
    QLabel* Lines;
    QLabel* Chars;
    QLabel* Feet;
    QLabel* meters;
    QLabel* Modified;
};

}  // namespace zantor
