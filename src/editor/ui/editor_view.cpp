#include "editor/ui/editor_view.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <algorithm>

#include "editor/control_chars.h"
#include "editor/paragraph_layout.h"
#include "editor/paragraph_text.h"
#include "editor/text_document.h"

namespace zantor::editor {

namespace {

constexpr int kBookmarkMargin = 1;
constexpr int kLeftMarginWidth = 15;
constexpr int kRightMarginWidth = 5;

// Clipboard text in and out: one character per byte.
std::string withLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// QScintilla's accessibility interface counts the characters from the start
// of the text to the caret at every screen update, which makes scrolling and
// typing near the end of a million-line program take a tenth of a second. The
// views get Qt's plain widget interface instead. Installed after QScintilla's
// own factory, so it is asked first.
QAccessibleInterface* plainAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(EditorView::staticMetaObject.className()) &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
    return nullptr;
}

}  // namespace

EditorView::EditorView(QWidget* parent) : QsciScintilla(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(plainAccessible);
        return true;
    }();
    (void)factoryInstalled;
    setUtf8(false);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_LF);
    setMarginWidth(0, 0);
    setMarginWidth(2, 0);
    setMarginType(kBookmarkMargin, SymbolMargin);
    setMarginWidth(kBookmarkMargin, kLeftMarginWidth);
    setMarginSensitivity(kBookmarkMargin, false);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 0L);
    SendScintilla(SCI_SETMARGINRIGHT, 0UL, long(kRightMarginWidth));
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    SendScintilla(SCI_SETENDATLASTLINE, 1);
    // Wrapped lines start at the left edge: the window counts them so.
    SendScintilla(SCI_SETWRAPINDENTMODE, SC_WRAPINDENT_FIXED);
    SendScintilla(SCI_SETWRAPSTARTINDENT, 0);
    SendScintilla(SCI_SETWRAPVISUALFLAGS, SC_WRAPVISUALFLAG_NONE);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setOverwriteMode(false);
    markerDefine(QsciScintilla::Bookmark, 0);
    // Ctrl+Del is the main window's Delete command, not "delete word"; the
    // Search and Insert keys (Ctrl+T is "swap lines" here) are the menus' too.
    for (const QKeyCombination key :
         {Qt::CTRL | Qt::Key_Delete, Qt::CTRL | Qt::Key_F, Qt::CTRL | Qt::Key_R,
          Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_E, Qt::CTRL | Qt::Key_M,
          Qt::CTRL | Qt::Key_B, Qt::CTRL | Qt::Key_J, Qt::CTRL | Qt::Key_I,
          QKeyCombination(Qt::Key_F3), QKeyCombination(Qt::Key_F4)}) {
        while (QsciCommand* command = standardCommands()->boundTo(key.toCombined())) {
            if (command->key() == key.toCombined())
                command->setKey(0);
            else
                command->setAlternateKey(0);
        }
    }

    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) {
        colourVisibleLines();
        emit stateChanged();
    });
    takeEditNotices();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int, int, int, int, int) {
                if (type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) emit stateChanged();
            });
}

void EditorView::takeEditNotices() {
    // QScintilla's accessibility hook counts the characters up to the change
    // for every insert or delete it is told of, which makes each keystroke
    // near the end of a large program cost time in proportion to its size.
    // The notices sent before a change carry what the window needs instead.
    SendScintilla(SCI_SETMODEVENTMASK,
                  SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE | SC_MOD_CONTAINER);
}

void EditorView::applySettings(const EditorViewSettings& settings) {
    settings_ = settings;
    const QByteArray family = settings.font.family().toLatin1();
    SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, family.constData());
    SendScintilla(SCI_STYLESETSIZE, STYLE_DEFAULT,
                  long(settings.font.pointSize() > 0 ? settings.font.pointSize() : 10));
    SendScintilla(SCI_STYLESETBOLD, STYLE_DEFAULT, long(settings.font.bold()));
    SendScintilla(SCI_STYLESETITALIC, STYLE_DEFAULT, long(settings.font.italic()));
    SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, settings.fontColor);
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, settings.background);
    SendScintilla(SCI_STYLECLEARALL);
    applyStyleColours();
    SendScintilla(SCI_SETCARETFORE, settings.fontColor);

    SendScintilla(SCI_SETTABWIDTH, std::max(1, settings.tabSize));
    setIndentationsUseTabs(settings.tabType != 0);
    setTabIndents(false);
    setAutoIndent(settings.autoIndent);
    setWordWrapShown(settings.wordWrap);
    applyWrapWidth();
    colourVisibleLines();
}

void EditorView::setColourSlot(int slot) {
    colourSlot_ = slot;
    applyStyleColours();
}

void EditorView::applyStyleColours() {
    const QColor colours[kSyntaxClasses] = {settings_.fontColor, settings_.alphaColor,
                                            settings_.nonAlphaColor, settings_.commentColor};
    for (int style = 0; style < kSyntaxClasses * kSyntaxClasses; ++style)
        SendScintilla(SCI_STYLESETFORE, style, colours[classInStyle(style)]);
}

int EditorView::classInStyle(int style) const {
    return colourSlot_ == 0 ? style % kSyntaxClasses : style / kSyntaxClasses % kSyntaxClasses;
}

int EditorView::styleWithClass(int style, int syntaxClass) const {
    return colourSlot_ == 0 ? style - style % kSyntaxClasses + syntaxClass
                            : style % kSyntaxClasses + kSyntaxClasses * syntaxClass;
}

void EditorView::setWordWrapShown(bool on) {
    // At blanks only: word wrapping would also break where the colour
    // changes, and the document's display lines would no longer be the
    // view's.
    SendScintilla(SCI_SETWRAPMODE, on ? SC_WRAP_WHITESPACE : SC_WRAP_NONE);
}

int EditorView::characterWidth() const {
    return std::max(1, int(SendScintilla(SCI_TEXTWIDTH, STYLE_DEFAULT, "0")));
}

int EditorView::columnsWidth(int columns) const {
    const std::string zeros(size_t(std::max(1, columns)), '0');
    return int(SendScintilla(SCI_TEXTWIDTH, STYLE_DEFAULT, zeros.c_str()));
}

int EditorView::visibleColumns() const {
    // As many as fit with half a character to spare, the room the wrap
    // width below needs.
    const int textWidth = viewport()->width() - kLeftMarginWidth - kRightMarginWidth;
    const int half = characterWidth() / 2;
    int columns = std::max(1, (textWidth - half) / characterWidth());
    while (columns > 1 && columnsWidth(columns) + half > textWidth) --columns;
    return columns;
}

void EditorView::applyWrapWidth() {
    // Scintilla wraps at the edge of its text area: a right margin leaves an
    // area exactly as wide as the wrap column's characters and half of one
    // more, so that the last column fits and the next does not, whatever
    // rounding the font's widths have.
    long right = kRightMarginWidth;
    if (settings_.wordWrap) {
        const int columns = settings_.wrapToWindow ? visibleColumns() : settings_.wrapColumn;
        const int wanted = columnsWidth(columns) + characterWidth() / 2;
        right = std::max<long>(kRightMarginWidth, viewport()->width() - kLeftMarginWidth - wanted);
    }
    if (SendScintilla(SCI_GETMARGINRIGHT) != right) SendScintilla(SCI_SETMARGINRIGHT, 0UL, right);
}

void EditorView::resizeEvent(QResizeEvent* event) {
    QsciScintilla::resizeEvent(event);
    applyWrapWidth();
}

bool EditorView::viewportEvent(QEvent* event) {
    const bool handled = QsciScintilla::viewportEvent(event);
    // The text area also narrows when the vertical scroll bar appears.
    if (event->type() == QEvent::Resize) {
        applyWrapWidth();
        emit textAreaResized();
    }
    return handled;
}

// ---- bytes -------------------------------------------------------------

long EditorView::textLength() const {
    return SendScintilla(SCI_GETLENGTH);
}

int EditorView::lineCount() const {
    return int(SendScintilla(SCI_GETLINECOUNT));
}

long EditorView::lineStart(int line) const {
    return SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}

long EditorView::lineEnd(int line) const {
    return SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
}

int EditorView::lineOf(long position) const {
    return int(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
}

std::string_view EditorView::bytes(long position, long length) const {
    if (length <= 0) return {};
    const auto* data = reinterpret_cast<const char*>(
        SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), length));
    return data ? std::string_view(data, size_t(length)) : std::string_view();
}

std::string_view EditorView::lineBytes(int line) const {
    const long start = lineStart(line);
    return bytes(start, lineEnd(line) - start);
}

void EditorView::replaceBytes(long from, long to, std::string_view text) {
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    // Scintilla wants a text pointer even for nothing.
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()),
                  text.empty() ? "" : text.data());
}

void EditorView::appendBytes(std::string_view text) {
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
}

long EditorView::caretPosition() const {
    return SendScintilla(SCI_GETCURRENTPOS);
}

long EditorView::anchorPosition() const {
    return SendScintilla(SCI_GETANCHOR);
}

void EditorView::setSelectionPositions(long anchor, long caret) {
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
}

std::string EditorView::selectedBytes() const {
    const long from = SendScintilla(SCI_GETSELECTIONSTART);
    const long to = SendScintilla(SCI_GETSELECTIONEND);
    return std::string(bytes(from, to - from));
}

// ---- clipboard and keys ------------------------------------------------

void EditorView::copyBytes() {
    const std::string text = applyControlCharRule(selectedBytes(), keepControlChars_);
    if (text.empty()) return;
    QApplication::clipboard()->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    emit stateChanged();
}

void EditorView::cutBytes() {
    if (isReadOnly() || SendScintilla(SCI_GETSELECTIONEMPTY)) return;
    copyBytes();
    if (pasteHandler_) return pasteHandler_({});
    SendScintilla(SCI_CLEAR);
}

void EditorView::pasteBytes() {
    if (isReadOnly()) return;
    const QByteArray latin1 = QApplication::clipboard()->text().toLatin1();
    const std::string text =
        withLineFeeds(std::string_view(latin1.constData(), size_t(latin1.size())));
    if (text.empty()) return;
    if (pasteHandler_) return pasteHandler_(text);
    const long from = SendScintilla(SCI_GETSELECTIONSTART);
    const long to = SendScintilla(SCI_GETSELECTIONEND);
    SendScintilla(SCI_BEGINUNDOACTION);
    replaceBytes(from, to, text);
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(from + long(text.size())));
}

void EditorView::deleteForward() {
    SendScintilla(SCI_CLEAR);
}

bool EditorView::overwriteMode() const {
    return SendScintilla(SCI_GETOVERTYPE) != 0;
}

void EditorView::setOverwriteMode(bool on) {
    SendScintilla(SCI_SETOVERTYPE, on ? 1 : 0);
    SendScintilla(SCI_SETCARETSTYLE, on ? CARETSTYLE_BLOCK : CARETSTYLE_LINE);
    SendScintilla(SCI_SETCARETWIDTH, 2);
}

void EditorView::insertTab() {
    // Smart tabs: move to where the next word of the line above starts.
    const long caret = caretPosition();
    const int line = lineOf(caret);
    const long column = caret - lineStart(line);
    if (line > 0) {
        const std::string above(lineBytes(line - 1));
        for (size_t i = size_t(column) + 1; i < above.size(); ++i) {
            if (isBlank(above[i - 1]) && !isBlank(above[i])) {
                const std::string spaces(i - size_t(column), ' ');
                replaceBytes(caret, caret, spaces);
                SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(caret + long(spaces.size())));
                return;
            }
        }
    }
    SendScintilla(SCI_TAB);
}

void EditorView::guarded(const std::function<void()>& edit) {
    if (editGuard_)
        editGuard_(edit);
    else
        edit();
}

bool EditorView::keyMayBreakLimits(int command) const {
    if (isReadOnly()) return false;
    const long from = SendScintilla(SCI_GETSELECTIONSTART);
    const long to = SendScintilla(SCI_GETSELECTIONEND);
    if (lineOf(from) != lineOf(to) || SendScintilla(SCI_GETSELECTIONS) > 1) return true;
    const long caret = caretPosition();
    const int line = lineOf(caret);
    if (lineEnd(line) - lineStart(line) > kMaxParagraphLength / 2) return true;
    // Deleting backward at the start of a line, or forward at its end, joins
    // it with its neighbour.
    switch (command) {
        case SCI_DELETEBACK:
        case SCI_DELWORDLEFT:
            return caret == lineStart(line) && line > 0;
        case SCI_CLEAR:
        case SCI_DELWORDRIGHT:
        case SCI_DELWORDRIGHTEND:
            return caret == lineEnd(line) && line + 1 < lineCount();
        default:
            return false;
    }
}

namespace {
// Alt with a key no editor command takes: the menus' mnemonics (Alt+F opens
// File), as everywhere on the desktop. Ctrl+Alt stays with the editor, for
// the characters AltGr types on many keyboards.
bool belongsToTheMenus(const QKeyEvent& key, const QsciCommandSet& commands) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) &&
           !commands.boundTo(key.key() | int(mods));
}
}  // namespace

int EditorView::wordStarCommand(const QKeyEvent& event) const {
    if (!settings_.wordStar || event.modifiers() != Qt::ControlModifier) return 0;
    // The caret moves of the WordStar diamond and its neighbours, and its
    // deletions. Ctrl+Z keeps undoing: losing undo to a scroll would cost more
    // than the scroll is worth.
    switch (event.key()) {
        case Qt::Key_E:
            return SCI_LINEUP;
        case Qt::Key_X:
            return SCI_LINEDOWN;
        case Qt::Key_S:
            return SCI_CHARLEFT;
        case Qt::Key_D:
            return SCI_CHARRIGHT;
        case Qt::Key_A:
            return SCI_WORDLEFT;
        case Qt::Key_F:
            return SCI_WORDRIGHT;
        case Qt::Key_R:
            return SCI_PAGEUP;
        case Qt::Key_C:
            return SCI_PAGEDOWN;
        case Qt::Key_G:
            return SCI_CLEAR;
        case Qt::Key_H:
            return SCI_DELETEBACK;
        case Qt::Key_T:
            return SCI_DELWORDRIGHT;
        case Qt::Key_Y:
            return SCI_LINEDELETE;
        default:
            return 0;
    }
}

bool EditorView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        wordStarCommand(*static_cast<QKeyEvent*>(event))) {
        event->accept();  // the key comes here rather than to a menu
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride &&
        belongsToTheMenus(*static_cast<QKeyEvent*>(event), *standardCommands())) {
        event->ignore();  // the shortcut goes ahead
        return true;
    }
    return QsciScintilla::event(event);
}

void EditorView::keyPressEvent(QKeyEvent* event) {
    if (const int command = wordStarCommand(*event)) {
        if (keyMayBreakLimits(command))
            guarded([this, command] { SendScintilla(command); });
        else
            SendScintilla(command);
        emit stateChanged();
        return;
    }
    if (belongsToTheMenus(*event, *standardCommands())) {
        event->ignore();  // no menu has that letter: nothing is typed either
        return;
    }
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        // The mode belongs to the document: the window switches every view.
        emit insertKeyPressed();
        return;
    }
    const QsciCommand* bound =
        standardCommands()->boundTo(event->key() | int(event->modifiers() & ~Qt::KeypadModifier));
    const int command = bound ? int(bound->command()) : 0;
    // Clipboard, undo and redo go through the window, by whichever key.
    if (event->matches(QKeySequence::Copy) || command == SCI_COPY) return copyBytes();
    if (event->matches(QKeySequence::Cut) || command == SCI_CUT) return cutBytes();
    if (event->matches(QKeySequence::Paste) || command == SCI_PASTE) return pasteBytes();
    if (command == SCI_UNDO && undoHandler_) {
        undoHandler_();
        emit stateChanged();
        return;
    }
    if (command == SCI_REDO && redoHandler_) {
        redoHandler_();
        emit stateChanged();
        return;
    }
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier &&
        settings_.tabType == 2 && SendScintilla(SCI_GETSELECTIONEMPTY) && !isReadOnly()) {
        guarded([this] { insertTab(); });
        emit stateChanged();
        return;
    }
    if (keyMayBreakLimits(command))
        guarded([this, event] { QsciScintilla::keyPressEvent(event); });
    else
        QsciScintilla::keyPressEvent(event);
    emit stateChanged();
}

void EditorView::mousePressEvent(QMouseEvent* event) {
    // The middle button pastes the desktop's selection: like every paste,
    // through the window.
    QClipboard* clipboard = QApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && pasteHandler_ &&
        !isReadOnly()) {
        const QPoint at = event->position().toPoint();
        const long position =
            SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(at.x()), long(at.y()));
        setSelectionPositions(position, position);
        const QByteArray latin1 = clipboard->text(QClipboard::Selection).toLatin1();
        const std::string text =
            withLineFeeds(std::string_view(latin1.constData(), size_t(latin1.size())));
        if (!text.empty()) pasteHandler_(text);
        emit stateChanged();
        return;
    }
    QsciScintilla::mousePressEvent(event);
}

void EditorView::mouseReleaseEvent(QMouseEvent* event) {
    QsciScintilla::mouseReleaseEvent(event);
    emit stateChanged();
}

void EditorView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) return event->ignore();
    QsciScintilla::dragEnterEvent(event);
}

void EditorView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) return event->ignore();
    QsciScintilla::dragMoveEvent(event);
}

void EditorView::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) return event->ignore();
    // Moving text may join the paragraphs around it.
    guarded([this, event] { QsciScintilla::dropEvent(event); });
    emit stateChanged();
}

void EditorView::focusInEvent(QFocusEvent* event) {
    QsciScintilla::focusInEvent(event);
    emit focused(this);
}

void EditorView::contextMenuEvent(QContextMenuEvent* event) {
    if (!contextMenu_) return QsciScintilla::contextMenuEvent(event);
    contextMenu_->exec(event->globalPos());
}

// ---- syntax colouring --------------------------------------------------

void EditorView::colourVisibleLines() {
    if (colouring_ || lineCount() == 0) return;
    const QScopedValueRollback guard(colouring_, true);
    const int firstVisual = int(SendScintilla(SCI_GETFIRSTVISIBLELINE));
    const int onScreen = int(SendScintilla(SCI_LINESONSCREEN));
    const int firstLine = int(SendScintilla(SCI_DOCLINEFROMVISIBLE, firstVisual));
    const int lastLine = std::min(
        lineCount() - 1, int(SendScintilla(SCI_DOCLINEFROMVISIBLE, firstVisual + onScreen)));
    const CommentStrings comments = commentSource_ ? commentSource_() : CommentStrings{};
    auto layout = [this](std::string_view text) {
        return layoutSource_ ? layoutSource_(text) : std::vector<int>{0};
    };

    // Display lines are (line, part of the line) pairs; those from the
    // selection's first to its last are painted without colouring.
    using DisplayKey = std::pair<int, int>;
    auto keyOf = [&](long position) {
        const int line = lineOf(position);
        return DisplayKey{
            line, displayLineOfOffset(layout(lineBytes(line)), int(position - lineStart(line)))};
    };
    const long selFrom = SendScintilla(SCI_GETSELECTIONSTART);
    const long selTo = SendScintilla(SCI_GETSELECTIONEND);
    const bool selection = selFrom != selTo;
    const DisplayKey firstSelected = selection ? keyOf(selFrom) : DisplayKey{};
    const DisplayKey lastSelected = selection ? keyOf(selTo) : DisplayKey{};

    const int scrolledColumns = int(SendScintilla(SCI_GETXOFFSET)) / characterWidth();
    const int columns = visibleColumns();
    std::string styles;
    std::string cells;
    for (int line = firstLine; line <= lastLine; ++line) {
        const std::string text(lineBytes(line));
        const long start = lineStart(line);
        const std::vector<int> starts = layout(text);
        for (size_t part = 0; part < starts.size(); ++part) {
            const size_t end = part + 1 < starts.size() ? size_t(starts[part + 1]) : text.size();
            const size_t from = size_t(starts[part]) + size_t(scrolledColumns);
            if (from >= end) continue;
            const size_t length = std::min({end - from, size_t(columns), kColouredPartLimit});
            const DisplayKey key{line, int(part)};
            const bool plain =
                !settings_.showSyntax || (selection && firstSelected <= key && key <= lastSelected);
            const std::vector<SyntaxClass> classes =
                plain ? std::vector<SyntaxClass>(length, SyntaxClass::Plain)
                      : classifyVisibleLine(std::string_view(text).substr(from, length), comments);
            // Only this view's share of each style changes; the other view of
            // a split keeps its own colouring of the same text. The old styles
            // come in one call, as (character, style) byte pairs.
            const long styleFrom = start + long(from);
            cells.resize(2 * length + 2);
            SendScintilla(SCI_GETSTYLEDTEXT, styleFrom, styleFrom + long(length), cells.data());
            styles.resize(length);
            for (size_t i = 0; i < length; ++i) {
                const int old = static_cast<unsigned char>(cells[2 * i + 1]);
                styles[i] = char(styleWithClass(old, int(classes[i])));
            }
            SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start + long(from)), 0L);
            SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(length), styles.data());
        }
    }
    // Everything counts as styled now: Scintilla would otherwise style the
    // whole text between the last styled place and the shown lines itself.
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(textLength()), 0L);
}

}  // namespace zantor::editor
