#include "editor/nc_document.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "editor/control_chars.h"
#include "editor/paragraph_replacement.h"
#include "editor/paragraph_text.h"
#include "editor/program_file.h"
#include "editor/text_search.h"

namespace zantor::editor {

NcDocument::NcDocument() {
    Clear();
}

// ---- sizes and reading -------------------------------------------------

int NcDocument::ParagraphCount() const {
    return isEmpty() ? 0 : int(paragraphs_.size());
}

int NcDocument::LineCount() const {
    if (isEmpty()) return 0;
    return layout_.wordWrap ? int(lineMap_.totalLines()) : int(paragraphs_.size());
}

long long NcDocument::ByteCount() const {
    return isEmpty() ? 0 : characterCount_ + 2 * (long long)paragraphs_.size();
}

std::string NcDocument::GetLine(int line, int maxLength) const {
    if (line < 1 || line > LineCount()) throw EditorError(kInvalidIndex);
    int paragraph = 0;
    const auto [start, end] = lineSpan(line - 1, &paragraph);
    const std::string_view whole = paragraphs_[size_t(paragraph)];
    const std::string_view text = whole.substr(size_t(start), size_t(end - start));
    return expandTabs(text, layout_.tabSize, size_t(std::max(0, maxLength)),
                      columnOfOffset(whole, start, layout_.tabSize));
}

std::string NcDocument::GetParagraph(int paragraph) const {
    if (paragraph < 1 || paragraph > ParagraphCount()) throw EditorError(kInvalidIndex);
    return std::string(paragraphs_[size_t(paragraph) - 1]);
}

std::string_view NcDocument::ParagraphView(int paragraph) const {
    if (paragraph < 1 || paragraph > ParagraphCount()) throw EditorError(kInvalidIndex);
    return paragraphs_[size_t(paragraph) - 1];
}

void NcDocument::ReadParagraph(int paragraph, std::string& text) const {
    if (paragraph < 1 || paragraph > ParagraphCount()) throw EditorError(kInvalidIndex);
    text.assign(paragraphs_[size_t(paragraph) - 1]);
}

TextPosition NcDocument::ParagraphPosition(int paragraph, int offset) const {
    if (paragraph < 1 || paragraph > ParagraphCount() || offset < 0 ||
        offset > paragraphLength(paragraph - 1))
        throw EditorError(kInvalidIndex);
    return displayPositionOf({paragraph - 1, offset});
}

int NcDocument::ParagraphOfLine(int line) const {
    if (line < 1 || line > LineCount()) throw EditorError(kInvalidIndex);
    return layout_.wordWrap ? lineMap_.paragraphOfLine(line - 1) + 1 : line;
}

std::string NcDocument::SelectedText() const {
    const DocPosition from = selectionStart();
    const DocPosition to = selectionEnd();
    std::string text;
    for (int p = from.paragraph; p <= to.paragraph; ++p) {
        const std::string_view paragraph = paragraphs_[size_t(p)];
        const size_t start = p == from.paragraph ? size_t(from.offset) : 0;
        const size_t end = p == to.paragraph ? size_t(to.offset) : paragraph.size();
        text.append(paragraph, start, end - start);
        if (p != to.paragraph) text.append("\r\n");
    }
    return applyControlCharRule(text, true);
}

// ---- display lines and positions ---------------------------------------

void NcDocument::rebuildLineMap() {
    if (!layout_.wordWrap) {
        lineMap_.assign({});
        return;
    }
    std::vector<int> counts;
    counts.reserve(paragraphs_.size());
    for (size_t p = 0; p < paragraphs_.size(); ++p)
        counts.push_back(displayLineCount(paragraphs_[p], layout_));
    lineMap_.assign(std::move(counts));
}

long long NcDocument::lineIndexOf(DocPosition position) const {
    if (!layout_.wordWrap) return position.paragraph;
    const std::vector<int> starts =
        displayLineStarts(paragraphs_[size_t(position.paragraph)], layout_);
    return lineMap_.firstLineOf(position.paragraph) + displayLineOfOffset(starts, position.offset);
}

std::pair<int, int> NcDocument::lineSpan(int lineIndex, int* paragraph) const {
    if (!layout_.wordWrap) {
        *paragraph = lineIndex;
        return {0, paragraphLength(lineIndex)};
    }
    const int p = lineMap_.paragraphOfLine(lineIndex);
    *paragraph = p;
    const std::vector<int> starts = displayLineStarts(paragraphs_[size_t(p)], layout_);
    return displayLineSpan(starts, int(lineIndex - lineMap_.firstLineOf(p)), paragraphLength(p));
}

DocPosition NcDocument::positionOf(int line, int column) const {
    if (line < 1 || column < 1 || line > std::max(1, LineCount())) throw EditorError(kInvalidIndex);
    int paragraph = 0;
    const auto [start, end] = lineSpan(line - 1, &paragraph);
    const long long offset = std::min<long long>((long long)start + column - 1, end);
    return {paragraph, int(offset)};
}

TextPosition NcDocument::displayPositionOf(DocPosition position) const {
    if (!layout_.wordWrap) return {position.paragraph + 1, position.offset + 1};
    // One layout of the paragraph gives both the line and where it starts.
    const std::vector<int> starts =
        displayLineStarts(paragraphs_[size_t(position.paragraph)], layout_);
    const int part = displayLineOfOffset(starts, position.offset);
    return {int(lineMap_.firstLineOf(position.paragraph)) + part + 1,
            position.offset - starts[size_t(part)] + 1};
}

DocPosition NcDocument::endPosition() const {
    const int last = int(paragraphs_.size()) - 1;
    return {last, paragraphLength(last)};
}

DocPosition NcDocument::clamp(DocPosition position) const {
    const int last = int(paragraphs_.size()) - 1;
    position.paragraph = std::clamp(position.paragraph, 0, last);
    position.offset = std::clamp(position.offset, 0, paragraphLength(position.paragraph));
    return position;
}

// ---- caret and selection -----------------------------------------------

TextPosition NcDocument::Caret() const {
    return displayPositionOf(caret_);
}

void NcDocument::SetCaret(int line, int column) {
    caret_ = anchor_ = positionOf(line, column);
}

TextSelection NcDocument::GetSelection() const {
    if (!hasSelection()) return {};
    return {true, displayPositionOf(selectionStart()), displayPositionOf(selectionEnd())};
}

void NcDocument::SetSelection(TextPosition start, TextPosition end) {
    const DocPosition from = positionOf(start.line, start.column);
    const DocPosition to = positionOf(end.line, end.column);
    anchor_ = from;
    caret_ = to;
}

void NcDocument::SelectAll() {
    anchor_ = {};
    caret_ = endPosition();
}

// ---- search ------------------------------------------------------------

bool NcDocument::FindText(const std::string& text, const SearchOptions& options,
                          SearchWatch* watch) {
    const DocPosition from = options.backward ? selectionStart() : selectionEnd();
    const auto match = findInParagraphs(
        int(paragraphs_.size()), [this](int p) { return paragraphs_[size_t(p)]; },
        from.paragraph, size_t(from.offset), text, options.backward,
        {options.matchCase, options.wholeWord}, watch);
    if (!match) return false;
    const size_t length = std::min(text.size(), kMaxSearchLength);
    anchor_ = {match->paragraph, int(match->offset)};
    caret_ = {match->paragraph, int(match->offset + length)};
    return true;
}

// ---- edits -------------------------------------------------------------

std::vector<std::string> NcDocument::exchangeParagraphs(int first, int count,
                                                        std::vector<std::string> with) {
    std::vector<int> lineCounts;
    if (layout_.wordWrap) {
        lineCounts.reserve(with.size());
        for (const auto& p : with) lineCounts.push_back(displayLineCount(p, layout_));
    }
    std::vector<std::string> taken = paragraphs_.exchange(size_t(first), size_t(count), with);
    for (const auto& p : with) characterCount_ += (long long)p.size();
    for (const auto& p : taken) characterCount_ -= (long long)p.size();
    if (layout_.wordWrap) lineMap_.replace(first, count, lineCounts);
    return taken;
}

void NcDocument::replaceRange(DocPosition from, DocPosition to, std::string_view text) {
    replaceRange(from, to, text, nullptr);
}

void NcDocument::replaceRange(DocPosition from, DocPosition to, std::string_view text,
                              const DocPosition* caretAfter) {
    if (from == to && text.empty()) return;
    if (from.paragraph == to.paragraph && text.find_first_of("\r\n") == std::string_view::npos) {
        replaceInParagraph(from.paragraph, from.offset, to.offset - from.offset, text, caretAfter);
        return;
    }
    try {
        const std::string_view firstParagraph = paragraphs_[size_t(from.paragraph)];
        const std::string_view lastParagraph = paragraphs_[size_t(to.paragraph)];
        ParagraphReplacement replacement =
            replaceParagraphText(firstParagraph.substr(0, size_t(from.offset)), text,
                                 lastParagraph.substr(size_t(to.offset)));
        std::vector<std::string>& pieces = replacement.paragraphs;
        const DocPosition endOfInsert{from.paragraph + replacement.endParagraph,
                                      replacement.endOffset};

        const int replaced = to.paragraph - from.paragraph + 1;
        long long newCharacters = characterCount_ + replacement.characters;
        for (int p = from.paragraph; p <= to.paragraph; ++p) newCharacters -= paragraphLength(p);
        checkDocumentSize((long long)paragraphs_.size() - replaced + (long long)pieces.size(),
                          newCharacters);

        EditRecord edit;
        edit.first = from.paragraph;
        edit.replacedCount = int(pieces.size());
        edit.anchorBefore = anchor_;
        edit.caretBefore = caret_;
        edit.paragraphs = exchangeParagraphs(from.paragraph, replaced, std::move(pieces));
        caret_ = anchor_ = clamp(caretAfter ? *caretAfter : endOfInsert);
        edit.caretAfter = caret_;
        if (undoKept_) history_.record(std::move(edit));
        modified_ = true;
    } catch (const std::bad_alloc&) {
        throw EditorError(kOutOfMemory);
    }
}

namespace {

// How long `head` + `text` + `tail` is once its trailing blanks are trimmed.
size_t trimmedLength(std::string_view head, std::string_view text, std::string_view tail) {
    if (const size_t kept = withoutTrailingBlanks(tail).size(); kept > 0)
        return head.size() + text.size() + kept;
    if (const size_t kept = withoutTrailingBlanks(text).size(); kept > 0) return head.size() + kept;
    return withoutTrailingBlanks(head).size();
}

}  // namespace

void NcDocument::replaceInParagraph(int paragraph, int offset, int length, std::string_view text,
                                    const DocPosition* caretAfter) {
    try {
        const std::string_view old = paragraphs_[size_t(paragraph)];  // valid until the edit
        const size_t oldLength = old.size();
        const size_t from = size_t(offset);
        const size_t to = from + size_t(length);
        const size_t untrimmed = old.size() - size_t(length) + text.size();
        const size_t newLength = trimmedLength(old.substr(0, from), text, old.substr(to));
        if (newLength > size_t(kMaxParagraphLength)) throw EditorError(kParagraphTooLong);
        checkDocumentSize((long long)paragraphs_.size(),
                          characterCount_ - (long long)old.size() + (long long)newLength);

        // Undo keeps only the span that changes: the replaced characters, or
        // when trimming reached back into them, all from where they start.
        EditRecord edit;
        edit.first = paragraph;
        edit.inParagraph = true;
        edit.anchorBefore = anchor_;
        edit.caretBefore = caret_;
        if (!undoKept_) {
            // No record: nothing to keep.
        } else if (newLength == untrimmed) {
            edit.spanOffset = offset;
            edit.spanLength = int(text.size());
            edit.spanText.assign(old.substr(from, size_t(length)));
        } else {
            const size_t start = std::min(from, newLength);
            edit.spanOffset = int(start);
            edit.spanLength = int(newLength - start);
            edit.spanText.assign(old.substr(start));
        }
        paragraphs_.replaceText(size_t(paragraph), from, size_t(length), text, newLength);
        // `old` is gone from here on
        characterCount_ += (long long)newLength - (long long)oldLength;
        modified_ = true;
        if (layout_.wordWrap)
            lineMap_.replace(paragraph, 1, {displayLineCount(paragraphs_[size_t(paragraph)], layout_)});
        const DocPosition endOfInsert{paragraph, int(std::min(from + text.size(), newLength))};
        caret_ = anchor_ = clamp(caretAfter ? *caretAfter : endOfInsert);
        edit.caretAfter = caret_;
        if (undoKept_) history_.record(std::move(edit));
    } catch (const std::bad_alloc&) {
        throw EditorError(kOutOfMemory);
    }
}

void NcDocument::InsertText(const std::string& text) {
    if (hasSelection()) {
        replaceRange(selectionStart(), selectionEnd(), text);
        return;
    }
    DocPosition to = caret_;
    if (!insertMode_) {
        const long long overwritten = (long long)firstLineLength(text);
        to.offset =
            int(std::min<long long>(to.offset + overwritten, paragraphLength(to.paragraph)));
    }
    replaceRange(caret_, to, text);
}

void NcDocument::DeleteSelection() {
    if (hasSelection()) replaceRange(selectionStart(), selectionEnd(), {});
}

void NcDocument::DeleteForward() {
    if (hasSelection()) {
        DeleteSelection();
        return;
    }
    DocPosition to = caret_;
    if (to.offset < paragraphLength(to.paragraph))
        ++to.offset;
    else if (to.paragraph + 1 < int(paragraphs_.size()))
        to = {to.paragraph + 1, 0};
    else
        return;
    replaceRange(caret_, to, {});
}

void NcDocument::DeleteCaretLine() {
    if (isEmpty()) return;
    const long long lineIndex = lineIndexOf(caret_);
    int paragraph = 0;
    const auto [start, end] = lineSpan(int(lineIndex), &paragraph);
    const DocPosition from{paragraph, start};
    DocPosition to{paragraph, end};
    const bool lastLine = lineIndex + 1 == LineCount();
    if (!lastLine && end == paragraphLength(paragraph)) to = {paragraph + 1, 0};
    replaceRange(from, to, {}, &from);
}

void NcDocument::ReplaceInParagraph(int paragraph, int offset, int length, std::string_view text) {
    if (paragraph < 1 || paragraph > ParagraphCount() || offset < 0 || length < 0 ||
        (long long)offset + length > paragraphLength(paragraph - 1))
        throw EditorError(kInvalidIndex);
    replaceRange({paragraph - 1, offset}, {paragraph - 1, offset + length}, text);
}

void NcDocument::AppendLine(const std::string& text) {
    const DocPosition caret = caret_;
    const DocPosition end = endPosition();
    replaceRange(end, end, isEmpty() ? text : "\r\n" + text, &caret);
}

void NcDocument::applyHistory(EditRecord edit, bool undoing) {
    if (edit.inParagraph) {
        std::string taken(
            paragraphs_[size_t(edit.first)].substr(size_t(edit.spanOffset), size_t(edit.spanLength)));
        paragraphs_.replaceText(size_t(edit.first), size_t(edit.spanOffset),
                                size_t(edit.spanLength), edit.spanText, std::string::npos);
        characterCount_ += (long long)edit.spanText.size() - (long long)taken.size();
        edit.spanLength = int(edit.spanText.size());
        edit.spanText = std::move(taken);
        if (layout_.wordWrap)
            lineMap_.replace(edit.first, 1, {displayLineCount(paragraphs_[size_t(edit.first)], layout_)});
    } else {
        const int inserted = int(edit.paragraphs.size());
        edit.paragraphs =
            exchangeParagraphs(edit.first, edit.replacedCount, std::move(edit.paragraphs));
        edit.replacedCount = inserted;
    }
    modified_ = true;
    if (undoing) {
        anchor_ = clamp(edit.anchorBefore);
        caret_ = clamp(edit.caretBefore);
        history_.pushUndone(std::move(edit));
    } else {
        caret_ = anchor_ = clamp(edit.caretAfter);
        history_.pushRedone(std::move(edit));
    }
}

void NcDocument::UndoEdit() {
    if (history_.canUndo()) applyHistory(history_.takeUndo(), true);
}

void NcDocument::RedoEdit() {
    if (history_.canRedo()) applyHistory(history_.takeRedo(), false);
}

// ---- layout settings ---------------------------------------------------

void NcDocument::SetUndoKept(bool keep) {
    undoKept_ = keep;
    if (!keep) history_.clear();
}

void NcDocument::SetWordWrap(bool on) {
    if (layout_.wordWrap == on) return;
    layout_.wordWrap = on;
    rebuildLineMap();
}

void NcDocument::SetWrapColumn(int column) {
    layout_.wrapColumn = std::max(1, column);
    rebuildLineMap();
}

void NcDocument::SetTabSize(int size) {
    layout_.tabSize = std::max(1, size);
    rebuildLineMap();
}

// ---- files -------------------------------------------------------------

void NcDocument::SetFileName(const std::string& name) {
    // Kept exactly, a trailing point too: on Linux "PART." and "PART" are
    // two files, and a save must go to the file the program came from.
    fileName_ = name;
}

void NcDocument::Clear() {
    paragraphs_.assign({std::string()});
    characterCount_ = 0;
    caret_ = anchor_ = {};
    history_.clear();
    modified_ = false;
    rebuildLineMap();
}

ProgramFileReport NcDocument::LoadDocument(const std::string& path) {
    Clear();
    long long paragraphs = 0;
    long long characters = 0;
    ProgramFileReport report;
    try {
        report = readProgramFile(
            path,
            [&](ByteBlock block, size_t size) {
                // Room for the usual program's lines: the list then never
                // moves while loading, and pages it does not use are never touched.
                paragraphs_.beginLoad(std::move(block), size, size / 16 + 1024);
            },
            [&](std::string_view paragraph) {
                characters += (long long)paragraph.size();
                checkDocumentSize(++paragraphs, characters);
                paragraphs_.addLoaded(paragraph);
            });
        paragraphs_.endLoad();
    } catch (const std::bad_alloc&) {
        Clear();
        throw EditorError(kOutOfMemory);
    } catch (...) {
        Clear();
        throw;
    }
    if (paragraphs == 0) paragraphs_.assign({std::string()});
    characterCount_ = characters;
    rebuildLineMap();
    return report;
}

void NcDocument::SaveDocument(const std::string& path, bool backup) {
    writeProgramFile(
        path, ParagraphCount(),
        [this](int paragraph) { return paragraphs_[size_t(paragraph) - 1]; },
        backup);
    modified_ = false;
}

}  // namespace zantor::editor
