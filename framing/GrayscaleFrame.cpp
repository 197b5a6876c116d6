#include "framing/GrayscaleFrame.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {
// (b + g + r) / 3 for every possible sum, so the row loop does no division.
const std::array<std::uint8_t, 766>& ThirdTable() {
    static const std::array<std::uint8_t, 766> table = [] {
        std::array<std::uint8_t, 766> t{};
        for (int s = 0; s < 766; ++s) t[std::size_t(s)] = std::uint8_t(s / 3);
        return t;
    }();
    return table;
}
} // namespace

TGrayscaleFrame::TGrayscaleFrame(TImageParent* window, const std::string& fileName, int top,
                                 int left, int frameWidth, int frameHeight, TColor frameColor,
                                 TColor borderColor, bool expand, int borderWidth,
                                 TColor backgroundColor, int zoomMode, bool fromClipboard)
    : TPhotoFrame(window, fileName, top, left, frameWidth, frameHeight, frameColor, borderColor,
                  expand, borderWidth, backgroundColor, zoomMode, fromClipboard) {
    PaintFrame();
}

void TGrayscaleFrame::PaintFrame() {
    Output->SetPixelFormat(pf32bit);
    if (Output->PixelFormat() != pf32bit) return;
    GreyInnerArea(*Output, FrameWidth, FrameHeight);
    ShowOutput();
}

void GreyInnerArea(TBitmap& bitmap, int bandWidth, int bandHeight) {
    if (bitmap.PixelFormat() != pf32bit) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const int x0 = std::max(bandWidth, 0), x1 = w - bandWidth;
    const int y0 = std::max(bandHeight, 0), y1 = h - bandHeight;
    if (x0 >= x1 || y0 >= y1) return;
    const auto& third = ThirdTable();
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* p = bitmap.ScanLine(y) + 4 * std::size_t(x0);
        for (int x = x0; x < x1; ++x, p += 4) {
            const std::uint8_t g = third[std::size_t(p[0] + p[1] + p[2])];
            p[0] = p[1] = p[2] = g;
        }
    }
}

void GreyInnerAreaReference(TBitmap& bitmap, int bandWidth, int bandHeight) {
    for (int y = bandHeight; y < bitmap.Height() - bandHeight; ++y)
        for (int x = bandWidth; x < bitmap.Width() - bandWidth; ++x) {
            if (x < 0 || y < 0) continue;
            const TColor c = bitmap.Pixel(x, y);
            const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            bitmap.SetPixel(x, y, RGB(g, g, g));
        }
}
