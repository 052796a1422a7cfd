#include "nctools/file_cleanup.h"

#include <algorithm>
#include <optional>

namespace zantor {

using editor::TextDocument;

std::string cleanupCaption(CleanupOperation operation) {
    switch (operation) {
        case CleanupOperation::DeleteBeforeFirstPercent:
            return "Delete All Before First \"%\"";
        case CleanupOperation::RemoveControlCharacters:
            return "Remove Control Characters";
        case CleanupOperation::RemoveComments:
            return "Remove Comments";
        case CleanupOperation::RemoveBlankLines:
            return "Remove Blank Lines";
        case CleanupOperation::StripAfterProgramEnd:
            return "Strip all after Last M02,M30,M99";
        case CleanupOperation::AddPercentAtEnd:
            return "Add \"%\" To End of File";
    }
    return {};
}

std::string cleanupProgressCaption(CleanupOperation operation) {
    switch (operation) {
        case CleanupOperation::DeleteBeforeFirstPercent:
            return cleanupCaption(operation) + " ...";
        case CleanupOperation::RemoveControlCharacters:
            return "Removing Control Characters ...";
        case CleanupOperation::RemoveComments:
            return "Removing Comments ...";
        case CleanupOperation::RemoveBlankLines:
            return "Removing Blank Lines ...";
        case CleanupOperation::StripAfterProgramEnd:
            return "Delete All After End ...";
        case CleanupOperation::AddPercentAtEnd:
            return {};
    }
    return {};
}

namespace {
bool isControlCharacter(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code < 32 || code > 127) && c != '\t';
}
}  // namespace

std::string withoutControlCharacters(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (const char c : line)
        if (!isControlCharacter(c)) out.push_back(c);
    return out;
}

std::string withoutComments(std::string_view line, const CommentMarks& marks) {
    std::string out;
    size_t from = 0;
    while (from < line.size()) {
        const CommentSpan comment = findComment(line, marks.start, marks.end, from);
        if (comment.begin == std::string_view::npos) break;
        out.append(line.substr(from, comment.begin - from));
        from = comment.end;
    }
    if (from < line.size()) out.append(line.substr(from));
    return out;
}

bool holdsProgramEnd(std::string_view line) {
    return line.find("M30") != std::string_view::npos ||
           line.find("M02") != std::string_view::npos || line.find("M99") != std::string_view::npos;
}

bool DeleteBeforeFirstPercent(TextDocument& document, LineWalkProgress& progress) {
    LineWalk walk(document, progress,
                  cleanupProgressCaption(CleanupOperation::DeleteBeforeFirstPercent));
    const int count = document.ParagraphCount();
    int percentLine = 0;
    size_t percentAt = 0;
    for (int line = 1; line <= count && percentLine == 0; ++line) {
        if (walk.step(line, count)) return false;
        percentAt = document.GetParagraph(line).find('%');
        if (percentAt != std::string::npos) percentLine = line;
    }
    for (int line = 1; line <= percentLine; ++line) {
        if (walk.step(line, percentLine)) return false;
        const std::string text = document.GetParagraph(line);
        ReplaceLine(document, line, text,
                    line == percentLine ? std::string_view(text).substr(percentAt) : "");
    }
    return true;
}

namespace {
// `rewrite` gives a line's new text, or nothing when the line stays (most
// lines: no text is built for them).
bool rewriteLines(TextDocument& document, LineWalkProgress& progress, CleanupOperation operation,
                  const std::function<std::optional<std::string>(std::string_view)>& rewrite) {
    return RunLineTransform(document, progress, cleanupProgressCaption(operation),
                            [&](const std::string& line, int number) {
                                if (const auto changed = rewrite(line))
                                    ReplaceLine(document, number, line, *changed);
                            });
}
}  // namespace

bool RemoveControlCharacters(TextDocument& document, LineWalkProgress& progress) {
    return rewriteLines(document, progress, CleanupOperation::RemoveControlCharacters,
                        [](std::string_view line) -> std::optional<std::string> {
                            if (std::none_of(line.begin(), line.end(), isControlCharacter))
                                return std::nullopt;
                            return withoutControlCharacters(line);
                        });
}

bool RemoveComments(TextDocument& document, LineWalkProgress& progress, const CommentMarks& marks) {
    return rewriteLines(
        document, progress, CleanupOperation::RemoveComments,
        [&](std::string_view line) -> std::optional<std::string> {
            if (marks.start.empty() || line.find(marks.start[0]) == std::string_view::npos)
                return std::nullopt;
            return withoutComments(line, marks);
        });
}

bool RemoveBlankLines(TextDocument& document, LineWalkProgress& progress) {
    LineWalk walk(document, progress, cleanupProgressCaption(CleanupOperation::RemoveBlankLines));
    const LineRange range = walkRange(document, true);
    const long long total = std::max(1, range.last - range.first + 1);
    int last = range.last;
    int line = range.first;
    long long examined = 0;
    std::string text;
    while (line < last) {
        if (walk.step(++examined, total)) return false;
        document.ReadParagraph(line, text);
        if (text.empty()) {
            DeleteLine(document, line);
            --last;
        } else {
            ++line;
        }
    }
    return true;
}

bool StripAfterProgramEnd(TextDocument& document, LineWalkProgress& progress) {
    LineWalk walk(document, progress,
                  cleanupProgressCaption(CleanupOperation::StripAfterProgramEnd));
    const int count = document.ParagraphCount();
    int endLine = 0;
    for (int line = count; line >= 1 && endLine == 0; --line) {
        if (walk.step(line, count)) return false;
        if (holdsProgramEnd(document.GetParagraph(line))) endLine = line;
    }
    if (endLine == 0 || endLine == count) return true;
    // One edit takes what line-by-line deletion from the end would: the
    // lines after the end line, the last of them staying as an empty line.
    const editor::TextPosition from = document.ParagraphPosition(endLine + 1, 0);
    const editor::TextPosition to =
        document.ParagraphPosition(count, int(document.GetParagraph(count).size()));
    if (from == to) return true;
    document.SetSelection(from, to);
    document.DeleteSelection();
    return true;
}

void AddPercentAtEnd(TextDocument& document) {
    document.AppendLine("%");
    document.SetCaret(1, 1);
}

bool RunFileCleanup(TextDocument& document, LineWalkProgress& progress, const CleanupChoice& choice,
                    const CommentMarks& marks) {
    using Op = CleanupOperation;
    for (int index = 0; index < kCleanupOperations; ++index) {
        if (!choice[size_t(index)]) continue;
        bool completed = true;
        switch (Op(index)) {
            case Op::DeleteBeforeFirstPercent:
                completed = DeleteBeforeFirstPercent(document, progress);
                break;
            case Op::RemoveControlCharacters:
                completed = RemoveControlCharacters(document, progress);
                break;
            case Op::RemoveComments:
                completed = RemoveComments(document, progress, marks);
                break;
            case Op::RemoveBlankLines:
                completed = RemoveBlankLines(document, progress);
                break;
            case Op::StripAfterProgramEnd:
                completed = StripAfterProgramEnd(document, progress);
                break;
            case Op::AddPercentAtEnd:
                AddPercentAtEnd(document);
                break;
        }
        if (!completed) return false;
    }
    return true;
}

}  // namespace zantor
