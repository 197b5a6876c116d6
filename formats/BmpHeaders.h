// The headers that open a Windows bitmap file: the 14-byte file header, the
// 40-byte info header and the palette. The BMP writer and the run-length
// decoration encoder both write them.
#pragma once

#include "canvas/Types.h"

#include <cstdint>
#include <vector>

namespace quillon {

struct BmpHeaderFields {
    std::uint32_t fileSize = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0; // 0 none, 1 RLE8
    std::uint32_t imageBytes = 0;
    std::uint32_t pixelsPerMetre = 0;
};

// Appends the headers and the palette (blue, green, red, zero per colour);
// the pixel data starts right after them.
void PutBmpHeaders(std::vector<std::uint8_t>& out, const BmpHeaderFields& fields,
                   const std::vector<Color>& palette);

} // namespace quillon
