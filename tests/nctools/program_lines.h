#pragma once

#include <string>
#include <vector>

#include "editor/nc_document.h"

namespace zantor::testing {

using Lines = std::vector<std::string>;

// A document holding `lines`, unmodified, the caret at 1:1.
inline void fillDocument(editor::NcDocument& doc, const Lines& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    doc.InsertText(text);
    doc.SetModified(false);
    doc.SetCaret(1, 1);
}

inline Lines paragraphsOf(const editor::TextDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

}  // namespace zantor::testing
