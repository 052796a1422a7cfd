#pragma once

#include <QObject>

namespace zantor {

class Interaction;
class TGridForm;
class TMainForm;

// "C&ompare Two Files" of the NC Utilities menu: shows the File Compare
// window, made once and kept for the rest of the run.
class CompareCommand : public QObject {
    Q_OBJECT
public:
    CompareCommand(TMainForm& form, Interaction& interaction);
    ~CompareCommand() override;

    TGridForm& window() const { return *window_; }
    void showWindow();

private:
    TGridForm* window_;
};

}  // namespace zantor
