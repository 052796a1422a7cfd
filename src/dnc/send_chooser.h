#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zantor {

// What the send selection chose and prepared.
struct SendChoice {
    // The disk files chosen, in the dialog's order; empty when the editor's
    // text (or its selection) was chosen.
    std::vector<std::string> files;
    // The name of what was prepared: the editor file's name or the disk
    // file's path.
    std::string sentName;
    // The prepared send file of a single send (the program in the machine's
    // tape code with its leader and strings); empty for several files,
    // which go as they are stored.
    std::string sendFile;
};

// The send selection of the DNC window's Send: shows the choice of what to
// send and prepares it. The window asks through this, so the selection
// dialog and the command line's or a test's choice are interchangeable.
class SendChooser {
public:
    virtual ~SendChooser() = default;
    // nullopt when cancelled, or when the preparation failed (the chooser
    // has said why). `editorChoices`: the editor's text may be chosen.
    virtual std::optional<SendChoice> chooseForSend(bool editorChoices) = 0;
    // A multi-file send is over: the chosen files are forgotten.
    virtual void clearChosenFiles() {}
};

}  // namespace zantor
