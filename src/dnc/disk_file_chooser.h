#pragma once

#include "dnc/send_chooser.h"

namespace zantor {

class Interaction;
struct RunState;

// The plain send selection: disk files from an open dialog in the current
// machine's download folder. One file is prepared as a named file (work
// file, then the send file in the machine's tape code); several go as they
// are stored.
class DiskFileChooser : public SendChooser {
public:
    DiskFileChooser(RunState& state, Interaction& interaction)
        : state_(state), interaction_(interaction) {}
    std::optional<SendChoice> chooseForSend(bool editorChoices) override;

private:
    RunState& state_;
    Interaction& interaction_;
};

// The filter of the DNC file dialogs for a machine's default extension:
// "Tape files (*.TAP);;Text Files (*.txt);;All files (*)".
std::string tapeFileFilter(const std::string& extension);

}  // namespace zantor
