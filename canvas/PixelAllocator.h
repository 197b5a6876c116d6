// The allocator of bitmap pixel buffers.
//
// A photo's pixels take tens of megabytes, and a fresh buffer is first
// touched one 4 KB page at a time: on a 12-megapixel picture that is some
// 12 000 page faults per buffer, which costs more than copying the pixels.
// Large buffers are therefore aligned to 2 MB and offered to the kernel for
// transparent huge pages (an advice it may ignore), so that the first touch
// costs a few dozen faults instead. Small buffers come from operator new.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace quillon {

namespace pixel_memory {
void* Allocate(std::size_t bytes);
void Release(void* p, std::size_t bytes) noexcept;
} // namespace pixel_memory

template <class T> struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <class U> PixelAllocator(const PixelAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(pixel_memory::Allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { pixel_memory::Release(p, n * sizeof(T)); }
    // A pixel made without a value is left as the memory holds it: a buffer
    // grown by resize(n) is not cleared, since every caller that grows one
    // either gives the value (resize(n, 0)) or writes every byte itself.
    // Clearing tens of megabytes that are overwritten at once costs as much
    // as the writing.
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U> bool operator==(const PixelAllocator<U>&) const noexcept { return true; }
};

using PixelBuffer = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;

} // namespace quillon
