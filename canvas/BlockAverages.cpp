#include "canvas/BlockAverages.h"

#include "canvas/RowBands.h"

#include <algorithm>
#include <vector>

namespace quillon {

void AverageBlocks(const PixelRows& source, int factor, std::uint8_t* dest, std::size_t destStride,
                   int destWidth, int destHeight, std::uint8_t fourth) {
    if (factor < 1) factor = 1;
    const int w = source.width, h = source.height;
    destWidth = std::min(destWidth, (w + factor - 1) / factor);
    destHeight = std::min(destHeight, (h + factor - 1) / factor);
    if (destWidth <= 0 || destHeight <= 0) return;
    // Up to this many rows of bytes are summed in 16 bits (256 x 255 fits).
    constexpr int kRowsIn16Bits = 256;
    const int usedWidth = std::min(w, destWidth * factor);
    ForEachRowBand(
        0, destHeight, std::size_t(factor) * std::size_t(usedWidth) * 4, 8,
        [&](int, int first, int end) {
            // The bytes of a block row are summed down its rows first, which
            // the compiler does many bytes at a time, then across each block.
            std::vector<std::uint16_t> column(std::size_t(usedWidth) * 4);
            std::vector<std::uint32_t> sums(std::size_t(destWidth) * 3);
            for (int by = first; by < end; ++by) {
                const int y0 = by * factor, y1 = std::min(y0 + factor, h);
                std::fill(sums.begin(), sums.end(), 0u);
                for (int part = y0; part < y1; part += kRowsIn16Bits) {
                    std::fill(column.begin(), column.end(), std::uint16_t(0));
                    std::uint16_t* const sum = column.data();
                    const int partEnd = std::min(part + kRowsIn16Bits, y1);
                    for (int y = part; y < partEnd; ++y) {
                        const std::uint8_t* row = source.bits + std::size_t(y) * source.stride;
                        for (std::size_t i = 0; i < column.size(); ++i)
                            sum[i] = std::uint16_t(sum[i] + row[i]);
                    }
                    for (int bx = 0; bx < destWidth; ++bx) {
                        const int x0 = bx * factor, x1 = std::min(x0 + factor, w);
                        std::uint32_t b = 0, g = 0, r = 0;
                        for (int x = x0; x < x1; ++x) {
                            b += sum[4 * x];
                            g += sum[4 * x + 1];
                            r += sum[4 * x + 2];
                        }
                        sums[3 * std::size_t(bx)] += b;
                        sums[3 * std::size_t(bx) + 1] += g;
                        sums[3 * std::size_t(bx) + 2] += r;
                    }
                }
                std::uint8_t* out = dest + std::size_t(by) * destStride;
                for (int bx = 0; bx < destWidth; ++bx, out += 4) {
                    const std::uint32_t n =
                        std::uint32_t(y1 - y0) * std::uint32_t(std::min(factor, w - bx * factor));
                    for (int c = 0; c < 3; ++c)
                        out[c] =
                            std::uint8_t((sums[3 * std::size_t(bx) + std::size_t(c)] + n / 2) / n);
                    out[3] = fourth;
                }
            }
        });
}

} // namespace quillon
