#pragma once

namespace zantor::compare {

// "Add to Difference List:": which matching lines become "=" rows. The
// values are the radio group's indexes, as kept in the settings file.
enum class MatchingLines { None = 0, All = 1, Adjacent = 2 };

// "Difference Lines Displayed:": which file's rows stay in the list.
enum class DisplayedLines { Both = 0, FirstOnly = 1, SecondOnly = 2 };

struct CompareOptions {
    bool caseSensitive = false;
    bool excludeLeadingWhitespace = false;
    bool labelBlankLines = false;
    MatchingLines matching = MatchingLines::None;
    DisplayedLines displayed = DisplayedLines::Both;
};

}  // namespace zantor::compare
