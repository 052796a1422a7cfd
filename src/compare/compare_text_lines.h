#pragma once

#include <string>
#include <string_view>

namespace zantor::compare {

// Decides whether a line of File 1 and a line of File 2 are the same, and
// when they are not, whether one is a light edit of the other.
class TCompareTextLines {
public:
    TCompareTextLines(bool excludeLeadingWhitespace, bool caseSensitive)
        : excludeLeading_(excludeLeadingWhitespace), caseSensitive_(caseSensitive) {}

    // Stores the pair for PairEqual and LinesSimilar; true when the two are
    // the same bytes.
    bool SetPair(std::string_view file1Line, std::string_view file2Line);
    // Trailing characters of code 32 or less never count; leading ones only
    // without the exclude option; letter case only with the case option.
    bool LinesEqual(std::string_view a, std::string_view b) const;
    bool PairEqual() const { return LinesEqual(a_, b_); }
    // Cuts the longer line into up to five pieces and looks for each in the
    // other: 60 % of them found makes the pair similar. allChunksFound tells
    // a line that was only shifted (every piece found).
    bool LinesSimilar();
    bool AllChunksFound() const { return allChunksFound_; }

private:
    bool excludeLeading_;
    bool caseSensitive_;
    std::string_view a_;
    std::string_view b_;
    bool allChunksFound_ = false;
};

}  // namespace zantor::compare
