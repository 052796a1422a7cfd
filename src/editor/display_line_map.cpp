#include "editor/display_line_map.h"

#include <algorithm>
#include <numeric>

namespace zantor::editor {

void DisplayLineMap::assign(std::vector<int> lineCounts) {
    counts_ = std::move(lineCounts);
    starts_.assign(counts_.size() + 1, 0);
    valid_ = 0;
    total_ = std::accumulate(counts_.begin(), counts_.end(), 0LL);
}

void DisplayLineMap::replace(int first, int removed, const std::vector<int>& insertedCounts) {
    const auto at = counts_.begin() + first;
    total_ -= std::accumulate(at, at + removed, 0LL);
    total_ += std::accumulate(insertedCounts.begin(), insertedCounts.end(), 0LL);
    const int common = std::min(removed, int(insertedCounts.size()));
    std::copy_n(insertedCounts.begin(), common, at);
    if (removed > common) {
        counts_.erase(at + common, at + removed);
        starts_.erase(starts_.begin() + first + 1,
                      starts_.begin() + first + 1 + (removed - common));
    } else if (int(insertedCounts.size()) > common) {
        counts_.insert(at + common, insertedCounts.begin() + common, insertedCounts.end());
        starts_.insert(starts_.begin() + first + 1, insertedCounts.size() - size_t(common), 0);
    }
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
    // The last start not above `line`.
    const auto it = std::upper_bound(starts_.begin(), starts_.begin() + valid_ + 1, line);
    return int(it - starts_.begin()) - 1;
}

}  // namespace zantor::editor
