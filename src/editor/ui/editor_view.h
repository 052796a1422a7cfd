#pragma once

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ui/editor_view_settings.h"
#include "editor/ui/syntax_colouring.h"

class QMenu;

namespace zantor::editor {

// One QScintilla view of an editor window. The text is bytes, one character
// per byte: UTF-8 is off, lines end with LF inside the view, and every byte
// goes in and out through Scintilla's byte interface (never through QString),
// so that any byte value survives. It paints the NC syntax colouring of the
// lines it shows, and nothing else, so a million-line program stays quick.
class EditorView : public QsciScintilla {
    Q_OBJECT
public:
    explicit EditorView(QWidget* parent = nullptr);

    void applySettings(const EditorViewSettings& settings);
    // Switches Scintilla's own line wrapping without changing the settings.
    void setWordWrapShown(bool on);
    // Edits are reported by SCN_MODIFIED before they happen (SC_MOD_BEFOREINSERT,
    // SC_MOD_BEFOREDELETE), together with the undo tokens of SC_MOD_CONTAINER.
    void takeEditNotices();
    const EditorViewSettings& settings() const { return settings_; }
    // The first view of a window keeps control characters on copy; the second
    // view of a split turns codes 0 to 9 into spaces.
    void setKeepControlChars(bool keep) { keepControlChars_ = keep; }
    // Both views of a split share one document and so its style bytes: each
    // style holds the colour class of the first view (slot 0) and of the
    // second (slot 1), and each view shows and sets only its own.
    void setColourSlot(int slot);
    bool keepControlChars() const { return keepControlChars_; }
    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }
    // Where the colouring reads the comment strings at every paint.
    void setCommentSource(std::function<CommentStrings()> source) {
        commentSource_ = std::move(source);
    }
    // Where pasted text goes instead of straight into the view, so that it
    // is trimmed and checked like every edit of the document. Cut hands it
    // an empty text once the selection is on the clipboard.
    void setPasteHandler(std::function<void(std::string_view)> handler) {
        pasteHandler_ = std::move(handler);
    }
    // Runs an edit the view makes itself (a key, a drop) so that the window
    // can take it back when it breaks a paragraph limit.
    using EditGuard = std::function<void(const std::function<void()>&)>;
    void setEditGuard(EditGuard guard) { editGuard_ = std::move(guard); }
    // The undo and redo keys run the window's commands.
    void setUndoHandlers(std::function<void()> undo, std::function<void()> redo) {
        undoHandler_ = std::move(undo);
        redoHandler_ = std::move(redo);
    }
    // Display-line starts of a paragraph (offsets), as the window lays it out.
    void setLayoutSource(std::function<std::vector<int>(std::string_view)> source) {
        layoutSource_ = std::move(source);
    }

    // Bytes and positions (0-based, Scintilla's own).
    long textLength() const;
    int lineCount() const;
    long lineStart(int line) const;
    long lineEnd(int line) const;
    int lineOf(long position) const;
    // Valid until the next change of the text.
    std::string_view bytes(long position, long length) const;
    std::string_view lineBytes(int line) const;
    void replaceBytes(long from, long to, std::string_view text);
    void appendBytes(std::string_view text);
    long caretPosition() const;
    long anchorPosition() const;
    void setSelectionPositions(long anchor, long caret);
    std::string selectedBytes() const;

    void copyBytes();
    void cutBytes();
    void pasteBytes();
    void deleteForward();
    bool overwriteMode() const;
    void setOverwriteMode(bool on);

    // Character columns that fit the text area.
    int visibleColumns() const;
    // Pixels taken by `columns` characters of the editor font.
    int columnsWidth(int columns) const;
    void colourVisibleLines();

    // QsciScintilla's clipboard slots go through the byte interface too.
    void copy() override { copyBytes(); }
    void cut() override { cutBytes(); }
    void paste() override { pasteBytes(); }

signals:
    void focused(EditorView* view);
    // The caret moved, the selection or the text changed, or the view scrolled.
    void stateChanged();
    // Insert was pressed: switch between insert and overwrite mode.
    void insertKeyPressed();
    // The text area changed its width (a resize, a scroll bar came or went).
    void textAreaResized();

protected:
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Files dropped on a view go to the main window, which opens them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyWrapWidth();
    void applyStyleColours();
    int classInStyle(int style) const;
    int styleWithClass(int style, int syntaxClass) const;
    void insertTab();
    int characterWidth() const;
    // Whether a key may join paragraphs or make one longer than half the
    // limit, so that the window must check what it did.
    bool keyMayBreakLimits(int command) const;
    void guarded(const std::function<void()>& edit);

    EditorViewSettings settings_;
    bool keepControlChars_ = true;
    QMenu* contextMenu_ = nullptr;
    std::function<CommentStrings()> commentSource_;
    std::function<void(std::string_view)> pasteHandler_;
    EditGuard editGuard_;
    std::function<void()> undoHandler_;
    std::function<void()> redoHandler_;
    std::function<std::vector<int>(std::string_view)> layoutSource_;
    bool colouring_ = false;
    int colourSlot_ = 0;
};

}  // namespace zantor::editor
