// Rows shared among threads (ForEachRowBand) and the block means built on
// them (AverageBlocks).
#include "canvas/Bitmap.h"
#include "canvas/BlockAverages.h"
#include "canvas/Canvas.h"
#include "canvas/RowBands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace quillon;

TEST(RowBands, EveryRowOnceWhateverTheSizeAndAFailureAfterAllBandsEnd) {
    struct Case {
        int first, end;
        std::size_t rowBytes;
    };
    for (const Case c : {Case{0, 0, 1 << 20}, Case{5, 6, 1 << 20}, Case{0, 10, 16},
                         Case{3, 3003, 16000}, Case{0, 7, 64 << 20}}) {
        SCOPED_TRACE(c.end);
        std::vector<std::atomic<int>> seen(std::size_t(c.end));
        std::atomic<int> calls{0};
        const int bands =
            ForEachRowBand(c.first, c.end, c.rowBytes, 8, [&](int band, int a, int b) {
                EXPECT_GE(band, 0);
                EXPECT_LE(c.first, a);
                EXPECT_LT(a, b);
                for (int y = a; y < b; ++y) ++seen[std::size_t(y)];
                ++calls;
            });
        EXPECT_EQ(calls, bands);
        for (int y = 0; y < c.end; ++y) EXPECT_EQ(seen[std::size_t(y)], y >= c.first ? 1 : 0) << y;
        // Small work is not worth a thread.
        if (std::size_t(c.end - c.first) * c.rowBytes < (1u << 20)) {
            EXPECT_LE(bands, 1);
        }
        if (c.end - c.first == 3000 && std::thread::hardware_concurrency() > 1) {
            EXPECT_GT(bands, 1);
        }
    }

    // A band that throws: the others still finish, then the failure comes.
    std::atomic<int> finished{0};
    EXPECT_THROW(ForEachRowBand(0, 4000, 16000, 8,
                                [&](int band, int, int) {
                                    if (band == 0) throw std::runtime_error("band failed");
                                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                    ++finished;
                                }),
                 std::runtime_error);
    EXPECT_EQ(finished + 1, std::min<int>(8, std::max(1u, std::thread::hardware_concurrency())));
}

namespace {

// The mean of the source pixels of block (bx, by), the plain way.
std::uint32_t BlockMean(const std::vector<std::uint8_t>& bits, int w, int h, int factor, int bx,
                        int by) {
    std::uint32_t sum[3] = {}, n = 0;
    for (int y = by * factor; y < std::min(h, (by + 1) * factor); ++y)
        for (int x = bx * factor; x < std::min(w, (bx + 1) * factor); ++x, ++n)
            for (int c = 0; c < 3; ++c) sum[c] += bits[(std::size_t(y) * w + x) * 4 + c];
    std::uint32_t mean = 0;
    for (int c = 0; c < 3; ++c) mean |= ((sum[c] + n / 2) / n) << (8 * c);
    return mean;
}

} // namespace

TEST(AverageBlocks, EachPixelIsItsBlocksRoundedMeanWithPartialBlocksAtTheEdges) {
    std::mt19937 rng(11);
    struct Case {
        int w, h, factor;
        bool roundUp;
    };
    // Pictures from a few pixels to large enough for several threads, and a
    // factor beyond the 256 rows the sums take in 16 bits.
    for (const Case c :
         {Case{5, 3, 2, false}, Case{5, 3, 2, true}, Case{7, 9, 1, true}, Case{1203, 1001, 4, true},
          Case{1203, 1001, 5, false}, Case{301, 700, 300, true}, Case{3, 2, 8, true}}) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " by " << c.factor);
        std::vector<std::uint8_t> bits(std::size_t(c.w) * c.h * 4);
        for (auto& b : bits) b = std::uint8_t(rng() % 3 == 0 ? 255 : rng());
        const int dw = c.roundUp ? (c.w + c.factor - 1) / c.factor : c.w / c.factor;
        const int dh = c.roundUp ? (c.h + c.factor - 1) / c.factor : c.h / c.factor;
        std::vector<std::uint8_t> dest(std::size_t(dw) * dh * 4 + 4, 0xAB);
        AverageBlocks({bits.data(), std::size_t(c.w) * 4, c.w, c.h}, c.factor, dest.data(),
                      std::size_t(dw) * 4, dw, dh, 7);
        for (int by = 0; by < dh; ++by)
            for (int bx = 0; bx < dw; ++bx) {
                const std::uint8_t* p = dest.data() + (std::size_t(by) * dw + bx) * 4;
                const std::uint32_t got = p[0] | p[1] << 8 | p[2] << 16;
                ASSERT_EQ(got, BlockMean(bits, c.w, c.h, c.factor, bx, by)) << bx << "," << by;
                ASSERT_EQ(p[3], 7);
            }
        EXPECT_EQ(dest.back(), 0xAB); // nothing past the destination
    }
}

// A copy large enough to be shared among threads lands pixel for pixel,
// and a picture drawn onto itself overlapping reads each row before it is
// written.
TEST(RowBands, LargeCopiesLandPixelForPixel) {
    std::mt19937 rng(5);
    const int w = 1100, h = 900;
    Bitmap photo(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) photo.SetPixel(x, y, rng() & 0xFFFFFF);
    Bitmap out(w + 40, h + 30, PixelFormat::Bgrx32);
    out.canvas().Draw(17, 11, photo);
    for (int y = 0; y < h; ++y)
        ASSERT_EQ(std::memcmp(out.ScanLine(y + 11) + 17 * 4, photo.ScanLine(y), std::size_t(w) * 4),
                  0)
            << y;
    EXPECT_EQ(out.Pixel(16, 11), 0u);

    Bitmap self;
    self.Assign(photo);
    self.canvas().Draw(0, 3, self);
    for (int y = 3; y < h; ++y)
        ASSERT_EQ(std::memcmp(self.ScanLine(y), photo.ScanLine(y - 3), std::size_t(w) * 4), 0) << y;
}
