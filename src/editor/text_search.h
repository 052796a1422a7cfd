#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zantor::editor {

// The matching rules of the search commands, apart from any document.
// Without matchCase both texts compare in upper case (ASCII letters only, so
// bytes above 127 match only themselves). With wholeWord a match counts only
// when the characters before and after it, where the line has them, are word
// delimiters.
struct MatchRules {
    bool matchCase = false;
    bool wholeWord = false;
};

inline constexpr size_t kMaxSearchLength = 255;

bool isWordDelimiter(char c);

// The first match in `line` starting at or after `from`; npos when none.
size_t findForward(std::string_view line, std::string_view text, size_t from,
                   const MatchRules& rules);
// The last match in `line` starting before `before`; npos when none.
size_t findBackward(std::string_view line, std::string_view text, size_t before,
                    const MatchRules& rules);

}  // namespace zantor::editor
