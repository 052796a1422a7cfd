#include "editor/ui/tmdi_child.h"

#include <QCloseEvent>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <new>

#include "core/file_io.h"
#include "core/interaction.h"
#include "editor/paragraph_replacement.h"
#include "editor/paragraph_text.h"
#include "editor/program_file.h"
#include "editor/text_search.h"
#include "editor/ui/editor_host.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/split_bar.h"

namespace zantor::editor {

namespace {

// Loading hands Scintilla the text in pieces of this size.
constexpr size_t kLoadChunk = 1 << 20;

// The undo token of a step that undo and redo take together with the step
// before it: a trim of trailing blanks, or the empty step that ends the redo
// of a refused edit.
constexpr int kGluedToken = 0;

// Neither view of a split goes below this height while the window has room
// for both; a window lower than both views and the bar keeps the share it
// had, to show it again when it grows.
constexpr int kLeastViewHeight = 20;
constexpr int kUsableHeight = 2 * kLeastViewHeight + SplitBar::kHeight;

// How a run of paragraphs [first, end) lies after paragraphs
// [edit, edit + replaced) became `inserted` paragraphs: never less than what
// the run may now hold.
std::pair<int, int> followEdit(std::pair<int, int> run, int edit, int replaced, int inserted) {
    auto [first, end] = run;
    if (end <= edit) return run;
    if (first >= edit + replaced) return {first + inserted - replaced, end + inserted - replaced};
    return {std::min(first, edit), std::max(edit + inserted, end + inserted - replaced)};
}

}  // namespace

TMDIChild::TMDIChild(EditorHost& host, const std::string& name, QWidget* parent)
    : QWidget(parent), host_(host), editor1_(new EditorView(this)), current_(editor1_) {
    setObjectName("MDIChild");
    editor1_->setObjectName("Editor1");
    editor1_->setKeepControlChars(true);
    setUpView(editor1_);
    connect(editor1_, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int token,
                   int) { documentModified(position, type, length, token); });
    applyViewSettings(host_.viewSettings());
    SetFileName(name);
    // Blanks go once the caret has left their line: looked at after every
    // caret move, once the view is done with the event that moved it.
    trimTimer_.setSingleShot(true);
    trimTimer_.setInterval(0);
    connect(&trimTimer_, &QTimer::timeout, this, [this] { trimBlanks(true); });
    resize(600, 400);
}

QSize TMDIChild::sizeHint() const {
    return {600, 400};
}

TMDIChild::~TMDIChild() = default;

void TMDIChild::setUpView(EditorView* view) {
    view->setContextMenu(host_.editorContextMenu());
    view->setCommentSource([this] { return host_.commentStrings(); });
    view->setLayoutSource([this](std::string_view paragraph) { return lineStarts(paragraph); });
    view->setPasteHandler([this](std::string_view text) { pasteText(text); });
    view->setEditGuard([this](const std::function<void()>& edit) { guardViewEdit(edit); });
    view->setUndoHandlers([this] { UndoEdit(); }, [this] { RedoEdit(); });
    connect(view, &EditorView::focused, this, &TMDIChild::viewFocused);
    connect(view, &EditorView::insertKeyPressed, this, [this] { SetInsertMode(!InsertMode()); });
    connect(view, &EditorView::stateChanged, this, [this] {
        trimTimer_.start();
        host_.editorStateChanged(*this);
    });
    connect(view, &EditorView::textAreaResized, this, &TMDIChild::updateWrapToWindow);
}

void TMDIChild::applyViewSettings(const EditorViewSettings& settings) {
    editor1_->applySettings(settings);
    if (view2_) view2_->applySettings(settings);
    layout_ = {settings.wordWrap, settings.wrapColumn, settings.tabSize};
    if (settings.wrapToWindow) layout_.wrapColumn = editor1_->visibleColumns();
    rebuildLineMap();
}

std::vector<int> TMDIChild::lineStarts(std::string_view paragraph) const {
    if (!layout_.wordWrap) return {0};
    return displayLineStarts(paragraph, layout_);
}

std::string_view TMDIChild::paragraphText(int paragraph) const {
    return withoutTrailingBlanks(editor1_->lineBytes(paragraph));
}

void TMDIChild::rebuildLineMap() {
    finishPendingEdit();
    if (!layout_.wordWrap) {
        lineMap_.assign({});
        showWrapWhereNeeded();
        return;
    }
    std::vector<int> counts;
    const int lines = editor1_->lineCount();
    counts.reserve(size_t(lines));
    for (int line = 0; line < lines; ++line)
        counts.push_back(displayLineCount(paragraphText(line), layout_));
    lineMap_.assign(std::move(counts));
    showWrapWhereNeeded();
}

void TMDIChild::showWrapWhereNeeded() const {
    // Scintilla lays out every line of the program to wrap it, which takes
    // seconds in a million-line program. While no paragraph is longer than
    // the wrap column the views show the same lines without wrapping.
    wrapShown_ = layout_.wordWrap && lineMap_.totalLines() != lineMap_.paragraphCount();
    editor1_->setWordWrapShown(wrapShown_);
    if (view2_) view2_->setWordWrapShown(wrapShown_);
}

void TMDIChild::updateWrapToWindow() {
    if (!editor1_->settings().wordWrap || !editor1_->settings().wrapToWindow) return;
    const int columns = editor1_->visibleColumns();
    if (columns == layout_.wrapColumn) return;
    layout_.wrapColumn = columns;
    rebuildLineMap();
}

void TMDIChild::documentModified(int position, int type, int length, int token) {
    if (type & QsciScintillaBase::SC_MOD_CONTAINER) {
        if (batches_.count(token) != 0) {
            // Undone or redone in UndoEdit or RedoEdit: text cannot change
            // while Scintilla reports.
            batchStepSeen_ = token;
            return;
        }
        if (token == kGluedToken &&
            (type & (QsciScintillaBase::SC_PERFORMED_UNDO | QsciScintillaBase::SC_PERFORMED_REDO)))
            gluedStepSeen_ = true;
        const auto record = caretRecords_.find(token);
        if (record == caretRecords_.end()) return;
        if (type & QsciScintillaBase::SC_PERFORMED_UNDO) pendingSelection_ = record->second.before;
        if (type & QsciScintillaBase::SC_PERFORMED_REDO) pendingCaret_ = record->second.after;
        return;
    }
    const bool inserting = type & QsciScintillaBase::SC_MOD_BEFOREINSERT;
    if (!inserting && !(type & QsciScintillaBase::SC_MOD_BEFOREDELETE)) return;
    if (loading_) return;
    if ((type & QsciScintillaBase::SC_PERFORMED_USER) && batchDepth_ == 0 && !applyingBatchEdit_)
        dropBatchRedo();
    modified_ = true;
    finishPendingEdit();  // the previous edit is done by now
    const int first = editor1_->lineOf(position);
    if (inserting)
        pendingEdit_ = PendingEdit{first, 1, long(position) + length, ownEdit_};
    else
        pendingEdit_ =
            PendingEdit{first, editor1_->lineOf(long(position) + length) - first + 1, -1, ownEdit_};
    // The edit may change whether a paragraph is longer than the wrap column:
    // look once it is done.
    if (!wrapCheckQueued_) {
        wrapCheckQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            wrapCheckQueued_ = false;
            finishPendingEdit();
        });
    }
}

void TMDIChild::finishPendingEdit() const {
    if (!pendingEdit_) return;
    const PendingEdit edit = *pendingEdit_;
    pendingEdit_.reset();
    const int first = edit.firstParagraph;
    const int inserted = edit.insertEnd < 0 ? 1 : editor1_->lineOf(edit.insertEnd) - first + 1;
    // (A map still empty is about to be built whole.)
    if (layout_.wordWrap && lineMap_.paragraphCount() > 0) {
        std::vector<int> counts;
        for (int k = 0; k < inserted; ++k)
            counts.push_back(displayLineCount(paragraphText(first + k), layout_));
        lineMap_.replace(first, edit.replaced, counts);
        if (wrapShown_ != (lineMap_.totalLines() != lineMap_.paragraphCount()))
            showWrapWhereNeeded();
    }
    if (!blankLines_.empty()) {
        std::set<int> moved;
        for (const int line : blankLines_) {
            if (line >= first && line < first + edit.replaced) continue;
            moved.insert(followEdit({line, line + 1}, first, edit.replaced, inserted).first);
        }
        blankLines_ = std::move(moved);
    }
    if (!edit.trimmed)
        for (int line = first; line < first + inserted; ++line) {
            const std::string_view text = editor1_->lineBytes(line);
            if (!text.empty() && isBlank(text.back())) blankLines_.insert(line);
        }
    if (guarding_) {
        for (auto& run : guardedRanges_) run = followEdit(run, first, edit.replaced, inserted);
        guardedRanges_.emplace_back(first, first + inserted);
    }
}

// ---- split view --------------------------------------------------------

void TMDIChild::setSplit(bool on) {
    if (on == isSplit()) return;
    if (on) {
        view2_ = new EditorView(this);
        view2_->setObjectName("Editor2");
        view2_->setDocument(editor1_->document());
        view2_->takeEditNotices();
        view2_->setKeepControlChars(false);
        view2_->setColourSlot(1);
        view2_->setFrameShape(QFrame::NoFrame);
        setUpView(view2_);
        view2_->applySettings(editor1_->settings());
        view2_->setOverwriteMode(editor1_->overwriteMode());
        finishPendingEdit();
        view2_->setWordWrapShown(wrapShown_);
        bar_ = new SplitBar(this);
        connect(bar_, &SplitBar::movedUp, this, [this](int pixels) {
            editor1Height_ += pixels;
            relayout();
        });
        editor1Height_ = height() / 2;
        clientHeight_ = height() >= kUsableHeight ? height() : 0;
        view2_->show();
        bar_->show();
    } else {
        current_ = editor1_;
        delete view2_;
        delete bar_;
    }
    relayout();
    host_.editorStateChanged(*this);
}

void TMDIChild::relayout() {
    const int w = width();
    const int h = height();
    if (!view2_) {
        editor1_->setGeometry(0, 0, w, h);
    } else {
        const int room = std::max(0, h - SplitBar::kHeight);
        const int least = std::min(kLeastViewHeight, room / 2);
        const int lower = std::clamp(editor1Height_, least, room - least);
        if (h >= kUsableHeight) editor1Height_ = lower;
        editor1_->setGeometry(0, h - lower, w, lower);
        bar_->setGeometry(0, h - lower - SplitBar::kHeight, w, SplitBar::kHeight);
        view2_->setGeometry(0, 0, w, room - lower);
    }
    updateWrapToWindow();
}

void TMDIChild::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int h = height();
    if (h >= kUsableHeight) {
        if (view2_)
            editor1Height_ =
                clientHeight_ > 0
                    ? int(((long long)editor1Height_ * h + clientHeight_ / 2) / clientHeight_)
                    : h / 2;
        clientHeight_ = h;
    }
    relayout();
}

void TMDIChild::viewFocused(EditorView* view) {
    if (current_ == view) return;
    current_ = view;
    trimTimer_.start();  // the caret that counts is another one now
    host_.editorStateChanged(*this);
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    if (!host_.mayCloseEditor(*this)) {
        event->ignore();
        return;
    }
    event->accept();
    host_.editorClosed(*this);
}

// ---- files -------------------------------------------------------------

void TMDIChild::SetFileName(const std::string& name) {
    // Kept exactly, a trailing point too: on Linux "PART." and "PART" are
    // two files, and a save must go to the file the program came from.
    fileName_ = name;
    setWindowTitle(QFile::decodeName(fileName_.c_str()));
}

void TMDIChild::SetModified(bool modified) {
    modified_ = modified;
    if (!modified) editor1_->SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
    // The status bar shows the flag: a save changes it without a caret move.
    host_.editorStateChanged(*this);
}

ProgramFileReport TMDIChild::LoadDocument(const std::string& path) {
    BusyCursor busy(host_.interaction());
    loading_ = true;
    // Scintilla would wrap every line as it arrives; the line map decides
    // afterwards whether the views need wrapping at all.
    editor1_->setWordWrapShown(false);
    if (view2_) view2_->setWordWrapShown(false);
    editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    editor1_->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    caretRecords_.clear();
    batches_.clear();
    activeBatch_ = 0;
    blankLines_.clear();
    pendingEdit_.reset();
    linesCut_ = false;
    wholeFileBackup_.clear();
    auto finish = [this] {
        editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
        editor1_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        loading_ = false;
        SetModified(false);
        rebuildLineMap();
        select(0, 0);
    };
    ProgramFileReport report;
    try {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        // With room for a quarter more: Scintilla grows its text by copying
        // it whole, which would stall a utility that lengthens the lines of
        // a large program (spaces added, lines numbered) for a third of a
        // second each time; a load may take that time.
        if (!error && size < kMaxCharacters)
            editor1_->SendScintilla(QsciScintillaBase::SCI_ALLOCATE,
                                    static_cast<unsigned long>(std::min<unsigned long long>(
                                        size + size / 4, kMaxCharacters)));
        std::string chunk;
        chunk.reserve(kLoadChunk + kMaxParagraphLength + 1);
        long long paragraphs = 0;
        long long characters = 0;
        report = readProgramFile(path, [&](std::string_view paragraph) {
            characters += (long long)paragraph.size() + (paragraphs > 0 ? 1 : 0);
            checkDocumentSize(paragraphs + 1, characters);
            if (paragraphs++ > 0) chunk.push_back('\n');
            chunk.append(paragraph);
            if (chunk.size() >= kLoadChunk) {
                editor1_->appendBytes(chunk);
                chunk.clear();
            }
        });
        editor1_->appendBytes(chunk);
    } catch (const std::bad_alloc&) {
        editor1_->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
        finish();
        throw EditorError(kOutOfMemory);
    } catch (...) {
        editor1_->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
        finish();
        throw;
    }
    finish();
    linesCut_ = report.linesCut > 0;
    return report;
}

void TMDIChild::SaveDocument(const std::string& path) {
    BusyCursor busy(host_.interaction());
    settle();
    // The backup made when a file whose lines were cut is first saved over
    // holds its only whole copy: later saves leave it.
    const bool backup = editor1_->settings().backup && path != wholeFileBackup_;
    const bool keepsWholeFile = backup && linesCut_ && path == fileName_ && fileExists(path);
    writeProgramFile(
        path, ParagraphCount(), [this](int paragraph) { return paragraphText(paragraph - 1); },
        backup);
    if (keepsWholeFile) wholeFileBackup_ = path;
    // The file now holds what the document holds, cut lines and all.
    linesCut_ = false;
    SetModified(false);
}

// ---- display lines and positions ---------------------------------------

bool TMDIChild::isEmpty() const {
    return editor1_->textLength() == 0;
}

int TMDIChild::ParagraphCount() const {
    return isEmpty() ? 0 : editor1_->lineCount();
}

int TMDIChild::LineCount() const {
    if (isEmpty()) return 0;
    if (!layout_.wordWrap) return editor1_->lineCount();
    finishPendingEdit();
    return int(lineMap_.totalLines());
}

long long TMDIChild::ByteCount() const {
    if (isEmpty()) return 0;
    finishPendingEdit();
    long long blanks = 0;
    for (const int line : blankLines_) {
        const std::string_view text = editor1_->lineBytes(line);
        blanks += (long long)(text.size() - withoutTrailingBlanks(text).size());
    }
    // Each LF of the view stands for a CR LF, and the last line gets one too.
    return (long long)editor1_->textLength() - blanks + editor1_->lineCount() + 1;
}

std::pair<long, long> TMDIChild::lineSpan(int lineIndex, int* paragraph) const {
    if (!layout_.wordWrap) {
        *paragraph = lineIndex;
        const long start = editor1_->lineStart(lineIndex);
        return {start, start + long(paragraphText(lineIndex).size())};
    }
    finishPendingEdit();
    const int p = lineMap_.paragraphOfLine(lineIndex);
    *paragraph = p;
    const long start = editor1_->lineStart(p);
    const std::string_view text = paragraphText(p);
    const auto [from, to] = displayLineSpan(
        lineStarts(text), int(lineIndex - lineMap_.firstLineOf(p)), int(text.size()));
    return {start + from, start + to};
}

int TMDIChild::lineIndexOf(long position) const {
    const int p = editor1_->lineOf(position);
    if (!layout_.wordWrap) return p;
    finishPendingEdit();
    const std::vector<int> starts = lineStarts(paragraphText(p));
    return int(lineMap_.firstLineOf(p)) +
           displayLineOfOffset(starts, int(position - editor1_->lineStart(p)));
}

long TMDIChild::positionOf(int line, int column) const {
    if (line < 1 || column < 1 || line > std::max(1, LineCount())) throw EditorError(kInvalidIndex);
    if (isEmpty()) return 0;
    int paragraph = 0;
    const auto [start, end] = lineSpan(line - 1, &paragraph);
    return std::min<long>(start + column - 1, end);
}

TextPosition TMDIChild::displayPositionOf(long position) const {
    const int p = editor1_->lineOf(position);
    const int offset = int(position - editor1_->lineStart(p));
    if (!layout_.wordWrap) return {p + 1, offset + 1};
    // One layout of the paragraph gives both the line and where it starts.
    finishPendingEdit();
    const std::vector<int> starts = lineStarts(paragraphText(p));
    const int part = displayLineOfOffset(starts, offset);
    return {int(lineMap_.firstLineOf(p)) + part + 1, offset - starts[size_t(part)] + 1};
}

long TMDIChild::clamp(long position) const {
    return std::clamp(position, 0L, editor1_->textLength());
}

std::string TMDIChild::GetLine(int line, int maxLength) const {
    if (line < 1 || line > LineCount()) throw EditorError(kInvalidIndex);
    int paragraph = 0;
    const auto [start, end] = lineSpan(line - 1, &paragraph);
    const long paragraphStart = editor1_->lineStart(paragraph);
    const int column = start == paragraphStart
                           ? 0
                           : columnOfOffset(paragraphText(paragraph), int(start - paragraphStart),
                                            layout_.tabSize);
    return expandTabs(editor1_->bytes(start, end - start), layout_.tabSize,
                      size_t(std::max(0, maxLength)), column);
}

std::string TMDIChild::GetParagraph(int paragraph) const {
    if (paragraph < 1 || paragraph > ParagraphCount()) throw EditorError(kInvalidIndex);
    return std::string(paragraphText(paragraph - 1));
}

void TMDIChild::ReadParagraph(int paragraph, std::string& text) const {
    if (paragraph < 1 || paragraph > ParagraphCount()) throw EditorError(kInvalidIndex);
    text.assign(paragraphText(paragraph - 1));
}

TextPosition TMDIChild::ParagraphPosition(int paragraph, int offset) const {
    if (paragraph < 1 || paragraph > ParagraphCount() || offset < 0 ||
        size_t(offset) > paragraphText(paragraph - 1).size())
        throw EditorError(kInvalidIndex);
    return displayPositionOf(editor1_->lineStart(paragraph - 1) + offset);
}

int TMDIChild::ParagraphOfLine(int line) const {
    if (line < 1 || line > LineCount()) throw EditorError(kInvalidIndex);
    if (!layout_.wordWrap) return line;
    finishPendingEdit();
    return lineMap_.paragraphOfLine(line - 1) + 1;
}

// ---- caret and selection -----------------------------------------------

TMDIChild::Selection TMDIChild::selection() const {
    if (deferredSelection_) return *deferredSelection_;
    return {current_->anchorPosition(), current_->caretPosition()};
}

long TMDIChild::selectionStart() const {
    const Selection s = selection();
    return std::min(s.anchor, s.caret);
}

long TMDIChild::selectionEnd() const {
    const Selection s = selection();
    return std::max(s.anchor, s.caret);
}

void TMDIChild::select(long anchor, long caret) {
    if (batchDepth_ > 0) {
        // Kept here until the batch ends: each move of the view's caret
        // costs a round trip to the X server (the view checks whether it
        // owns the X selection), a minute over a million lines.
        deferredSelection_ = Selection{anchor, caret};
        host_.editorStateChanged(*this);
        return;
    }
    if (redrawSuspended_ > 0) {
        // Nothing is shown while a command works through the program: the
        // view is not scrolled (and its lines laid out) to every edit.
        current_->SendScintilla(QsciScintillaBase::SCI_SETANCHOR, anchor);
        current_->SendScintilla(QsciScintillaBase::SCI_SETCURRENTPOS, caret);
    } else {
        current_->setSelectionPositions(anchor, caret);
    }
    host_.editorStateChanged(*this);
}

TextPosition TMDIChild::Caret() const {
    return displayPositionOf(selection().caret);
}

void TMDIChild::SetCaret(int line, int column) {
    settle();
    const long position = positionOf(line, column);
    select(position, position);
}

TextSelection TMDIChild::GetSelection() const {
    const long from = selectionStart();
    const long to = selectionEnd();
    if (from == to) return {};
    return {true, displayPositionOf(from), displayPositionOf(to)};
}

void TMDIChild::SetSelection(TextPosition start, TextPosition end) {
    settle();
    const long from = positionOf(start.line, start.column);
    const long to = positionOf(end.line, end.column);
    select(from, to);
}

void TMDIChild::SelectAll() {
    settle();
    select(0, editor1_->textLength());
}

bool TMDIChild::hasSelection() const {
    const Selection s = selection();
    return s.anchor != s.caret;
}

int TMDIChild::TopLine() const {
    return int(current_->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)) + 1;
}

bool TMDIChild::InsertMode() const {
    return !current_->overwriteMode();
}

void TMDIChild::SetInsertMode(bool on) {
    editor1_->setOverwriteMode(!on);
    if (view2_) view2_->setOverwriteMode(!on);
    host_.editorStateChanged(*this);
}

void TMDIChild::FocusEditor() {
    current_->setFocus();
}

// ---- search ------------------------------------------------------------

bool TMDIChild::FindText(const std::string& text, const SearchOptions& options,
                         SearchWatch* watch) {
    settle();
    if (isEmpty()) return false;
    const long from = options.backward ? selectionStart() : selectionEnd();
    const int paragraph = editor1_->lineOf(from);
    const auto match =
        findInParagraphs(editor1_->lineCount(), [this](int p) { return editor1_->lineBytes(p); },
                         paragraph, size_t(from - editor1_->lineStart(paragraph)), text,
                         options.backward, {options.matchCase, options.wholeWord}, watch);
    if (!match) return false;
    const long start = editor1_->lineStart(match->paragraph) + long(match->offset);
    select(start, start + long(std::min(text.size(), kMaxSearchLength)));
    return true;
}

// ---- edits -------------------------------------------------------------

void TMDIChild::replaceRange(long from, long to, std::string_view text,
                             std::optional<long> caretAfter) {
    if (from == to && text.empty()) return;
    try {
        const int firstParagraph = editor1_->lineOf(from);
        const int lastParagraph = editor1_->lineOf(to);
        const long firstStart = editor1_->lineStart(firstParagraph);
        const long lastEnd = editor1_->lineEnd(lastParagraph);
        // Copied: reading the tail may move Scintilla's gap under a view of the head.
        const std::string head(editor1_->bytes(firstStart, from - firstStart));
        const ParagraphReplacement replacement =
            replaceParagraphText(head, text, editor1_->bytes(to, lastEnd - to));
        const std::vector<std::string>& pieces = replacement.paragraphs;
        // The view's text counts a line feed after each paragraph but the last.
        checkDocumentSize((long long)editor1_->lineCount() - (lastParagraph - firstParagraph + 1) +
                              (long long)pieces.size(),
                          editor1_->textLength() - (lastEnd - firstStart) + replacement.characters +
                              (long long)pieces.size());
        std::string joined;
        long insertEnd = firstStart;
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) joined.push_back('\n');
            if (int(i) == replacement.endParagraph)
                insertEnd = firstStart + long(joined.size()) + replacement.endOffset;
            joined += pieces[i];
        }

        // Only what differs goes to the view: a utility's edit of a few
        // characters then costs the view, and its undo list, a few
        // characters instead of the whole line.
        const std::string_view old = editor1_->bytes(firstStart, lastEnd - firstStart);
        const auto [same, sameEnd] = sharedEnds(old, joined);

        const Selection before = selection();
        const long changeStart = firstStart + long(same);
        const std::string_view inserted =
            std::string_view(joined).substr(same, joined.size() - same - sameEnd);
        const bool batched = batchDepth_ > 0;
        int token = 0;
        if (batched) {
            // Copied: the view's text changes under it.
            removedText_.assign(old.substr(same, old.size() - same - sameEnd));
            startBatchRecording();
        } else {
            token = nextToken_++;
            editor1_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
            editor1_->SendScintilla(QsciScintillaBase::SCI_ADDUNDOACTION, token, 0L);
        }
        ownEdit_ = true;
        editor1_->replaceBytes(changeStart, lastEnd - long(sameEnd), inserted);
        ownEdit_ = false;
        if (!batched) editor1_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
        long after = insertEnd;
        if (caretAfter) {
            // A position before the edit, kept within its paragraph.
            const int line = std::min(editor1_->lineOf(*caretAfter), editor1_->lineCount() - 1);
            after = std::min(*caretAfter, editor1_->lineEnd(line));
        }
        after = clamp(after);
        if (batched)
            batches_.at(recordingToken_)
                .record(changeStart, removedText_, inserted, before.anchor, before.caret, after);
        else
            caretRecords_[token] = {before, after};
        select(after, after);
    } catch (const std::bad_alloc&) {
        throw EditorError(kOutOfMemory);
    }
}

void TMDIChild::InsertText(const std::string& text) {
    settle();
    const long from = selectionStart();
    const long to = selectionEnd();
    if (from != to) return replaceRange(from, to, text);
    long end = from;
    if (current_->overwriteMode())
        end = std::min<long>(from + long(firstLineLength(text)),
                             editor1_->lineEnd(editor1_->lineOf(from)));
    replaceRange(from, end, text);
}

void TMDIChild::DeleteSelection() {
    settle();
    const long from = selectionStart();
    const long to = selectionEnd();
    if (from != to) replaceRange(from, to, {});
}

void TMDIChild::DeleteCaretLine() {
    settle();
    if (isEmpty()) return;
    const int lineIndex = lineIndexOf(selection().caret);
    int paragraph = 0;
    const auto [start, end] = lineSpan(lineIndex, &paragraph);
    long to = end;
    const bool lastLine = lineIndex + 1 == LineCount();
    if (!lastLine && end == editor1_->lineEnd(paragraph)) to = editor1_->lineStart(paragraph + 1);
    replaceRange(start, to, {}, start);
}

void TMDIChild::ReplaceInParagraph(int paragraph, int offset, int length,
                                   std::string_view text) {
    settle();
    if (paragraph < 1 || paragraph > ParagraphCount() || offset < 0 || length < 0 ||
        (long long)offset + length > (long long)paragraphText(paragraph - 1).size())
        throw EditorError(kInvalidIndex);
    const long start = editor1_->lineStart(paragraph - 1) + offset;
    replaceRange(start, start + length, text);
}

void TMDIChild::AppendLine(const std::string& text) {
    settle();
    const long caret = selection().caret;
    const long end = editor1_->textLength();
    replaceRange(end, end, isEmpty() ? text : "\n" + text, caret);
}

void TMDIChild::CopySelection() {
    settle();
    current_->copyBytes();
}

void TMDIChild::CutSelection() {
    current_->cutBytes();
}

void TMDIChild::PasteClipboard() {
    current_->pasteBytes();
}

void TMDIChild::editOrTell(const std::function<void()>& edit) {
    try {
        edit();
    } catch (const EditorError& error) {
        host_.interaction().showError(error.what());
    }
}

void TMDIChild::pasteText(std::string_view text) {
    settle();
    const long from = selectionStart();
    const long to = selectionEnd();
    editOrTell([&] { replaceRange(from, to, text); });
}

void TMDIChild::DeleteForward() {
    settle();
    if (hasSelection()) return editOrTell([this] { DeleteSelection(); });
    // The character at the caret; at a line end the line end itself, which
    // joins the next line to this one.
    const long caret = selection().caret;
    if (caret >= editor1_->textLength()) return;
    editOrTell([&] { replaceRange(caret, caret + 1, {}, caret); });
}

// ---- the rule of every edit --------------------------------------------

void TMDIChild::trimBlanks(bool keepCaretLine) {
    // A batch starts with none left and its edits leave none.
    if (loading_ || guarding_ || batchDepth_ > 0) return;
    finishPendingEdit();
    if (blankLines_.empty()) return;
    // Trimming now would end the redo of what undo took back.
    if (keepCaretLine && CanRedo()) return;
    const int keep = keepCaretLine ? editor1_->lineOf(current_->caretPosition()) : -1;
    std::vector<std::pair<long, long>> cuts;
    for (auto it = blankLines_.begin(); it != blankLines_.end();) {
        const int line = *it;
        if (line == keep || line >= editor1_->lineCount()) {
            it = line == keep ? std::next(it) : blankLines_.erase(it);
            continue;
        }
        it = blankLines_.erase(it);
        const std::string_view text = editor1_->lineBytes(line);
        const long start = editor1_->lineStart(line);
        const size_t kept = withoutTrailingBlanks(text).size();
        if (kept < text.size()) cuts.emplace_back(start + long(kept), start + long(text.size()));
    }
    if (cuts.empty()) return;
    editor1_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    editor1_->SendScintilla(QsciScintillaBase::SCI_ADDUNDOACTION, kGluedToken, 0L);
    ownEdit_ = true;
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut)
        editor1_->replaceBytes(cut->first, cut->second, {});
    ownEdit_ = false;
    editor1_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    finishPendingEdit();
}

void TMDIChild::guardViewEdit(const std::function<void()>& edit) {
    if (guarding_) return edit();
    finishPendingEdit();
    const bool wasModified = modified_;
    const Selection before{current_->anchorPosition(), current_->caretPosition()};
    guarding_ = true;
    guardedRanges_.clear();
    editor1_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    edit();
    editor1_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    finishPendingEdit();
    guarding_ = false;
    bool tooLong = false;
    for (const auto& [first, end] : guardedRanges_)
        for (int line = std::max(0, first); line < std::min(end, editor1_->lineCount()); ++line)
            tooLong = tooLong || editor1_->lineEnd(line) - editor1_->lineStart(line) >
                                     long(kMaxParagraphLength);
    guardedRanges_.clear();
    if (!tooLong) return;
    // Taken back whole; the empty step after it leaves nothing to redo.
    editor1_->SendScintilla(QsciScintillaBase::SCI_UNDO);
    editor1_->SendScintilla(QsciScintillaBase::SCI_ADDUNDOACTION, kGluedToken, 0L);
    finishPendingEdit();
    current_->setSelectionPositions(before.anchor, before.caret);
    modified_ = wasModified;
    host_.editorStateChanged(*this);
    host_.interaction().showError(kParagraphTooLong);
}

// ---- undo and redraw ---------------------------------------------------

void TMDIChild::UndoEdit() {
    if (batchDepth_ > 0) return;  // not while a batch is made
    // The active batch's last edit takes its step in Scintilla's list with it.
    if (activeBatch_ != 0 && batches_.at(activeBatch_).applied() > 1)
        return undoBatchEdit(activeBatch_, false);
    pendingSelection_.reset();
    // A glued step goes together with the step before it.
    do {
        gluedStepSeen_ = false;
        batchStepSeen_ = 0;
        current_->SendScintilla(QsciScintillaBase::SCI_UNDO);
        if (batchStepSeen_ != 0) return undoBatchEdit(batchStepSeen_, true);
    } while (gluedStepSeen_ && CanUndo());
    activeBatch_ = 0;
    if (pendingSelection_)
        select(clamp(pendingSelection_->anchor), clamp(pendingSelection_->caret));
    pendingSelection_.reset();
}

void TMDIChild::RedoEdit() {
    if (batchDepth_ > 0) return;
    if (activeBatch_ != 0 && batches_.at(activeBatch_).canRedo())
        return redoBatchEdit(activeBatch_);
    pendingCaret_.reset();
    // A glued step left behind first (the end of a refused edit) is passed.
    do {
        gluedStepSeen_ = false;
        batchStepSeen_ = 0;
        current_->SendScintilla(QsciScintillaBase::SCI_REDO);
        if (batchStepSeen_ != 0) return redoBatchEdit(batchStepSeen_);
    } while (gluedStepSeen_ && CanRedo());
    activeBatch_ = 0;
    const std::optional<long> caret = pendingCaret_;
    // When the step left blanks at a line's end, the trim of them may come
    // next and goes with it; whether it does shows only by redoing the next
    // step, which is undone again when it is another one.
    for (finishPendingEdit(); !blankLines_.empty() && CanRedo(); finishPendingEdit()) {
        const long anchor = current_->anchorPosition();
        const long position = current_->caretPosition();
        gluedStepSeen_ = false;
        current_->SendScintilla(QsciScintillaBase::SCI_REDO);
        if (gluedStepSeen_) continue;
        current_->SendScintilla(QsciScintillaBase::SCI_UNDO);
        current_->setSelectionPositions(anchor, position);
        break;
    }
    if (caret) select(clamp(*caret), clamp(*caret));
    pendingCaret_.reset();
}

bool TMDIChild::CanUndo() const {
    return editor1_->SendScintilla(QsciScintillaBase::SCI_CANUNDO) != 0;
}

bool TMDIChild::CanRedo() const {
    return editor1_->SendScintilla(QsciScintillaBase::SCI_CANREDO) != 0 ||
           (activeBatch_ != 0 && batches_.at(activeBatch_).canRedo());
}

// ---- edit batches ------------------------------------------------------

void TMDIChild::BeginEditBatch() {
    if (batchDepth_ == 0) settle();  // blanks typed before go as a step of their own
    ++batchDepth_;
}

void TMDIChild::EndEditBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) return;
    if (deferredSelection_) {
        const Selection last = *deferredSelection_;
        deferredSelection_.reset();
        select(last.anchor, last.caret);
    }
    if (recordingToken_ == 0) return;
    editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
    activeBatch_ = std::exchange(recordingToken_, 0);
}

void TMDIChild::startBatchRecording() {
    if (recordingToken_ != 0) return;
    dropBatchRedo();
    const int token = nextToken_++;
    editor1_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    editor1_->SendScintilla(QsciScintillaBase::SCI_ADDUNDOACTION, token, 0L);
    editor1_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    batches_.emplace(token, BatchHistory());
    recordingToken_ = token;
}

void TMDIChild::dropBatchRedo() {
    if (batches_.empty()) return;
    if (activeBatch_ != 0) batches_.at(activeBatch_).dropRedo();
    activeBatch_ = 0;
    // A batch with no edit applied has its step undone: Scintilla drops it
    // from its list with the rest that could be redone.
    std::erase_if(batches_, [](const auto& batch) { return batch.second.applied() == 0; });
}

void TMDIChild::undoBatchEdit(int token, bool stepUndone) {
    BatchHistory& batch = batches_.at(token);
    if (!batch.canUndo()) return;
    batch.takeUndo(batchStep_);
    applyBatchEdit(batchStep_.position, long(batchStep_.inserted.size()), batchStep_.removed);
    // Edits of the batch remain: its step stays done in Scintilla's list.
    if (stepUndone && batch.canUndo()) editor1_->SendScintilla(QsciScintillaBase::SCI_REDO);
    batchStepSeen_ = 0;
    activeBatch_ = batch.canUndo() ? token : 0;
    select(clamp(batchStep_.anchorBefore), clamp(batchStep_.caretBefore));
}

void TMDIChild::redoBatchEdit(int token) {
    BatchHistory& batch = batches_.at(token);
    if (!batch.canRedo()) return;
    batch.takeRedo(batchStep_);
    applyBatchEdit(batchStep_.position, long(batchStep_.removed.size()), batchStep_.inserted);
    activeBatch_ = token;
    const long caret = clamp(batchStep_.caretAfter);
    select(caret, caret);
}

void TMDIChild::applyBatchEdit(long position, long length, std::string_view text) {
    editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    applyingBatchEdit_ = true;
    editor1_->replaceBytes(position, position + length, text);
    applyingBatchEdit_ = false;
    editor1_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
    finishPendingEdit();
}

void TMDIChild::SuspendRedraw() {
    if (redrawSuspended_++ == 0) setUpdatesEnabled(false);
}

void TMDIChild::ResumeRedraw() {
    if (redrawSuspended_ == 0 || --redrawSuspended_ > 0) return;
    setUpdatesEnabled(true);
    // The caret moved without scrolling while nothing was shown.
    current_->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    editor1_->viewport()->update();
    if (view2_) view2_->viewport()->update();
}

void TMDIChild::SetWordWrap(bool on) {
    EditorViewSettings settings = editor1_->settings();
    settings.wordWrap = on;
    applyViewSettings(settings);
}

}  // namespace zantor::editor
