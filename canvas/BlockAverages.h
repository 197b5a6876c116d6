// Shrinking a picture by a whole factor: each pixel of the result is the
// rounded mean of a block of the picture's pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon {

// A picture of 4-byte pixels (blue, green, red, and a byte that is not
// read), width x height, its rows stride bytes apart.
struct PixelRows {
    const std::uint8_t* bits;
    std::size_t stride;
    int width, height;
};

// Writes into dest (4-byte pixels, destStride bytes a row) destWidth x
// destHeight pixels, each the mean of the block of factor x factor source
// pixels at factor times its place, rounded half up, with fourth as its
// fourth byte. A block that reaches past the source's edge is the mean of
// the pixels it does hold, so a destination of the rounded-up size shows
// the whole picture and one of the rounded-down size leaves the partial
// blocks out. The rows are shared among the processor's cores.
void AverageBlocks(const PixelRows& source, int factor, std::uint8_t* dest, std::size_t destStride,
                   int destWidth, int destHeight, std::uint8_t fourth);

} // namespace quillon
