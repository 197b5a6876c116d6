#include "canvas/PixelAllocator.h"
#include "canvas/PixelReserve.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace quillon {

namespace pixel_memory {
namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below this a buffer is not worth a huge page of its own.
constexpr std::size_t kLargeBuffer = std::size_t(4) << 20;

std::size_t Rounded(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// Large buffers given back, kept for the next request of the same size.
struct Reserve {
    std::mutex lock;
    std::size_t limit = 0; // 0: nothing is kept
    std::size_t kept = 0;
    std::vector<std::pair<void*, std::size_t>> blocks; // pointer, rounded size

    static Reserve& Instance() {
        static Reserve* reserve = new Reserve; // never destroyed: used until exit
        return *reserve;
    }
    void* Take(std::size_t rounded) {
        const std::lock_guard guard(lock);
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            if (it->second != rounded) continue;
            void* p = it->first;
            kept -= rounded;
            blocks.erase(it);
            return p;
        }
        return nullptr;
    }
    // Keeps p unless it alone passes the limit; the buffers kept longest
    // make room for it (a size no longer asked for ages out).
    bool Keep(void* p, std::size_t rounded) {
        const std::lock_guard guard(lock);
        if (rounded > limit) return false;
        blocks.emplace_back(p, rounded);
        kept += rounded;
        FreeOver(limit);
        return true;
    }
    void Trim(std::size_t newLimit) {
        const std::lock_guard guard(lock);
        limit = newLimit;
        FreeOver(limit);
    }

private:
    void FreeOver(std::size_t most) {
        while (kept > most) {
            std::free(blocks.front().first);
            kept -= blocks.front().second;
            blocks.erase(blocks.begin());
        }
    }

public:
};

} // namespace

void* Allocate(std::size_t bytes) {
    if (bytes < kLargeBuffer) return ::operator new(bytes);
    const std::size_t rounded = Rounded(bytes);
    if (void* kept = Reserve::Instance().Take(rounded)) return kept;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, rounded, MADV_HUGEPAGE);
#endif
    return p;
}

void Release(void* p, std::size_t bytes) noexcept {
    if (bytes < kLargeBuffer) {
        ::operator delete(p);
        return;
    }
    if (!Reserve::Instance().Keep(p, Rounded(bytes))) std::free(p);
}

void KeepFreedBuffers(std::size_t limitBytes) {
    Reserve::Instance().Trim(limitBytes);
}

std::size_t KeptBytes() {
    Reserve& r = Reserve::Instance();
    const std::lock_guard guard(r.lock);
    return r.kept;
}

} // namespace pixel_memory

} // namespace quillon
