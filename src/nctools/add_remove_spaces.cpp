#include "nctools/add_remove_spaces.h"

namespace zantor {

namespace {

// Copies `line` to a new text, passing comments over whole and letting
// `onCharacter` decide for every other character.
template <typename OnCharacter>
std::string rewriteOutsideComments(std::string_view line, const CommentMarks& marks,
                                   OnCharacter onCharacter) {
    std::string out;
    out.reserve(line.size() + line.size() / 4);
    const char commentStart = marks.start.empty() ? '\0' : marks.start[0];
    size_t i = 0;
    while (i < line.size()) {
        if (!marks.start.empty() && line[i] == commentStart) {
            const CommentSpan comment = findComment(line, marks.start, marks.end, i);
            out.append(line.substr(comment.begin, comment.end - comment.begin));
            i = comment.end;
            continue;
        }
        onCharacter(out, line[i], i);
        ++i;
    }
    return out;
}

}  // namespace

std::string addSpaces(std::string_view line, const CommentMarks& marks) {
    return rewriteOutsideComments(line, marks, [](std::string& out, char c, size_t index) {
        if (index > 0 && c >= 'A' && c <= 'Z') out.push_back(' ');
        out.push_back(c);
    });
}

std::string removeSpaces(std::string_view line, const CommentMarks& marks) {
    return rewriteOutsideComments(line, marks, [](std::string& out, char c, size_t) {
        if (c != ' ') out.push_back(c);
    });
}

std::string spacesCaption(SpacesChange change) {
    return change == SpacesChange::Add ? "Adding Spaces ..." : "Removing Spaces ...";
}

bool AddRemoveSpaces(editor::TextDocument& document, LineWalkProgress& progress,
                     SpacesChange change, const CommentMarks& marks) {
    return RunLineTransform(
        document, progress, spacesCaption(change), [&](const std::string& line, int number) {
            const std::string changed =
                change == SpacesChange::Add ? addSpaces(line, marks) : removeSpaces(line, marks);
            ReplaceLine(document, number, line, changed);
        });
}

}  // namespace zantor
