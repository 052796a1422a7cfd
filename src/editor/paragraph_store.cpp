#include "editor/paragraph_store.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zantor::editor {

void ParagraphStore::assign(std::vector<std::string> paragraphs) {
    buffer_ = std::move(paragraphs);
    gapStart_ = buffer_.size();
    gapLength_ = 0;
}

void ParagraphStore::moveGapTo(std::size_t position) {
    if (gapLength_ == 0) {
        // Nothing to move; moving a string onto itself would empty it.
    } else if (position < gapStart_) {
        // The paragraphs between move up behind the gap.
        std::move_backward(buffer_.begin() + long(position), buffer_.begin() + long(gapStart_),
                           buffer_.begin() + long(gapStart_ + gapLength_));
    } else if (position > gapStart_) {
        std::move(buffer_.begin() + long(gapStart_ + gapLength_),
                  buffer_.begin() + long(position + gapLength_), buffer_.begin() + long(gapStart_));
    }
    gapStart_ = position;
}

void ParagraphStore::growGap(std::size_t atLeast) {
    if (gapLength_ >= atLeast) return;
    // Grow by a share of the whole so that growing stays rare.
    const std::size_t extra = std::max(atLeast - gapLength_, std::max<std::size_t>(64, size() / 8));
    const std::size_t tail = buffer_.size() - (gapStart_ + gapLength_);
    buffer_.resize(buffer_.size() + extra);
    std::move_backward(buffer_.end() - long(extra + tail), buffer_.end() - long(extra),
                       buffer_.end());
    gapLength_ += extra;
}

std::vector<std::string> ParagraphStore::replace(std::size_t first, std::size_t count,
                                                 std::vector<std::string> with) {
    moveGapTo(first + count);
    // The replaced paragraphs now end at the gap: they join it.
    std::vector<std::string> taken(std::make_move_iterator(buffer_.begin() + long(first)),
                                   std::make_move_iterator(buffer_.begin() + long(gapStart_)));
    gapStart_ = first;
    gapLength_ += count;
    growGap(with.size());
    std::move(with.begin(), with.end(), buffer_.begin() + long(gapStart_));
    gapStart_ += with.size();
    gapLength_ -= with.size();
    return taken;
}

}  // namespace zantor::editor
