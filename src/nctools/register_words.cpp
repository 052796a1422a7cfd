#include "nctools/register_words.h"

namespace zantor {

namespace {
bool isValueCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}
}  // namespace

std::vector<RegisterWord> registerWords(std::string_view line, std::string_view letters,
                                        const CommentMarks& marks) {
    std::vector<RegisterWord> words;
    words.reserve(8);  // a block's usual words in one allocation
    const bool comments = !marks.start.empty();
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (comments && c == marks.start[0]) {
            i = findComment(line, marks.start, marks.end, i).end;
            continue;
        }
        if (letters.find(c) == std::string_view::npos) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < line.size() && isValueCharacter(line[end])) ++end;
        words.push_back({i, line.substr(i, end - i)});
        i = end;
    }
    return words;
}

std::string withWordsChanged(std::string_view line, const std::vector<WordChange>& changes) {
    std::string out;
    out.reserve(line.size() + 8 * changes.size());
    size_t from = 0;
    for (const WordChange& change : changes) {
        out.append(line.substr(from, change.word.index - from));
        out.append(change.text);
        from = change.word.index + change.word.text.size();
    }
    out.append(line.substr(from));
    return out;
}

}  // namespace zantor
