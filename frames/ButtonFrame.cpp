#include "frames/ButtonFrame.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quillon {

namespace {
using ByteMap = std::array<std::uint8_t, 256>;

// Lightening saturates at 255, darkening at 0.
ByteMap Lighten(int amount) {
    ByteMap m{};
    for (int v = 0; v < 256; ++v)
        m[std::size_t(v)] = std::uint8_t(v > 255 - amount ? 255 : v + amount);
    return m;
}
ByteMap Darken(int amount) {
    ByteMap m{};
    for (int v = 0; v < 256; ++v) m[std::size_t(v)] = std::uint8_t(v < amount ? 0 : v - amount);
    return m;
}

struct BevelMaps {
    ByteMap top = Lighten(60), left = Lighten(75), bottom = Darken(70), right = Darken(80);
};
const BevelMaps& Maps() {
    static const BevelMaps maps;
    return maps;
}

// Maps the colour bytes of pixels x0 .. x1 - 1 of row, clipped to the row.
void MapSpan(std::uint8_t* row, int width, int x0, int x1, const ByteMap& m) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width);
    for (std::uint8_t* p = row + 4 * std::ptrdiff_t(x0); x0 < x1; ++x0, p += 4) {
        p[2] = m[p[2]];
        p[1] = m[p[1]];
        p[0] = m[p[0]];
    }
}

void MapPixel(Bitmap& b, int x, int y, const ByteMap& m) {
    std::uint8_t* p = b.ScanLine(y) + 4 * std::size_t(x);
    p[2] = m[p[2]];
    p[1] = m[p[1]];
    p[0] = m[p[0]];
}
} // namespace

ButtonFrame::ButtonFrame(const Bitmap& photo, const FrameSettings& settings)
    : FrameStyle(photo, settings) {
    Paint();
}

void ButtonFrame::ChangeFrameHeight(int v) {
    SetFrameHeight(v);
    SetFrameWidth(v);
}

void ButtonFrame::ChangeFrameWidth(int v) {
    SetFrameWidth(v);
    SetFrameHeight(v);
}

void ButtonFrame::Paint() {
    DrawPictureCentred();
    Output->SetPixelFormat(PixelFormat::Bgrx32);
    if (Output->format() != PixelFormat::Bgrx32) return;
    ApplyBevel(*Output, FrameWidth, FrameHeight);
}

// Each band's pixel conditions solved for the columns of one row:
//   top    (y < fh):       W - x > y and x >= y         ->  y <= x < W - y
//   left   (x < fw):       x < y and x < H - y          ->  x < min(y, H - y)
//   bottom (y >= H - fh):  H - y < W - x and x > H - y  ->  H - y < x < W - H + y
//   right  (x >= W - fw):  y > W - x and W - x < H - y  ->  x > W - y, x > W - H + y
// The corner pixels on the diagonals fall outside the strict inequalities, so
// they keep their colour, which mitres the corners.
void ApplyBevel(Bitmap& bitmap, int bandWidth, int bandHeight) {
    if (bitmap.format() != PixelFormat::Bgrx32) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const int fw = std::max(bandWidth, 0), fh = std::max(bandHeight, 0);
    const BevelMaps& m = Maps();
    for (int y = 0; y < std::min(fh, h); ++y) MapSpan(bitmap.ScanLine(y), w, y, w - y, m.top);
    if (fw > 0)
        for (int y = 0; y < h; ++y)
            MapSpan(bitmap.ScanLine(y), w, 0, std::min({fw, y, h - y}), m.left);
    for (int y = std::max(h - fh, 0); y < h; ++y)
        MapSpan(bitmap.ScanLine(y), w, h - y + 1, w - h + y, m.bottom);
    if (fw > 0)
        for (int y = 0; y < h; ++y)
            MapSpan(bitmap.ScanLine(y), w, std::max({w - fw, w - y + 1, w - h + y + 1}), w,
                    m.right);
}

void ApplyBevelReference(Bitmap& bitmap, int bandWidth, int bandHeight) {
    if (bitmap.format() != PixelFormat::Bgrx32) return;
    const int W = bitmap.Width(), H = bitmap.Height(), fw = bandWidth, fh = bandHeight;
    const BevelMaps& m = Maps();
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < W && y < H; };
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < W; ++x)
            if (W - x > y && x >= y && inside(x, y)) MapPixel(bitmap, x, y, m.top);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < fw; ++x)
            if (x < y && x < H - y && inside(x, y)) MapPixel(bitmap, x, y, m.left);
    for (int y = H - fh; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (H - y < W - x && x > H - y && inside(x, y)) MapPixel(bitmap, x, y, m.bottom);
    for (int y = 0; y < H; ++y)
        for (int x = W - fw; x < W; ++x)
            if (y > W - x && W - x < H - y && inside(x, y)) MapPixel(bitmap, x, y, m.right);
}

} // namespace quillon
