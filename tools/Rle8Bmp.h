// Run-length encoded 8-bit Windows bitmaps (BI_RLE8): how the decoration
// library stores overlays, whose large areas of one see-through colour
// shrink to almost nothing while every colour stays exact.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

class Bitmap;

// The bytes of a BI_RLE8 bitmap file of an Indexed8 picture with its
// palette. Rows are written bottom-up: repeats as (count, index) pairs,
// stretches of differing indices as literal runs, each row closed with an
// end-of-line code and the picture with an end-of-bitmap code.
std::vector<std::uint8_t> EncodeRle8Bmp(const Bitmap& indexed);

} // namespace quillon
