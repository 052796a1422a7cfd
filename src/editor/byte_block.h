#pragma once

#include <cstddef>

namespace zantor::editor {

// Memory for the text of a whole program and for lists of one entry a line,
// taken from the system in one piece. Large pieces are asked for in large
// pages where the system has them: a program of tens of megabytes then
// costs a few page faults instead of tens of thousands. Throws
// std::bad_alloc when there is no room; release with the same size.
void* allocateLarge(std::size_t size);
void releaseLarge(void* data, std::size_t size) noexcept;

// Bytes for a whole file.
class ByteBlock {
public:
    ByteBlock() = default;
    explicit ByteBlock(std::size_t size)
        : data_(static_cast<char*>(allocateLarge(size))), size_(size) {}
    ~ByteBlock() { releaseLarge(data_, size_); }
    ByteBlock(ByteBlock&& other) noexcept : data_(other.data_), size_(other.size_) {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    ByteBlock& operator=(ByteBlock&& other) noexcept {
        if (this != &other) {
            releaseLarge(data_, size_);
            data_ = other.data_;
            size_ = other.size_;
            other.data_ = nullptr;
            other.size_ = 0;
        }
        return *this;
    }
    ByteBlock(const ByteBlock&) = delete;
    ByteBlock& operator=(const ByteBlock&) = delete;

    char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// For a std::vector of millions of entries.
template <typename T>
struct LargePageAllocator {
    using value_type = T;
    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { releaseLarge(p, n * sizeof(T)); }
    friend bool operator==(const LargePageAllocator&, const LargePageAllocator&) { return true; }
};

}  // namespace zantor::editor
