// Helpers of the geometric style tests: building a frame from a test photo,
// and seeded random pictures.
#pragma once

#include "canvas/Bitmap.h"
#include "frames/FrameStyle.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace quillon {

struct FrameArgs {
    int frameWidth = 10;
    int frameHeight = 10;
    Color frameColor = kWhite;
    Color borderColor = kBlack;
    bool expand = false;
    int borderWidth = 1;
    Color backgroundColor = kWhite;
    std::optional<std::uint32_t> seed;
};

// Constructs style T from photo; it has painted once.
template <class T> std::unique_ptr<T> MakeFrame(const Bitmap& photo, const FrameArgs& a) {
    FrameSettings s = MakeFrameSettings(a.frameWidth, a.frameHeight, a.frameColor, a.borderColor,
                                        a.expand, a.borderWidth, a.backgroundColor);
    s.seed = a.seed;
    return std::make_unique<T>(photo, s);
}

// A PixelFormat::Bgrx32 picture of random bytes (the fourth byte included).
inline std::unique_ptr<Bitmap> RandomPicture(int width, int height, std::mt19937& rng) {
    auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bgrx32);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 4 * width; ++x) b->ScanLine(y)[x] = std::uint8_t(byte(rng));
    return b;
}

inline bool SameBytes(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (std::size_t i = 0; i < a.Stride(); ++i)
            if (a.ScanLine(y)[i] != b.ScanLine(y)[i]) return false;
    return true;
}

// A small striped pattern the decorated-variant tests fill with.
inline std::unique_ptr<Bitmap> StripePattern() {
    auto p = std::make_unique<Bitmap>(6, 6, PixelFormat::Bgrx32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) p->SetPixel(x, y, (x + y) % 6 < 3 ? 0x2060C0 : 0xF0E0A0);
    return p;
}

} // namespace quillon
