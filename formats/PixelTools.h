// Small pixel helpers shared by the picture readers: blending a pixel with
// alpha over white, and palettes from 6-bit or other-range colour values.
#pragma once

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

} // namespace quillon
