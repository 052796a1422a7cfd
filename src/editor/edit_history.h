#pragma once

#include <deque>
#include <string>
#include <vector>

namespace zantor::editor {

// A place in the document: 0-based paragraph and character offset.
struct DocPosition {
    int paragraph = 0;
    int offset = 0;
    friend auto operator<=>(const DocPosition&, const DocPosition&) = default;
};

// One edit as an exchange: undoing puts back what the edit took out and
// keeps what it takes out in turn, so the same exchange redoes the edit.
// Either a run of whole paragraphs (`paragraphs` in place of the
// `replacedCount` paragraphs from `first`) or, for an edit inside one
// paragraph, only the changed span (`spanText` in place of the `spanLength`
// characters from `spanOffset` of paragraph `first`): the utilities edit
// millions of lines, and a record of a few characters costs no allocation.
struct EditRecord {
    int first = 0;
    int replacedCount = 0;
    std::vector<std::string> paragraphs;
    bool inParagraph = false;
    int spanOffset = 0;
    int spanLength = 0;
    std::string spanText;
    DocPosition anchorBefore, caretBefore;  // selection to restore on undo
    DocPosition caretAfter;                 // caret to restore on redo

    size_t bytes() const;
};

// Undo and redo, edit by edit. The undo side holds at least `capacityBytes`
// of paragraph text (and always the latest edit, however large), dropping
// the oldest edits beyond that.
class EditHistory {
public:
    explicit EditHistory(size_t capacityBytes) : capacity_(capacityBytes) {}

    void record(EditRecord edit);  // a new edit: the redo side is dropped
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    EditRecord takeUndo();
    EditRecord takeRedo();
    void pushUndone(EditRecord edit);  // after undoing it
    void pushRedone(EditRecord edit);  // after redoing it
    void clear();

private:
    void pushUndo(EditRecord edit);

    size_t capacity_;
    size_t undoBytes_ = 0;
    std::deque<EditRecord> undo_;
    std::vector<EditRecord> redo_;
};

}  // namespace zantor::editor
