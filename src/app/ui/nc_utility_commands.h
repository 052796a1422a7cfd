#pragma once

#include <QObject>

namespace zantor {

class Interaction;
class TAddremSpaces;
class TFcleanDlg;
class TMainForm;
class TProcessDlg;

namespace editor {
class TextDocument;
}

// The NC Utilities menu's "Add / Remove &Spaces" and "File Cleanup": each
// asks its dialog, then runs over the active editor window (its selected
// lines, or all of it) with the progress box. The File Cleanup choice
// follows the current machine at every load, and also serves the DNC's
// cleanup before a send.
class NcUtilityCommands : public QObject {
    Q_OBJECT
public:
    NcUtilityCommands(TMainForm& form, Interaction& interaction);

    void addRemoveSpaces();
    void fileCleanup();
    // The ticked File Cleanup operations on `document`, without the dialog;
    // false when cancelled.
    bool runFileCleanup(editor::TextDocument& document);

    TAddremSpaces& spacesDialog() const { return *spaces_; }
    TFcleanDlg& cleanupDialog() const { return *cleanup_; }
    TProcessDlg& progressBox() const { return *progress_; }

private:
    // Runs `work` on the active editor window; an edit the document refuses
    // is told to the user.
    template <typename Work>
    void runOnActiveWindow(Work work);

    TMainForm& form_;
    Interaction& interaction_;
    TAddremSpaces* spaces_;
    TFcleanDlg* cleanup_;
    TProcessDlg* progress_;
};

}  // namespace zantor
