// TCanvas::FloodFill (flood-fill): a scanline fill with an explicit stack.
//
// The region is decided on the colours the picture had before the fill: a
// bit per pixel records what has been painted, and a painted pixel is never
// tested again. So a brush whose colour (or pattern pixel) matches the region
// or the border cannot make the fill loop or stop early. Memory is one bit
// per pixel plus the stack of pending runs.
#include "framing/Bitmap.h"
#include "framing/Canvas.h"
#include "framing/Raster.h"

#include <cstring>
#include <vector>

namespace {

class TRegion {
public:
    TRegion(const raster::Surface& s, TColor color, TFillStyle style)
        : s_(s), key_(color & 0xFFFFFF), surface_(style == fsSurface),
          painted_((std::size_t(s.width) * std::size_t(s.height) + 63) / 64, 0) {}

    // The pixel belongs to the region and has not been painted yet.
    bool Open(int x, int y) const {
        const std::size_t i = std::size_t(y) * std::size_t(s_.width) + std::size_t(x);
        if (painted_[i >> 6] >> (i & 63) & 1) return false;
        const std::uint8_t* p = s_.Row(y) + std::size_t(x) * std::size_t(s_.bpp);
        const TColor c = RGB(p[2], p[1], p[0]);
        return (c == key_) == surface_;
    }

    void MarkPainted(int y, int x0, int x1) {
        const std::size_t base = std::size_t(y) * std::size_t(s_.width);
        for (std::size_t i = base + std::size_t(x0); i < base + std::size_t(x1); ++i)
            painted_[i >> 6] |= std::uint64_t(1) << (i & 63);
    }

private:
    const raster::Surface& s_;
    TColor key_;
    bool surface_;
    std::vector<std::uint64_t> painted_;
};

} // namespace

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    const raster::Paint paint = raster::Paint::FromBrush(Brush, s.bpp);
    if (paint.None() || x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    TRegion region(s, color, style);
    if (!region.Open(x, y)) return;

    // Each stack entry is a pixel known to be open when it was pushed; the
    // run through it is painted whole, then the rows above and below are
    // searched for open runs under it.
    struct Seed {
        int x, y;
    };
    std::vector<Seed> stack{{x, y}};
    while (!stack.empty()) {
        const Seed seed = stack.back();
        stack.pop_back();
        if (!region.Open(seed.x, seed.y)) continue;
        int x0 = seed.x, x1 = seed.x + 1;
        while (x0 > 0 && region.Open(x0 - 1, seed.y)) --x0;
        while (x1 < s.width && region.Open(x1, seed.y)) ++x1;
        region.MarkPainted(seed.y, x0, x1);
        paint.FillSpan(s, seed.y, x0, x1);
        for (const int ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= s.height) continue;
            for (int nx = x0; nx < x1; ++nx) {
                if (!region.Open(nx, ny)) continue;
                stack.push_back({nx, ny});
                while (nx + 1 < x1 && region.Open(nx + 1, ny)) ++nx;
            }
        }
    }
}
