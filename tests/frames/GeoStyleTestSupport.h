// Helpers of the geometric style tests: building a frame from a test photo
// the way the photo document does (photo on the clipboard, then the style's
// constructor), and seeded random pictures.
#pragma once

#include "canvas/Bitmap.h"
#include "frames/Clipboard.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>

struct FrameArgs {
    int frameWidth = 10;
    int frameHeight = 10;
    TColor frameColor = clWhite;
    TColor borderColor = clBlack;
    bool expand = false;
    int borderWidth = 1;
    TColor backgroundColor = clWhite;
};

// Puts photo on the clipboard and constructs style T from it at zoom 100 %.
template <class T> std::unique_ptr<T> MakeFrame(const TBitmap& photo, const FrameArgs& a) {
    Clipboard().SetBitmap(photo);
    return std::make_unique<T>(nullptr, "test.bmp", 0, 0, a.frameWidth, a.frameHeight, a.frameColor,
                               a.borderColor, a.expand, a.borderWidth, a.backgroundColor, 0, true);
}

// A pf32bit picture of random bytes (the fourth byte included).
inline std::unique_ptr<TBitmap> RandomPicture(int width, int height, std::mt19937& rng) {
    auto b = std::make_unique<TBitmap>(width, height, pf32bit);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 4 * width; ++x) b->ScanLine(y)[x] = std::uint8_t(byte(rng));
    return b;
}

inline bool SameBytes(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (std::size_t i = 0; i < a.Stride(); ++i)
            if (a.ScanLine(y)[i] != b.ScanLine(y)[i]) return false;
    return true;
}

// A small striped pattern the decorated-variant tests fill with.
inline std::unique_ptr<TBitmap> StripePattern() {
    auto p = std::make_unique<TBitmap>(6, 6, pf32bit);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) p->SetPixel(x, y, (x + y) % 6 < 3 ? 0x2060C0 : 0xF0E0A0);
    return p;
}
