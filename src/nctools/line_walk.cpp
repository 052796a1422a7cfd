#include "nctools/line_walk.h"

#include <algorithm>

#include "editor/paragraph_text.h"

namespace zantor {

using editor::TextDocument;
using editor::TextPosition;

LineRange walkRange(const TextDocument& document, bool useSelection) {
    if (useSelection) {
        const editor::TextSelection selection = document.GetSelection();
        if (selection.present)
            return {document.ParagraphOfLine(selection.start.line),
                    document.ParagraphOfLine(selection.end.line), true};
    }
    return {1, document.ParagraphCount(), false};
}

LineWalk::LineWalk(TextDocument& document, LineWalkProgress& progress, const std::string& caption)
    : document_(document), progress_(progress) {
    progress_.begin(caption);
    progress_.setPercent(0);
    document_.SuspendRedraw();
    document_.BeginEditBatch();
}

LineWalk::~LineWalk() {
    progress_.end();
    document_.EndEditBatch();
    document_.ResumeRedraw();
    try {
        document_.SetCaret(1, 1);
    } catch (const editor::EditorError&) {
        // 1:1 is always a place, even in an empty document.
    }
}

bool LineWalk::step(long long done, long long total) {
    const int percent =
        total <= 0 ? 100 : int(std::clamp((done * 200 + total) / (total * 2), 0LL, 100LL));
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        progress_.setPercent(percent);
    }
    progress_.keepAlive();
    return progress_.cancelled();
}

bool RunLineTransform(TextDocument& document, LineWalkProgress& progress,
                      const std::string& caption, const LineAction& lineAction) {
    LineWalk walk(document, progress, caption);
    const LineRange range = walkRange(document, true);
    std::string text;
    if (range.selection) {
        const long long total = range.last - range.first + 1;
        for (int line = range.first; line <= range.last && line <= document.ParagraphCount();
             ++line) {
            document.ReadParagraph(line, text);
            lineAction(text, line);
            if (walk.step(line - range.first + 1, total)) return false;
        }
        return true;
    }
    const long long total = document.ParagraphCount();
    for (int line = 1; line <= document.ParagraphCount(); ++line) {
        walk.step(line, total);
        document.ReadParagraph(line, text);
        lineAction(text, line);
        if (walk.cancelled()) return false;
    }
    return true;
}

namespace {

void replaceSpan(TextDocument& document, int lineNumber, size_t offset, size_t length,
                 std::string_view text) {
    document.ReplaceInParagraph(lineNumber, int(offset), int(length), text);
}

}  // namespace

bool ReplaceInLine(TextDocument& document, std::string_view oldText, std::string_view newText,
                   int lineNumber, int column) {
    if (oldText.empty() && newText.empty()) return false;
    const std::string line = document.GetParagraph(lineNumber);
    const size_t from = std::min(size_t(std::max(column, 0)), line.size());
    size_t at = from;
    if (!oldText.empty()) {
        at = line.find(oldText, from);
        if (at == std::string::npos) return false;
    }
    replaceSpan(document, lineNumber, at, oldText.size(), newText);
    return true;
}

void ReplaceLine(TextDocument& document, int lineNumber, std::string_view oldLine,
                 std::string_view newLine) {
    if (oldLine == newLine) return;
    const auto [head, tail] = editor::sharedEnds(oldLine, newLine);
    replaceSpan(document, lineNumber, head, oldLine.size() - head - tail,
                newLine.substr(head, newLine.size() - head - tail));
}

void DeleteLine(TextDocument& document, int lineNumber) {
    const TextPosition from = document.ParagraphPosition(lineNumber, 0);
    const TextPosition to =
        lineNumber < document.ParagraphCount()
            ? document.ParagraphPosition(lineNumber + 1, 0)
            : document.ParagraphPosition(lineNumber, int(document.GetParagraph(lineNumber).size()));
    if (from == to) return;
    document.SetSelection(from, to);
    document.DeleteSelection();
}

}  // namespace zantor
