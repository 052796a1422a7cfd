#include "editor/export_lines.h"

#include "core/file_io.h"

namespace zantor::editor {

ExportResult ExportLines(const TextDocument& document, ExportMode mode,
                         const std::string& workFile) {
    ExportResult result;
    result.fileName = document.FileName();
    int first = 1;
    int last = document.LineCount();
    if (mode == ExportMode::SelectedLines) {
        const TextSelection selection = document.GetSelection();
        if (!selection.present) return result;
        first = selection.start.line;
        last = selection.end.line;
    } else if (mode == ExportMode::FromCaret) {
        first = document.Caret().line;
    }
    try {
        AtomicFileWriter writer(workFile);
        for (int line = first; line <= last; ++line) {
            writer.write(document.GetLine(line, kLineReadLength));
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
