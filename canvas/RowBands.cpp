#include "canvas/RowBands.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace quillon {

namespace {
// Below this many bytes a second thread costs about what it saves.
constexpr std::size_t kBytesWorthAThread = std::size_t(2) << 20;
} // namespace

int ForEachRowBand(int first, int end, std::size_t rowBytes, int maxBands,
                   const std::function<void(int band, int firstRow, int endRow)>& work) {
    if (end <= first) return 0;
    const std::size_t rows = std::size_t(end - first);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::size_t bands = std::min(
        {cores, std::size_t(std::max(maxBands, 1)), rows, rows * rowBytes / kBytesWorthAThread});
    if (bands <= 1) {
        work(0, first, end);
        return 1;
    }
    auto bandStart = [&](std::size_t band) { return first + int(rows * band / bands); };
    std::vector<std::exception_ptr> failures(bands);
    auto run = [&](std::size_t band) {
        try {
            work(int(band), bandStart(band), bandStart(band + 1));
        } catch (...) {
            failures[band] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(bands - 1);
    std::size_t started = 1;
    for (; started < bands; ++started) {
        try {
            helpers.emplace_back(run, started);
        } catch (const std::system_error&) {
            break; // no more threads: the caller does the rest
        }
    }
    run(0);
    // Bands no thread could be started for.
    for (std::size_t band = started; band < bands; ++band) run(band);
    for (std::thread& t : helpers) t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    return int(bands);
}

} // namespace quillon
