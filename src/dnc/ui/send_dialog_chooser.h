#pragma once

#include "dnc/send_chooser.h"

namespace zantor {

class SendPreparation;
class TSendDlg;

// The DNC window's send selection on the desktop: "Select What To Send to
// CNC" over the active editor window and the disk, prepared by the dialog's OK.
class SendDialogChooser : public SendChooser {
public:
    SendDialogChooser(TSendDlg& dialog, SendPreparation& preparation)
        : dialog_(dialog), preparation_(preparation) {}
    std::optional<SendChoice> chooseForSend(bool editorChoices) override;

private:
    TSendDlg& dialog_;
    SendPreparation& preparation_;
};

}  // namespace zantor
