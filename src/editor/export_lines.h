#pragma once

#include <string>

#include "editor/text_document.h"

namespace zantor::editor {

enum class ExportMode { AllLines, SelectedLines, FromCaret };

struct ExportResult {
    bool success = false;
    std::string fileName;  // the document's file name
    std::string error;     // the system's text when the write failed
};

// Writes program lines (paragraphs) of `document` to `workFile` (created
// anew), each whole with its tabs expanded and followed by CR LF: all lines,
// the lines of the selection, or the lines from the caret's to the last.
// Word wrap changes nothing: a block is never split. SelectedLines without a selection writes nothing
// and fails. The caller picks the view: the first view for AllLines, the
// current one otherwise.
ExportResult ExportLines(const TextDocument& document, ExportMode mode,
                         const std::string& workFile);

}  // namespace zantor::editor
