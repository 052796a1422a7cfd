#pragma once

#include <QObject>

namespace zantor {

class Interaction;
class TAddremSpaces;
class TArithDlg;
class TChgBeginEndDlg;
class TFcleanDlg;
class TFSoverDlg;
class TFileSplitdlg;
class TMakeColsDlg;
class TNcinfoDlg;
class TReformatDlg;
class TMainForm;
class TProcessDlg;
class TRESEQDlg;

namespace editor {
class TextDocument;
}

// The NC Utilities menu's "&Arithmetic", "Add / Remove &Spaces", "Change
// &Line Begin/End", "F&eed / Speed Overide", "&Re-Sequence", "File
// Cleanup", "&Make Columns", "Re-&Format", "File Splitter" and "&Information": each asks its dialog, then runs over the active editor window
// (its selected lines, or all of it) with the progress box. The dialogs'
// defaults follow the current machine at every load; the File Cleanup
// choice also serves the DNC's cleanup before a send.
class NcUtilityCommands : public QObject {
    Q_OBJECT
public:
    NcUtilityCommands(TMainForm& form, Interaction& interaction);

    void addRemoveSpaces();
    void fileCleanup();
    void arithmetic();
    void changeLineEnds();
    void feedSpeedOverride();
    void resequence();
    void makeColumns();
    void information();
    void reformat();
    void splitFile();
    // The ticked File Cleanup operations on `document`, without the dialog;
    // false when cancelled.
    bool runFileCleanup(editor::TextDocument& document);

    TAddremSpaces& spacesDialog() const { return *spaces_; }
    TFcleanDlg& cleanupDialog() const { return *cleanup_; }
    TArithDlg& arithmeticDialog() const { return *arithmetic_; }
    TChgBeginEndDlg& lineEndsDialog() const { return *lineEnds_; }
    TFSoverDlg& overrideDialog() const { return *override_; }
    TRESEQDlg& resequenceDialog() const { return *resequence_; }
    TProcessDlg& progressBox() const { return *progress_; }
    TMakeColsDlg& columnsDialog() const { return *columns_; }
    TNcinfoDlg& informationBox() const { return *info_; }
    TReformatDlg& reformatDialog() const { return *reformat_; }
    TFileSplitdlg& splitDialog() const { return *split_; }

private:
    // Runs `work` on the active editor window; an edit the document refuses
    // is told to the user.
    template <typename Work>
    void runOnActiveWindow(Work work);

    TMainForm& form_;
    Interaction& interaction_;
    TAddremSpaces* spaces_;
    TFcleanDlg* cleanup_;
    TArithDlg* arithmetic_;
    TChgBeginEndDlg* lineEnds_;
    TFSoverDlg* override_;
    TRESEQDlg* resequence_;
    TProcessDlg* progress_;
    TMakeColsDlg* columns_;
    TNcinfoDlg* info_;
    TReformatDlg* reformat_;
    TFileSplitdlg* split_;
};

}  // namespace zantor
