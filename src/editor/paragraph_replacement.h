#pragma once

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text_document.h"

namespace zantor::editor {

// The limits of a document, and the paragraphs an edit puts in: one rule
// for the document and the editor window alike.

inline constexpr long long kMaxParagraphs = INT_MAX;
inline constexpr long long kMaxCharacters = INT_MAX;

// Throws EditorError when a document of this many paragraphs and characters
// would be over the limits.
inline void checkDocumentSize(long long paragraphs, long long characters) {
    if (paragraphs > kMaxParagraphs) throw EditorError(kTooManyParagraphs);
    if (characters > kMaxCharacters) throw EditorError(kTextTooLarge);
}

// What takes the place of a run of paragraphs when `text` goes in between
// `head` (what stays of the run's first paragraph) and `tail` (what stays of
// its last): the text split at its line breaks, every resulting paragraph
// trimmed of trailing blanks.
struct ParagraphReplacement {
    std::vector<std::string> paragraphs;
    // Where the inserted text ends: a paragraph (index into `paragraphs`)
    // and an offset in it, within the trimmed text.
    int endParagraph = 0;
    int endOffset = 0;
    long long characters = 0;  // in all of `paragraphs`, line ends not counted
};

// Throws EditorError when a paragraph would be longer than the limit.
ParagraphReplacement replaceParagraphText(std::string_view head, std::string_view text,
                                          std::string_view tail);

}  // namespace zantor::editor
