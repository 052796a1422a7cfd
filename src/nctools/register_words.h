#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "nctools/nc_words.h"

namespace zantor {

// A word of a line (its letter and value characters) and where it starts.
struct RegisterWord {
    size_t index = 0;
    std::string_view text;
};

// The words whose letter is one of `letters` (case counts), in line order;
// comments are passed over, and the walk goes on after each word.
std::vector<RegisterWord> registerWords(std::string_view line, std::string_view letters,
                                        const CommentMarks& marks);

// A word of the line and the text it becomes.
struct WordChange {
    RegisterWord word;
    std::string text;
};

// The line with the words changed; `changes` in line order, not overlapping.
std::string withWordsChanged(std::string_view line, const std::vector<WordChange>& changes);

}  // namespace zantor
