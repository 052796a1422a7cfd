#pragma once

#include <cstddef>
#include <vector>

#include "editor/gap_buffer.h"

namespace zantor::editor {

// Which display lines belong to which paragraph when word wrap gives a
// paragraph several lines. Edits change the counts of a few paragraphs; the
// first line of each paragraph is summed up lazily from the first changed
// paragraph onward, and only as far as a query needs, so an edit followed by
// a look at a nearby line costs little even in a million-line program.
class DisplayLineMap {
public:
    void assign(std::vector<int> lineCounts);
    // Paragraphs first..first+removed-1 are replaced by paragraphs with the
    // given line counts.
    void replace(int first, int removed, const std::vector<int>& insertedCounts);

    long long totalLines() const { return total_; }
    int paragraphCount() const { return int(counts_.size()); }
    int lineCountOf(int paragraph) const { return counts_[std::size_t(paragraph)]; }
    // 0-based display line of the paragraph's first line.
    long long firstLineOf(int paragraph) const;
    // The paragraph holding 0-based display line `line` (0..totalLines-1).
    int paragraphOfLine(long long line) const;

private:
    void extendTo(int paragraph) const;

    GapBuffer<int> counts_;
    // starts_[i] is the first line of paragraph i; entries 0..valid_ are right.
    mutable GapBuffer<long long> starts_;
    mutable int valid_ = 0;
    long long total_ = 0;
};

}  // namespace zantor::editor
