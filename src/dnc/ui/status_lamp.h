#pragma once

#include <QLabel>

namespace zantor {

// One status light of the DNC window ("CTS", "RXD", ...): its word on a
// lit or dark lamp.
class StatusLamp : public QLabel {
    Q_OBJECT
public:
    StatusLamp(const QString& word, QWidget* parent = nullptr);
    void setLit(bool lit);
    bool isLit() const { return lit_; }

private:
    bool lit_ = true;
};

}  // namespace zantor
