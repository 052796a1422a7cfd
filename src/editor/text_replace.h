#pragma once

#include <string>

#include "editor/text_document.h"

namespace zantor::editor {

class SearchWatch;

// Replace and Replace All over any TextDocument. The selection is replaced
// first when it is the search text (under the case rule of `options`); then
// Replace finds and selects the next match, Replace All replaces every
// following match to the end (or, searching backward, the start). Each
// replacement is an edit of its own, so undo takes them back one by one.
// Both texts are cut to 255 characters. Returns the number of replacements,
// or -1 when nothing was replaced and nothing was found. A Replace All that
// `watch` stops keeps the replacements made so far.
int ReplaceText(TextDocument& document, const std::string& search, const std::string& replacement,
                const SearchOptions& options, SearchWatch* watch = nullptr);

// Whether the selection is exactly `text` (case-insensitive unless
// `matchCase`); the selection is left as it was.
bool SelectionIs(TextDocument& document, const std::string& text, bool matchCase);

}  // namespace zantor::editor
