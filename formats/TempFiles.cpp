#include "formats/TempFiles.h"

#include <atomic>
#include <csignal>
#include <cstring>

#include <climits>
#include <unistd.h>

namespace quillon::temp_files {

namespace {

constexpr int kSlots = 16;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum SlotState : int { kFree, kFilling, kHeld };

struct Slot {
    std::atomic<int> State{kFree};
    char Path[PATH_MAX];
};

Slot gSlots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots lock-free");

void OnEndingSignal(int sig) {
    for (Slot& slot : gSlots)
        if (slot.State.load(std::memory_order_acquire) == kHeld) ::unlink(slot.Path);
    // Then end as the signal would have: its default action, raised again.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Takes over the signals whose action is still the default. Checked at every
// registration, so a signal the program has since given back to its
// default is covered too.
void InstallHandlers() {
    for (int sig : kSignals) {
        struct sigaction current {};
        if (::sigaction(sig, nullptr, &current) != 0) continue;
        if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
        struct sigaction ours {};
        ours.sa_handler = OnEndingSignal;
        sigemptyset(&ours.sa_mask);
        for (int other : kSignals) sigaddset(&ours.sa_mask, other);
        ::sigaction(sig, &ours, nullptr);
    }
}

} // namespace

int Remember(const char* path) {
    InstallHandlers();
    const std::size_t length = std::strlen(path);
    if (length >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!gSlots[i].State.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(gSlots[i].Path, path, length + 1);
        gSlots[i].State.store(kHeld, std::memory_order_release);
        return i;
    }
    return -1;
}

void Forget(int handle) {
    if (handle >= 0 && handle < kSlots)
        gSlots[handle].State.store(kFree, std::memory_order_release);
}

} // namespace quillon::temp_files
