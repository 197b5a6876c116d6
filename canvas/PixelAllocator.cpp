#include "canvas/PixelAllocator.h"
#include "canvas/PixelReserve.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>
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

// Whether fresh large buffers are faulted in by a helper (PrefaultFreshBuffers).
std::atomic<bool> prefaultOn{false};

// Fresh large buffers are offered huge pages, but under a hypervisor that
// takes freed memory back (free page reporting) most of the kernel's free
// huge pages may be ones the host has reclaimed: zeroing one then faults the
// host 512 times, and a huge page costs some 25 times what it costs when the
// host still backs it, several times what 4 KB pages cost. Memory freed a
// moment ago is still backed, so this comes and goes. The prefaulting helper
// below therefore times its work; once huge pages come slower than small
// ones would, the rest of that buffer takes small pages.
//
// A 4 MB stretch of fresh memory faulted in: about 0.4 ms in huge pages the
// host backs, 1.5 ms in 4 KB pages, 10 ms in huge pages it has reclaimed.
constexpr auto kSlowStretch = std::chrono::microseconds(3000);

// Fresh large buffers being faulted in by a helper thread.
//
// The first touch of a fresh buffer's pages costs the kernel a fault and a
// zeroed page each: for a 24-megapixel picture that is tens of milliseconds,
// spent while the writer waits. A helper thread therefore asks the kernel to
// fault the buffer in (MADV_POPULATE_WRITE, which never changes a byte the
// writer has written) from its end backward, while the writer fills it from
// the start: each page is faulted once, by whichever of the two reaches it
// first, and the faulting runs beside the decoding or painting instead of in
// front of it.
struct Prefaulting {
    std::mutex lock;
    struct Job {
        void* p = nullptr;
        // Set by the owner to stop the helper early; set by the helper when it ends.
        std::unique_ptr<std::atomic<bool>> stop, done;
        std::thread thread;
    };
    std::vector<Job> jobs;

    static Prefaulting& Instance() {
        static Prefaulting* prefaulting = new Prefaulting; // never destroyed
        return *prefaulting;
    }
    void Start(void* p, std::size_t bytes, bool huge) {
#ifdef MADV_POPULATE_WRITE
        ReapEnded();
        try {
            Job job{p,
                    std::make_unique<std::atomic<bool>>(false),
                    std::make_unique<std::atomic<bool>>(false),
                    {}};
            std::atomic<bool>* stop = job.stop.get();
            std::atomic<bool>* done = job.done.get();
            const std::lock_guard guard(lock);
            // Room first, so that nothing can fail once the thread runs.
            jobs.reserve(jobs.size() + 1);
            job.thread = std::thread([p, bytes, huge, stop, done] {
                Populate(static_cast<std::uint8_t*>(p), bytes, huge, *stop);
                done->store(true, std::memory_order_release);
            });
            jobs.push_back(std::move(job));
        } catch (const std::exception&) {
            // No memory or thread to spare: the writer faults the pages in
            // itself.
        }
#else
        (void)p;
        (void)bytes;
        (void)huge;
#endif
    }
    static void Populate(std::uint8_t* base, std::size_t bytes, bool huge,
                         const std::atomic<bool>& stop) {
#ifdef MADV_POPULATE_WRITE
        constexpr std::size_t kStretch = 2 * kHugePage;
        std::size_t end = bytes;
        while (end > 0 && !stop.load(std::memory_order_relaxed)) {
            const std::size_t start = end > kStretch ? (end - kStretch) / kHugePage * kHugePage : 0;
            const auto began = std::chrono::steady_clock::now();
            // It may fail for lack of memory; the writer then faults the
            // pages in itself.
            if (madvise(base + start, end - start, MADV_POPULATE_WRITE) != 0) return;
            if (huge && std::chrono::steady_clock::now() - began > kSlowStretch) {
                madvise(base, start, MADV_NOHUGEPAGE);
                huge = false;
            }
            end = start;
        }
#else
        (void)base;
        (void)bytes;
        (void)huge;
        (void)stop;
#endif
    }
    // Joins the helpers that have ended, so that a long run holding many
    // buffers does not keep their threads.
    void ReapEnded() {
        std::vector<std::thread> ended;
        {
            const std::lock_guard guard(lock);
            for (auto it = jobs.begin(); it != jobs.end();) {
                if (it->done->load(std::memory_order_acquire)) {
                    ended.push_back(std::move(it->thread));
                    it = jobs.erase(it);
                } else {
                    ++it;
                }
            }
        }
        for (std::thread& t : ended) t.join();
    }
    // Stops and waits for the helper of p, if it has one.
    void Finish(void* p) {
        Job job;
        {
            const std::lock_guard guard(lock);
            auto it =
                std::find_if(jobs.begin(), jobs.end(), [p](const Job& j) { return j.p == p; });
            if (it == jobs.end()) return;
            job = std::move(*it);
            jobs.erase(it);
        }
        job.stop->store(true, std::memory_order_relaxed);
        job.thread.join();
    }
};

} // namespace

void* Allocate(std::size_t bytes) {
    if (bytes < kLargeBuffer) return ::operator new(bytes);
    const std::size_t rounded = Rounded(bytes);
    if (void* kept = Reserve::Instance().Take(rounded)) return kept;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
    bool huge = false;
#ifdef MADV_HUGEPAGE
    huge = madvise(p, rounded, MADV_HUGEPAGE) == 0;
#endif
    if (prefaultOn.load(std::memory_order_relaxed)) Prefaulting::Instance().Start(p, bytes, huge);
    return p;
}

void Release(void* p, std::size_t bytes) noexcept {
    if (bytes < kLargeBuffer) {
        ::operator delete(p);
        return;
    }
    Prefaulting::Instance().Finish(p);
    if (!Reserve::Instance().Keep(p, Rounded(bytes))) std::free(p);
}

void PrefaultFreshBuffers(bool on) {
    prefaultOn.store(on, std::memory_order_relaxed);
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
