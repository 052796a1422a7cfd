#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zantor {

// A byte queue of fixed capacity: nothing is ever reallocated while it is used.
class ByteRing {
public:
    explicit ByteRing(size_t capacity = 0) : data_(capacity) {}

    size_t capacity() const { return data_.size(); }
    size_t size() const { return size_; }
    size_t free() const { return data_.size() - size_; }
    bool empty() const { return size_ == 0; }

    // Appends all of `bytes` or nothing; false when they do not fit.
    bool push(const uint8_t* bytes, size_t count) {
        if (count > free()) return false;
        if (count == 0) return true;
        // At most two copies: up to the end of the storage, then from its start.
        const size_t tail = (head_ + size_) % data_.size();
        const size_t first = std::min(count, data_.size() - tail);
        std::memcpy(data_.data() + tail, bytes, first);
        std::memcpy(data_.data(), bytes + first, count - first);
        size_ += count;
        return true;
    }
    uint8_t pop() {
        const uint8_t b = data_[head_];
        head_ = (head_ + 1) % data_.size();
        --size_;
        return b;
    }
    // Copies up to `count` bytes from the front without removing them.
    size_t peek(uint8_t* out, size_t count) const {
        const size_t n = std::min(count, size_);
        if (n == 0) return 0;
        const size_t first = std::min(n, data_.size() - head_);
        std::memcpy(out, data_.data() + head_, first);
        std::memcpy(out + first, data_.data(), n - first);
        return n;
    }
    void drop(size_t count) {
        count = std::min(count, size_);
        if (count == 0) return;
        head_ = (head_ + count) % data_.size();
        size_ -= count;
    }
    void clear() { head_ = size_ = 0; }

private:
    std::vector<uint8_t> data_;
    size_t head_ = 0;
    size_t size_ = 0;
};

}  // namespace zantor
