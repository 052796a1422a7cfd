#pragma once

#include <cstddef>
#include <optional>
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

// Asked now and then during a long search whether to go on; a search it
// stops finds nothing. The desktop shows the busy cursor through it and lets
// Esc stop a search of a huge program.
class SearchWatch {
public:
    virtual ~SearchWatch() = default;
    virtual bool keepGoing() = 0;
};

// Paragraphs searched between two questions to the watch.
inline constexpr int kParagraphsPerWatch = 4096;

bool isWordDelimiter(char c);

// The first match in `line` starting at or after `from`; npos when none.
size_t findForward(std::string_view line, std::string_view text, size_t from,
                   const MatchRules& rules);
// The last match in `line` starting before `before`; npos when none.
size_t findBackward(std::string_view line, std::string_view text, size_t before,
                    const MatchRules& rules);

// A match in a run of paragraphs: which one (0-based) and where in it.
struct ParagraphMatch {
    int paragraph = 0;
    size_t offset = 0;
};

// The next match of `text` (cut to kMaxSearchLength) in paragraphs
// 0..count-1, read through paragraphAt(index) -> string_view: forward from
// (paragraph, offset), or with `backward` the last one starting before it.
// Both the document and the editor window search through this; `watch`,
// when given, is asked every kParagraphsPerWatch paragraphs.
template <typename ParagraphAt>
std::optional<ParagraphMatch> findInParagraphs(int count, ParagraphAt paragraphAt, int paragraph,
                                               size_t offset, std::string_view text, bool backward,
                                               const MatchRules& rules,
                                               SearchWatch* watch = nullptr) {
    text = text.substr(0, kMaxSearchLength);
    if (text.empty()) return std::nullopt;
    int untilWatch = kParagraphsPerWatch;
    const auto stopped = [&] {
        if (!watch || --untilWatch > 0) return false;
        untilWatch = kParagraphsPerWatch;
        return !watch->keepGoing();
    };
    if (!backward) {
        for (int p = paragraph; p < count; ++p) {
            if (stopped()) return std::nullopt;
            const size_t at = findForward(paragraphAt(p), text, p == paragraph ? offset : 0, rules);
            if (at != std::string_view::npos) return ParagraphMatch{p, at};
        }
        return std::nullopt;
    }
    for (int p = paragraph; p >= 0; --p) {
        if (stopped()) return std::nullopt;
        const std::string_view line = paragraphAt(p);
        const size_t at =
            findBackward(line, text, p == paragraph ? offset : line.size() + 1, rules);
        if (at != std::string_view::npos) return ParagraphMatch{p, at};
    }
    return std::nullopt;
}

}  // namespace zantor::editor
