#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/text_document.h"

namespace zantor {

// What a utility shows while it walks a program: the progress box in the
// desktop program, nothing on the command line.
class LineWalkProgress {
public:
    virtual ~LineWalkProgress() = default;
    // Shown with the caption and the meter at 0 %; an earlier Cancel is forgotten.
    virtual void begin(const std::string& caption) = 0;
    virtual void setPercent(int percent) = 0;
    // Called between lines: lets the window repaint and Cancel be pressed
    // when it is time to (the implementation decides how often).
    virtual void keepAlive() = 0;
    virtual bool cancelled() const = 0;
    virtual void end() = 0;
};

// Shows nothing and is never cancelled.
class NoProgress final : public LineWalkProgress {
public:
    void begin(const std::string&) override {}
    void setPercent(int) override {}
    void keepAlive() override {}
    bool cancelled() const override { return false; }
    void end() override {}
};

// Lines here are program lines (paragraphs, 1-based), never display lines:
// word wrap changes nothing a utility does.
struct LineRange {
    int first = 1;
    int last = 0;  // before `first`: no line at all
    bool selection = false;
};

// The paragraphs from the selection's first to its last (columns do not
// count) when `useSelection` and there is a selection; otherwise all.
LineRange walkRange(const editor::TextDocument& document, bool useSelection);

// The frame of one run: the progress box is shown, redraw suspended and the
// edits made one batch for its lifetime; at its end, however it ends, the
// box is hidden, redraw resumed and the caret put at 1:1.
class LineWalk {
public:
    LineWalk(editor::TextDocument& document, LineWalkProgress& progress,
             const std::string& caption);
    ~LineWalk();
    LineWalk(const LineWalk&) = delete;
    LineWalk& operator=(const LineWalk&) = delete;

    // The meter at done / total, the window kept alive; true when Cancel
    // was pressed.
    bool step(long long done, long long total);
    bool cancelled() const { return progress_.cancelled(); }

private:
    editor::TextDocument& document_;
    LineWalkProgress& progress_;
    int shownPercent_ = 0;
};

// Examines one line (its whole text, tabs as stored) and edits it through
// ReplaceInLine, ReplaceLine or DeleteLine.
using LineAction = std::function<void(const std::string& lineText, int lineNumber)>;

// Calls `lineAction` for every line of the selection, or of the whole
// document without one (the line count is read again after every line, as
// actions may delete lines). Stops after the current line when Cancel is
// pressed; the changes so far stay. Returns false when cancelled.
bool RunLineTransform(editor::TextDocument& document, LineWalkProgress& progress,
                      const std::string& caption, const LineAction& lineAction);

// One edit of line `lineNumber`: the first `oldText` at or after `column`
// (0-based) replaced by `newText`; with an empty `oldText`, `newText`
// inserted at `column`. Nothing happens when `oldText` is not in the line
// there or both are empty. Returns whether the line was edited.
bool ReplaceInLine(editor::TextDocument& document, std::string_view oldText,
                   std::string_view newText, int lineNumber, int column);

// Line `lineNumber`, now `oldLine`, becomes `newLine` whatever its length:
// one edit of the part between what both share at the start and the end.
void ReplaceLine(editor::TextDocument& document, int lineNumber, std::string_view oldLine,
                 std::string_view newLine);

// Deletes line `lineNumber` with its line end; the last line is emptied
// instead, as DeleteCaretLine does.
void DeleteLine(editor::TextDocument& document, int lineNumber);

}  // namespace zantor
