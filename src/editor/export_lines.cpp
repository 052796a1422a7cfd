#include "editor/export_lines.h"

#include <climits>

#include "core/file_io.h"

namespace zantor::editor {

namespace {

// Paragraph `paragraph` whole, with its tabs expanded as the display lines
// that show it expand them.
std::string expandedParagraph(const TextDocument& document, int paragraph) {
    const int first = document.ParagraphPosition(paragraph, 0).line;
    const int last = paragraph < document.ParagraphCount()
                         ? document.ParagraphPosition(paragraph + 1, 0).line - 1
                         : document.LineCount();
    std::string text;
    for (int line = first; line <= last; ++line) text += document.GetLine(line, INT_MAX);
    return text;
}

}  // namespace

ExportResult ExportLines(const TextDocument& document, ExportMode mode,
                         const std::string& workFile) {
    ExportResult result;
    result.fileName = document.FileName();
    try {
        int first = 1;
        int last = document.ParagraphCount();
        if (mode == ExportMode::SelectedLines) {
            const TextSelection selection = document.GetSelection();
            if (!selection.present) return result;
            first = document.ParagraphOfLine(selection.start.line);
            last = document.ParagraphOfLine(selection.end.line);
        } else if (mode == ExportMode::FromCaret && last > 0) {
            first = document.ParagraphOfLine(document.Caret().line);
        }
        AtomicFileWriter writer(workFile);
        for (int paragraph = first; paragraph <= last; ++paragraph) {
            writer.write(expandedParagraph(document, paragraph));
            writer.write("\r\n");
        }
        writer.commit();
        result.success = true;
    } catch (const FileError& error) {
        result.error = error.what();
    } catch (const EditorError& error) {
        result.error = error.what();
    }
    return result;
}

}  // namespace zantor::editor
