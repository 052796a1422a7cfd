#pragma once

#include <QDialog>

namespace zantor {

// "About": the program's name, its version, its icon and OK.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace zantor
