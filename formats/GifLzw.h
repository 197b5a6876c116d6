// The LZW coding of a GIF image's pixels, written the way giflib writes it,
// byte for byte: a clear code first; codes one bit wider as soon as the next
// free code needs it; when the table is full (code 4095), a clear code
// instead of a new entry; the last code, the end code, and the bits left
// over; all in sub-blocks of at most 255 bytes ended by an empty one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Appends the image data of pixels (palette indices, each below
// 2^colorBits) for a colour table of 2^colorBits entries (1..8): the
// minimum code size byte, the sub-blocks and the empty block ending them.
// pixels must not be empty.
void AppendGifImageData(std::span<const std::uint8_t> pixels, int colorBits,
                        std::vector<std::uint8_t>& out);

} // namespace quillon
