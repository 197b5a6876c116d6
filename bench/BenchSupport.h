// Shared pieces of the benchmarks: the 4000 x 3000 test picture and the
// memcpy baseline every figure is compared with.
#pragma once

#include "canvas/Bitmap.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace quillon {

constexpr int kBenchWidth = 4000;
constexpr int kBenchHeight = 3000;

// A photo-like 32-bit picture: gradients with a little texture.
inline std::unique_ptr<Bitmap> MakeBenchPhoto(int width = kBenchWidth, int height = kBenchHeight) {
    auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = b->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[4 * x] = std::uint8_t((x * 255) / width);
            row[4 * x + 1] = std::uint8_t((y * 255) / height);
            row[4 * x + 2] = std::uint8_t((x ^ y) & 0xFF);
            row[4 * x + 3] = 0;
        }
    }
    return b;
}

// Seconds one memcpy of `bytes` takes here (best of several runs).
inline double MemcpySeconds(std::size_t bytes) {
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

// Adds the counter "memcpys": the mean time of one iteration divided by the
// time of one memcpy of `bytes`. Call after the timing loop. The memcpy is
// timed right then, so that both figures see the machine in the same state
// (a shared machine's speed drifts over a run).
inline void ReportMemcpyRatio(benchmark::State& state, std::size_t bytes) {
    state.counters["memcpys"] =
        benchmark::Counter(MemcpySeconds(bytes), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

} // namespace quillon
