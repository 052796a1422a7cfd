#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/batch_history.h"
#include "editor/display_line_map.h"
#include "editor/paragraph_layout.h"
#include "editor/program_file.h"
#include "editor/text_document.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/split_bar.h"
#include "session/file_commands.h"

namespace zantor::editor {

class EditorHost;

// An editor window: one NC program shown in Editor1 and, when split, in a
// second view above it; both views show one Scintilla document. Document
// operations act on CurrentView (the view that last had the focus); whole-
// document reads go to Editor1.
//
// Every edit follows one rule, whether a document operation or a key in a
// view makes it: no paragraph grows beyond the limit (the edit is taken back
// and the user told), and no paragraph keeps trailing blanks. Blanks typed
// into a view stay on the caret's line while the caret is there, so that a
// blank before the next word can be typed; they go when the caret leaves the
// line or a command works on the document, and the document operations never
// see them. Taking them away is an undo step of its own that undo and redo
// take together with the step before it.
class TMDIChild : public QWidget, public TextDocument, public FileCommandWindow {
    Q_OBJECT
public:
    TMDIChild(EditorHost& host, const std::string& name, QWidget* parent = nullptr);
    ~TMDIChild() override;

    EditorView* Editor1() const { return editor1_; }
    EditorView* secondView() const { return view2_; }
    EditorView* CurrentView() const { return current_; }
    bool isSplit() const { return view2_ != nullptr; }
    void setSplit(bool on);
    // Height of Editor1 while split.
    int editor1Height() const { return editor1Height_; }
    // A size that shows a screenful of a program, for arranging windows.
    QSize sizeHint() const override;

    void applyViewSettings(const EditorViewSettings& settings);
    // Replaces the text by the file's; on failure the document is left empty
    // and FileError or EditorError is thrown. The report tells of lines too
    // long to keep whole.
    ProgramFileReport LoadDocument(const std::string& path);
    // Writes the program file from Editor1 (BAK backup as set); throws
    // FileError and stays modified when the write fails.
    void SaveDocument(const std::string& path);

    // The Edit commands on CurrentView.
    void CopySelection();
    void CutSelection();
    void PasteClipboard();
    void DeleteForward();
    bool hasSelection() const;
    void FocusEditor();

    // FileCommandWindow
    std::string caption() const override { return fileName_; }
    void rename(const std::string& fileName) override { SetFileName(fileName); }
    bool isModified() const override { return Modified(); }
    bool linesCutAtLoading() const override { return linesCut_; }
    void saveDocument(const std::string& fileName) override { SaveDocument(fileName); }

    // TextDocument
    int LineCount() const override;
    int ParagraphCount() const override;
    std::string GetLine(int line, int maxLength = kLineReadLength) const override;
    std::string GetParagraph(int paragraph) const override;
    void ReadParagraph(int paragraph, std::string& text) const override;
    TextPosition ParagraphPosition(int paragraph, int offset) const override;
    int ParagraphOfLine(int line) const override;
    TextSelection GetSelection() const override;
    void SetSelection(TextPosition start, TextPosition end) override;
    void SelectAll() override;
    TextPosition Caret() const override;
    void SetCaret(int line, int column) override;
    int TopLine() const override;
    bool InsertMode() const override;
    void SetInsertMode(bool on) override;
    bool FindText(const std::string& text, const SearchOptions& options,
                  SearchWatch* watch = nullptr) override;
    void DeleteSelection() override;
    void InsertText(const std::string& text) override;
    void DeleteCaretLine() override;
    void ReplaceInParagraph(int paragraph, int offset, int length,
                            std::string_view text) override;
    void AppendLine(const std::string& text) override;
    void SuspendRedraw() override;
    void ResumeRedraw() override;
    void BeginEditBatch() override;
    void EndEditBatch() override;
    void SetWordWrap(bool on) override;
    void UndoEdit() override;
    void RedoEdit() override;
    bool CanUndo() const override;
    bool CanRedo() const override;
    bool Modified() const override { return modified_; }
    void SetModified(bool modified) override;
    long long ByteCount() const override;
    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& name) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Selection {
        long anchor = 0;
        long caret = 0;
    };

    void setUpView(EditorView* view);
    void relayout();
    void viewFocused(EditorView* view);
    // An edit is about to happen; the line map and the lines that may end
    // in blanks follow it once it is done.
    void documentModified(int position, int type, int length, int token);
    void finishPendingEdit() const;
    void rebuildLineMap();
    // A paragraph (0-based) as the document operations see it: without the
    // blanks typed at its end.
    std::string_view paragraphText(int paragraph) const;
    // Takes the trailing blanks off the lines that may have them, all of
    // them (before a command) or all but the caret's line of CurrentView
    // (when the caret may have left a line).
    void trimBlanks(bool keepCaretLine);
    void settle() { trimBlanks(false); }
    // Runs an edit a view makes by itself; takes it back, and tells the user,
    // when it makes a paragraph too long.
    void guardViewEdit(const std::function<void()>& edit);
    // Runs a document edit for an Edit command, telling the user of a limit.
    void editOrTell(const std::function<void()>& edit);
    void showWrapWhereNeeded() const;
    void updateWrapToWindow();
    std::vector<int> lineStarts(std::string_view paragraph) const;

    bool isEmpty() const;
    // Display lines (0-based) and positions.
    std::pair<long, long> lineSpan(int lineIndex, int* paragraph) const;
    int lineIndexOf(long position) const;
    long positionOf(int line, int column) const;  // throws on a bad line or column
    TextPosition displayPositionOf(long position) const;
    long clamp(long position) const;
    // Replaces from..to by `text` (line breaks start new paragraphs) as one
    // undoable edit, trimming the trailing blanks of the paragraphs it
    // touches; the caret goes to the end of the insert or to caretAfter.
    void replaceRange(long from, long to, std::string_view text,
                      std::optional<long> caretAfter = std::nullopt);
    void select(long anchor, long caret);
    // The selection of CurrentView, or the one an edit batch leaves.
    Selection selection() const;
    long selectionStart() const;
    long selectionEnd() const;
    // Replaces the selection of CurrentView by pasted text; a paragraph limit
    // it would break is told to the user and nothing changes.
    void pasteText(std::string_view text);

    // Edit batches. Scintilla's undo list is an array that doubles when full,
    // copying itself whole: a million line edits of a utility would stall the
    // window in one doubling of hundreds of megabytes. So while a batch runs
    // Scintilla collects no undo; its undo list holds one step for the whole
    // batch (a container step with the batch's token) and the batch keeps its
    // edits itself, each an undo step of its own. Undo and redo take the
    // batch's edits one by one while Scintilla's list stands right after the
    // batch's step (the active batch); the step is done whenever some edit of
    // the batch is.

    // Before the first edit of a batch: its step goes to Scintilla's list,
    // which then collects no undo until the batch ends.
    void startBatchRecording();
    // A change is about to be recorded: what could be redone goes, in the
    // batches as in Scintilla's list.
    void dropBatchRedo();
    void undoBatchEdit(int token, bool stepUndone);
    void redoBatchEdit(int token);
    // Makes an undo or redo of a batch edit, Scintilla collecting no undo.
    void applyBatchEdit(long position, long length, std::string_view text);

    EditorHost& host_;
    EditorView* editor1_;
    QPointer<EditorView> view2_;
    QPointer<SplitBar> bar_;
    EditorView* current_;
    int editor1Height_ = 0;
    int clientHeight_ = 0;
    std::string fileName_;
    bool modified_ = false;
    bool loading_ = false;
    bool linesCut_ = false;  // lines of the file were cut at loading
    // A file saved over after its lines were cut: its backup is the whole
    // file and stays.
    std::string wholeFileBackup_;
    int redrawSuspended_ = 0;
    LayoutSettings layout_;
    mutable DisplayLineMap lineMap_;  // only while word wrap is on
    mutable bool wrapShown_ = false;  // the views wrap: some paragraph is too long
    bool wrapCheckQueued_ = false;
    // The edit reported last, not yet in the line map: its first paragraph,
    // how many paragraphs it replaces, and where the inserted text ends.
    struct PendingEdit {
        int firstParagraph = 0;
        int replaced = 0;
        long insertEnd = -1;   // -1 for a deletion
        bool trimmed = false;  // made here, with trailing blanks taken off
    };
    mutable std::optional<PendingEdit> pendingEdit_;
    // Paragraphs (0-based) that may end in blanks typed into a view.
    mutable std::set<int> blankLines_;
    // While a view's own edit is checked: the paragraphs it touched, as
    // ranges [first, end).
    bool guarding_ = false;
    mutable std::vector<std::pair<int, int>> guardedRanges_;
    bool ownEdit_ = false;  // the edit in progress is made here, trimmed
    QTimer trimTimer_;
    // Set while undo or redo passes a trim of blanks (or the no-op step that
    // ends a refused edit's redo): those go with the step before them.
    bool gluedStepSeen_ = false;
    // The selection before and the caret after each edit made here, by the
    // token of its undo step, so undo and redo put the caret back.
    struct CaretRecord {
        Selection before;
        long after = 0;
    };
    std::unordered_map<int, CaretRecord> caretRecords_;
    int nextToken_ = 1;
    // The edit batches by token, while their steps are in Scintilla's list.
    std::map<int, BatchHistory> batches_;
    int batchDepth_ = 0;
    int recordingToken_ = 0;  // after the first edit of a batch; 0 before
    int activeBatch_ = 0;    // token; 0 for none
    int batchStepSeen_ = 0;  // token of the batch step undo or redo passed
    bool applyingBatchEdit_ = false;
    BatchStep batchStep_;      // room for the texts of the step undone or redone
    std::string removedText_;  // room for what an edit of a batch takes out
    // The selection a batch's edits leave, put into the view when it ends.
    std::optional<Selection> deferredSelection_;
    std::optional<long> pendingCaret_;
    std::optional<Selection> pendingSelection_;
};

}  // namespace zantor::editor
