#include "editor/paragraph_replacement.h"

#include <algorithm>

#include "editor/paragraph_text.h"

namespace zantor::editor {

ParagraphReplacement replaceParagraphText(std::string_view head, std::string_view text,
                                          std::string_view tail) {
    ParagraphReplacement result;
    result.paragraphs = splitParagraphs(text);
    std::vector<std::string>& pieces = result.paragraphs;
    result.endParagraph = int(pieces.size()) - 1;
    size_t endOffset = pieces.back().size() + (pieces.size() == 1 ? head.size() : 0);
    pieces.front().insert(0, head);
    pieces.back().append(tail);
    for (std::string& piece : pieces) {
        piece.resize(withoutTrailingBlanks(piece).size());
        if (piece.size() > size_t(kMaxParagraphLength)) throw EditorError(kParagraphTooLong);
        result.characters += (long long)piece.size();
    }
    result.endOffset = int(std::min(endOffset, pieces.back().size()));
    return result;
}

}  // namespace zantor::editor
