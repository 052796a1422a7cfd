#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace zantor::editor {

// A sequence kept with its free room where the last change was, so that a
// run of changes near each other (a utility walking the program, typing)
// costs no shifting of the millions of elements after them. Holds the
// paragraphs of a document and the line counts of its word wrap.
template <typename T, typename Allocator = std::allocator<T>>
class GapBuffer {
public:
    void assign(std::vector<T, Allocator> items) {
        buffer_ = std::move(items);
        gapStart_ = buffer_.size();
        gapLength_ = 0;
    }
    std::size_t size() const { return buffer_.size() - gapLength_; }
    const T& operator[](std::size_t index) const { return buffer_[slot(index)]; }
    T& operator[](std::size_t index) { return buffer_[slot(index)]; }

    // Puts `with` in place of `count` elements from `first` and returns the
    // elements taken out.
    std::vector<T> replace(std::size_t first, std::size_t count, std::vector<T> with) {
        moveGapTo(first + count);
        // The replaced elements now end at the gap: they join it.
        std::vector<T> taken(std::make_move_iterator(buffer_.begin() + long(first)),
                             std::make_move_iterator(buffer_.begin() + long(gapStart_)));
        gapStart_ = first;
        gapLength_ += count;
        growGap(with.size());
        std::move(with.begin(), with.end(), buffer_.begin() + long(gapStart_));
        gapStart_ += with.size();
        gapLength_ -= with.size();
        return taken;
    }

private:
    std::size_t slot(std::size_t index) const {
        return index < gapStart_ ? index : index + gapLength_;
    }

    void moveGapTo(std::size_t position) {
        if (gapLength_ == 0) {
            // Nothing to move; moving an element onto itself could empty it.
        } else if (position < gapStart_) {
            std::move_backward(buffer_.begin() + long(position), buffer_.begin() + long(gapStart_),
                               buffer_.begin() + long(gapStart_ + gapLength_));
        } else if (position > gapStart_) {
            std::move(buffer_.begin() + long(gapStart_ + gapLength_),
                      buffer_.begin() + long(position + gapLength_),
                      buffer_.begin() + long(gapStart_));
        }
        gapStart_ = position;
    }

    void growGap(std::size_t atLeast) {
        if (gapLength_ >= atLeast) return;
        // Grow by a share of the whole so that growing stays rare.
        const std::size_t extra =
            std::max(atLeast - gapLength_, std::max<std::size_t>(64, size() / 8));
        const std::size_t tail = buffer_.size() - (gapStart_ + gapLength_);
        buffer_.resize(buffer_.size() + extra);
        std::move_backward(buffer_.end() - long(extra + tail), buffer_.end() - long(extra),
                           buffer_.end());
        gapLength_ += extra;
    }

    std::vector<T, Allocator> buffer_;
    std::size_t gapStart_ = 0;
    std::size_t gapLength_ = 0;
};

}  // namespace zantor::editor
