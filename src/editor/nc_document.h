#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/display_line_map.h"
#include "editor/edit_history.h"
#include "editor/paragraph_layout.h"
#include "editor/paragraph_store.h"
#include "editor/program_file.h"
#include "editor/text_document.h"

namespace zantor::editor {

// The text of one NC program as paragraphs, without a window: used by the
// command line, tests and benchmarks, and the model the editor window follows.
//
// - A paragraph is a line of the file without its line end; trailing blanks
//   and tabs are trimmed from every paragraph an edit touches.
// - A document without any character is empty: no paragraphs, no lines,
//   ByteCount 0; the caret then stays at 1:1, and SetCaret(1, 1) is allowed.
// - Columns count characters (a tab is one character); GetLine expands tabs.
// - The caret column is clamped to the end of its line.
class NcDocument : public TextDocument {
public:
    // Undo keeps this much paragraph text at least (and always the last edit).
    static constexpr size_t kHistoryBytes = 16 * 1024 * 1024;

    NcDocument();

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
    // Without a window every line fits: the first line is always on top.
    int TopLine() const override { return 1; }
    bool InsertMode() const override { return insertMode_; }
    void SetInsertMode(bool on) override { insertMode_ = on; }
    bool FindText(const std::string& text, const SearchOptions& options,
                  SearchWatch* watch = nullptr) override;
    void DeleteSelection() override;
    void InsertText(const std::string& text) override;
    void DeleteCaretLine() override;
    void ReplaceInParagraph(int paragraph, int offset, int length,
                            std::string_view text) override;
    void AppendLine(const std::string& text) override;
    // Nothing is drawn without a window.
    void SuspendRedraw() override {}
    void ResumeRedraw() override {}
    void SetWordWrap(bool on) override;
    void UndoEdit() override;
    void RedoEdit() override;
    bool CanUndo() const override { return history_.canUndo(); }
    bool CanRedo() const override { return history_.canRedo(); }
    bool Modified() const override { return modified_; }
    void SetModified(bool modified) override { modified_ = modified; }
    long long ByteCount() const override;
    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& name) override;

    // Replaces the text by the program file's (see program_file.h); the
    // modified flag and the undo history are cleared. On failure the document
    // is left empty and FileError or EditorError is thrown. The report tells
    // of lines too long to keep whole.
    ProgramFileReport LoadDocument(const std::string& path);
    // Writes the program file (BAK backup when `backup`) and clears the
    // modified flag; on failure throws FileError and stays modified.
    void SaveDocument(const std::string& path, bool backup);
    // Empties the document, its history and the modified flag.
    void Clear();

    // Paragraph n (1..ParagraphCount) as held, without a copy: valid until
    // the next edit. Throws EditorError.
    std::string_view ParagraphView(int paragraph) const;

    // The selected text, CR LF between paragraphs, with the control character
    // rule of the first view applied.
    std::string SelectedText() const;
    // Deletes the selection, or without one the character at the caret (a
    // paragraph end joins the next paragraph).
    void DeleteForward();

    // Whether edits are kept for undo (on by default). Off for a run whose
    // result is written out and never undone, as on the command line: the
    // history is dropped and edits cost no record.
    void SetUndoKept(bool keep);

    bool WordWrap() const { return layout_.wordWrap; }
    int WrapColumn() const { return layout_.wrapColumn; }
    void SetWrapColumn(int column);
    int TabSize() const { return layout_.tabSize; }
    void SetTabSize(int size);

private:
    bool isEmpty() const { return paragraphs_.size() == 1 && paragraphs_[0].empty(); }
    int paragraphLength(int paragraph) const { return int(paragraphs_[size_t(paragraph)].size()); }
    DocPosition endPosition() const;
    DocPosition selectionStart() const { return std::min(anchor_, caret_); }
    DocPosition selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }

    // Display lines (0-based) and positions.
    long long lineIndexOf(DocPosition position) const;
    int paragraphOfLine(int lineIndex) const;
    // Start and end offsets of display line `lineIndex` inside its paragraph.
    std::pair<int, int> lineSpan(int lineIndex, int* paragraph) const;
    DocPosition positionOf(int line, int column) const;  // throws on a bad line
    TextPosition displayPositionOf(DocPosition position) const;

    // Replaces the text between from and to (from <= to) by `text` (line
    // breaks start new paragraphs) as one undoable edit; the caret goes to
    // the end of the inserted text. Checks the limits before changing anything.
    void replaceRange(DocPosition from, DocPosition to, std::string_view text);
    // The same with the caret put at caretAfter (given before the edit,
    // clamped after it) instead.
    void replaceRange(DocPosition from, DocPosition to, std::string_view text,
                      const DocPosition* caretAfter);
    // The same for an edit inside paragraph `paragraph` (0-based) without a
    // line break: the paragraph is changed where it is held.
    void replaceInParagraph(int paragraph, int offset, int length, std::string_view text,
                            const DocPosition* caretAfter);
    // Puts `with` in place of `count` paragraphs from `first`; returns the
    // paragraphs taken out. Keeps the counts and the line map right.
    std::vector<std::string> exchangeParagraphs(int first, int count,
                                                std::vector<std::string> with);
    void applyHistory(EditRecord edit, bool undoing);
    void rebuildLineMap();
    DocPosition clamp(DocPosition position) const;

    ParagraphStore paragraphs_;  // never without a paragraph: empty is one empty paragraph
    long long characterCount_ = 0;
    LayoutSettings layout_;
    DisplayLineMap lineMap_;  // only while word wrap is on
    DocPosition caret_;
    DocPosition anchor_;
    bool insertMode_ = true;
    bool modified_ = false;
    bool undoKept_ = true;
    EditHistory history_{kHistoryBytes};
    std::string fileName_;
};

}  // namespace zantor::editor
