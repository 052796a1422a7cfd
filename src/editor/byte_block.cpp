#include "editor/byte_block.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace zantor::editor {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
// Smaller pieces come from the heap: large pages would not pay for themselves.
// Under AddressSanitizer everything does, so that it guards the bounds of
// these blocks as of any other (it does not watch mapped memory).
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kMappedFrom = SIZE_MAX;
#else
constexpr std::size_t kMappedFrom = std::size_t(4) << 20;
#endif

std::size_t mappedLength(std::size_t size) {
    return (size + kLargePage - 1) / kLargePage * kLargePage;
}

}  // namespace

void* allocateLarge(std::size_t size) {
    if (size < kMappedFrom) return ::operator new(size == 0 ? 1 : size);
    // Large pages must start on their own boundary: map one page more and
    // give back what lies before and after the aligned part.
    const std::size_t length = mappedLength(size);
    void* raw = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    char* const start = static_cast<char*>(raw);
    const std::size_t skip =
        (kLargePage - reinterpret_cast<std::uintptr_t>(start) % kLargePage) % kLargePage;
    if (skip > 0) ::munmap(start, skip);
    ::munmap(start + skip + length, kLargePage - skip);
    // Only advice: without large pages the memory serves all the same.
    ::madvise(start + skip, length, MADV_HUGEPAGE);
    return start + skip;
}

void releaseLarge(void* data, std::size_t size) noexcept {
    if (data == nullptr) return;
    if (size < kMappedFrom)
        ::operator delete(data);
    else
        ::munmap(data, mappedLength(size));
}

}  // namespace zantor::editor
