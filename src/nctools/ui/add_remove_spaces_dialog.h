#pragma once

#include <QDialog>

#include "nctools/add_remove_spaces.h"

class QRadioButton;

namespace zantor {

// "Add / Remove Spaces": which way to change the spaces between registers.
// The choice stays until the program ends.
class TAddremSpaces : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 106;

    explicit TAddremSpaces(QWidget* parent = nullptr);
    SpacesChange change() const;

signals:
    void helpRequested(int context);

private:
    QRadioButton* remove_;
    QRadioButton* add_;
};

}  // namespace zantor
