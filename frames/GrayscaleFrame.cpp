#include "frames/GrayscaleFrame.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillon {

GrayscaleFrame::GrayscaleFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

void GrayscaleFrame::Paint() {
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    if (Output->format() != PixelFormat::Bgrx32) return;
    GreyInnerArea(*Output, FrameWidth, FrameHeight);
}

void GreyInnerArea(Bitmap& bitmap, int bandWidth, int bandHeight) {
    static_assert(std::endian::native == std::endian::little,
                  "pixels are read as B, G, R, X words");
    if (bitmap.format() != PixelFormat::Bgrx32) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const int x0 = std::max(bandWidth, 0), x1 = w - bandWidth;
    const int y0 = std::max(bandHeight, 0), y1 = h - bandHeight;
    if (x0 >= x1 || y0 >= y1) return;
    for (int y = y0; y < y1; ++y) {
        // Whole pixels as 32-bit words, so the compiler can vectorise the row:
        // for any sum s <= 765, (s * 43691) >> 17 equals s / 3 exactly.
        std::uint8_t* row = bitmap.ScanLine(y) + 4 * std::size_t(x0);
        const std::size_t n = std::size_t(x1 - x0);
        for (std::size_t i = 0; i < n; ++i) {
            std::uint32_t px;
            std::memcpy(&px, row + 4 * i, 4);
            const std::uint32_t sum = (px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF);
            const std::uint32_t g = (sum * 43691u) >> 17;
            px = (px & 0xFF000000u) | (g * 0x010101u);
            std::memcpy(row + 4 * i, &px, 4);
        }
    }
}

void GreyInnerAreaReference(Bitmap& bitmap, int bandWidth, int bandHeight) {
    for (int y = bandHeight; y < bitmap.Height() - bandHeight; ++y)
        for (int x = bandWidth; x < bitmap.Width() - bandWidth; ++x) {
            if (x < 0 || y < 0) continue;
            const Color c = bitmap.Pixel(x, y);
            const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            bitmap.SetPixel(x, y, RGB(g, g, g));
        }
}

} // namespace quillon
