// Small pixel helpers shared by the picture readers: blending a pixel with
// alpha over white, and palettes from 6-bit or other-range colour values.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Types.h"

#include <cstdint>

namespace quillon {

// Colour component c with coverage a (0..255) laid over white, rounded.
inline std::uint8_t OverWhite(unsigned c, unsigned a) {
    return std::uint8_t((c * a + 255u * (255u - a) + 127u) / 255u);
}

// Scales a value in 0..maxValue to 0..255, rounded; values above maxValue
// are clamped.
inline std::uint8_t ScaleTo8(unsigned value, unsigned maxValue) {
    if (maxValue == 0) return 0;
    if (value >= maxValue) return 255;
    return std::uint8_t((value * 255u + maxValue / 2) / maxValue);
}

inline std::uint8_t Clamp8(int v) {
    return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// bitmap itself when it is 24-bit, else copy made 24-bit: the layout the
// PNG and WebP writers hand their libraries.
inline const Bitmap& AsBgr24(const Bitmap& bitmap, Bitmap& copy) {
    if (bitmap.format() == PixelFormat::Bgr24) return bitmap;
    copy.Assign(bitmap);
    copy.SetPixelFormat(PixelFormat::Bgr24);
    return copy;
}

} // namespace quillon
