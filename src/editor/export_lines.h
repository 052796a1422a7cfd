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

// Writes display lines of `document` to `workFile` (created anew), each as
// GetLine gives it (tabs expanded, at most kLineReadLength characters)
// followed by CR LF: all lines, the lines of the selection, or the lines from
// the caret's to the last. SelectedLines without a selection writes nothing
// and fails. The caller picks the view: the first view for AllLines, the
// current one otherwise.
ExportResult ExportLines(const TextDocument& document, ExportMode mode,
                         const std::string& workFile);

}  // namespace zantor::editor
