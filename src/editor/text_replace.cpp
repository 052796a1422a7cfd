#include "editor/text_replace.h"

#include "editor/text_search.h"

namespace zantor::editor {

bool SelectionIs(TextDocument& document, const std::string& text, bool matchCase) {
    const TextSelection selection = document.GetSelection();
    if (!selection.present || text.empty()) return false;
    // The document's own matcher decides, so tabs and wrapped lines count as
    // they do for a search.
    document.SetCaret(selection.start.line, selection.start.column);
    const bool same = document.FindText(text, {false, matchCase, false, false, false}) &&
                      document.GetSelection() == selection;
    if (!same) document.SetSelection(selection.start, selection.end);
    return same;
}

int ReplaceText(TextDocument& document, const std::string& search, const std::string& replacement,
                const SearchOptions& options, SearchWatch* watch) {
    const std::string text = search.substr(0, kMaxSearchLength);
    const std::string with = replacement.substr(0, kMaxSearchLength);
    if (text.empty()) return -1;
    const SearchOptions find{options.backward, options.matchCase, options.wholeWord, false, false};
    int replaced = 0;
    const auto replaceSelection = [&] {
        const TextPosition start = document.GetSelection().start;
        document.InsertText(with);
        ++replaced;
        // Searching backward goes on before the new text, which may hold the
        // search text itself.
        if (options.backward) document.SetCaret(start.line, start.column);
    };
    if (SelectionIs(document, text, options.matchCase)) replaceSelection();
    if (!options.replaceAll) {
        const bool found = document.FindText(text, find, watch);
        return replaced > 0 || found ? replaced : -1;
    }
    // Matches close together never reach a search's own question to the
    // watch, so the replacements ask it too.
    constexpr int kReplacementsPerWatch = 256;
    while (document.FindText(text, find, watch)) {
        replaceSelection();
        if (watch && replaced % kReplacementsPerWatch == 0 && !watch->keepGoing()) break;
    }
    return replaced > 0 ? replaced : -1;
}

}  // namespace zantor::editor
