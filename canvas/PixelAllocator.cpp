#include "canvas/PixelAllocator.h"

#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace quillon {

namespace pixel_memory {
namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below this a buffer is not worth a huge page of its own.
constexpr std::size_t kLargeBuffer = std::size_t(4) << 20;
} // namespace

void* Allocate(std::size_t bytes) {
    if (bytes < kLargeBuffer) return ::operator new(bytes);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return p;
}

void Release(void* p, std::size_t bytes) noexcept {
    if (bytes < kLargeBuffer)
        ::operator delete(p);
    else
        std::free(p);
}
} // namespace pixel_memory

} // namespace quillon
