#include "editor/display_line_map.h"

#include <algorithm>
#include <numeric>

namespace zantor::editor {

void DisplayLineMap::assign(std::vector<int> lineCounts) {
    total_ = std::accumulate(lineCounts.begin(), lineCounts.end(), 0LL);
    starts_.assign(std::vector<long long>(lineCounts.size() + 1, 0));
    counts_.assign(std::move(lineCounts));
    valid_ = 0;
}

void DisplayLineMap::replace(int first, int removed, const std::vector<int>& insertedCounts) {
    const std::vector<int> taken = counts_.replace(size_t(first), size_t(removed), insertedCounts);
    total_ -= std::accumulate(taken.begin(), taken.end(), 0LL);
    total_ += std::accumulate(insertedCounts.begin(), insertedCounts.end(), 0LL);
    starts_.replace(size_t(first) + 1, size_t(removed),
                    std::vector<long long>(insertedCounts.size(), 0));
    valid_ = std::min(valid_, first);
}

void DisplayLineMap::extendTo(int paragraph) const {
    while (valid_ < paragraph) {
        starts_[size_t(valid_) + 1] = starts_[size_t(valid_)] + counts_[size_t(valid_)];
        ++valid_;
    }
}

long long DisplayLineMap::firstLineOf(int paragraph) const {
    extendTo(paragraph);
    return starts_[size_t(paragraph)];
}

int DisplayLineMap::paragraphOfLine(long long line) const {
    const int n = int(counts_.size());
    while (valid_ < n && starts_[size_t(valid_)] <= line) extendTo(valid_ + 1);
    // The last start not above `line`, by halving 0..valid_.
    int low = 0;
    int high = valid_;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (starts_[size_t(middle)] <= line)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

}  // namespace zantor::editor
