#include "dnc/ui/send_dialog_chooser.h"

#include "dnc/send_selection.h"
#include "dnc/ui/send_dialog.h"

namespace zantor {

std::optional<SendChoice> SendDialogChooser::chooseForSend(bool editorChoices) {
    dialog_.enableEditorChoices(editorChoices);
    if (dialog_.exec() != QDialog::Accepted) return std::nullopt;
    return preparation_.choice();
}

}  // namespace zantor
