#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dnc/send_chooser.h"
#include "editor/text_document.h"

namespace zantor {

class Interaction;
struct RunState;

// What goes to the machine, as the send selection dialog's choices and the
// other callers that send a named file.
enum class SendMode {
    CurrentEditorFile = 1,
    SelectedEditorText = 2,
    FromDiskFile = 3,
    NamedFile = 4,
    FromCursorToEnd = 5,
};

// Makes the send file of a download: the chosen text or file in the
// machine's tape code, wrapped in its start string, leader and end string.
class SendPreparation {
public:
    // `activeDocument` gives the active editor window's document, or null
    // when no editor window is open.
    SendPreparation(RunState& state, Interaction& interaction,
                    std::function<editor::TextDocument*()> activeDocument);

    // Runs File Cleanup on the editor's text before it is sent (the cleaned
    // text stays in the editor); false when it was cancelled.
    std::function<bool(editor::TextDocument&)> cleanupBeforeSend;

    // The dialog's OK: with the machine's "Run File Cleanup Before Send from
    // Editor" and the current editor file, the cleanup first (a cancelled
    // cleanup sends nothing); then prepareForSend.
    bool accept(SendMode mode);

    // True when something is ready to send: the send file, or with several
    // disk files chosen the list of them (the send file then stays empty).
    // Failures are shown to the user and give false; nothing is to be sent.
    bool prepareForSend(SendMode mode, const std::string& file = {});

    // The editor file's name or the disk file's path, as the log names it.
    const std::string& SentName() const { return sentName_; }
    // The files of the disk-file choice.
    const std::vector<std::string>& chosenFiles() const { return chosenFiles_; }
    // What the last successful preparation gives the DNC window's Send.
    SendChoice choice() const;

private:
    bool prepare(SendMode mode, const std::string& file);
    bool chooseDiskFiles(std::string& body);
    bool exportEditorText(SendMode mode, std::string& body);

    RunState& state_;
    Interaction& interaction_;
    std::function<editor::TextDocument*()> activeDocument_;
    std::string sentName_;
    std::vector<std::string> chosenFiles_;
};

}  // namespace zantor
