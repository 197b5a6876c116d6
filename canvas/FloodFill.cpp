// Canvas::FloodFill (flood-fill): a scanline fill with an explicit stack.
//
// The region is decided on the colours the picture had before the fill: a
// bit per pixel records what has been painted, and a painted pixel is never
// tested again. So a brush whose colour (or pattern pixel) matches the region
// or the border cannot make the fill loop or stop early. Memory is one bit
// per pixel plus the stack of pending runs.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"

#include <cstring>
#include <vector>

namespace quillon {

namespace {

// The fill region of one picture: pixels of the key colour (FillStyle::Surface) or
// of any other colour (FillStyle::Border) that have not been painted yet.
template <int BPP> class FillRegion {
public:
    FillRegion(const raster::Surface& s, Color color, FillStyle style)
        : s_(s), words_((std::size_t(s.width) + 63) / 64), key_(color & 0xFFFFFF),
          surface_(style == FillStyle::Surface), painted_(words_ * std::size_t(s.height), 0) {}

    bool Open(int x, int y) const { return Open(Pixels(y), Painted(y), x); }

    // The open run through x on row y (x open): [x0, x1).
    void Run(int x, int y, int& x0, int& x1) const {
        const std::uint8_t* row = Pixels(y);
        const std::uint64_t* bits = Painted(y);
        x0 = x;
        x1 = x + 1;
        while (x0 > 0 && Open(row, bits, x0 - 1)) --x0;
        while (x1 < s_.width && Open(row, bits, x1)) ++x1;
    }

    // Calls push(x) for the first pixel of every open run of row y that
    // meets [x0, x1).
    template <class Push> void Seeds(int y, int x0, int x1, Push push) const {
        const std::uint8_t* row = Pixels(y);
        const std::uint64_t* bits = Painted(y);
        for (int x = x0; x < x1; ++x) {
            if (!Open(row, bits, x)) continue;
            push(x);
            while (x + 1 < x1 && Open(row, bits, x + 1)) ++x;
        }
    }

    void MarkPainted(int y, int x0, int x1) {
        std::uint64_t* bits = painted_.data() + std::size_t(y) * words_;
        for (int x = x0; x < x1;) {
            if ((x & 63) == 0 && x + 64 <= x1) {
                bits[x >> 6] = ~std::uint64_t(0);
                x += 64;
            } else {
                bits[x >> 6] |= std::uint64_t(1) << (x & 63);
                ++x;
            }
        }
    }

private:
    const std::uint8_t* Pixels(int y) const { return s_.Row(y); }
    const std::uint64_t* Painted(int y) const { return painted_.data() + std::size_t(y) * words_; }
    bool Open(const std::uint8_t* row, const std::uint64_t* bits, int x) const {
        if (bits[x >> 6] >> (x & 63) & 1) return false;
        const std::uint8_t* p = row + std::size_t(x) * BPP;
        const Color c = Color(p[2]) | Color(p[1]) << 8 | Color(p[0]) << 16;
        return (c == key_) == surface_;
    }

    const raster::Surface& s_;
    std::size_t words_; // 64-bit words per row of painted_
    Color key_;
    bool surface_;
    std::vector<std::uint64_t> painted_;
};

template <int BPP>
void Fill(const raster::Surface& s, const raster::Paint& paint, int x, int y, Color color,
          FillStyle style) {
    FillRegion<BPP> region(s, color, style);
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
        int x0, x1;
        region.Run(seed.x, seed.y, x0, x1);
        region.MarkPainted(seed.y, x0, x1);
        paint.FillSpan(s, seed.y, x0, x1);
        for (const int ny : {seed.y - 1, seed.y + 1})
            if (ny >= 0 && ny < s.height)
                region.Seeds(ny, x0, x1, [&](int nx) { stack.push_back({nx, ny}); });
    }
}

} // namespace

void Canvas::FloodFill(int x, int y, Color color, FillStyle style) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    const raster::Paint paint = raster::Paint::FromBrush(brush, s.bpp);
    if (paint.None() || x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    if (s.bpp == 4)
        Fill<4>(s, paint, x, y, color, style);
    else
        Fill<3>(s, paint, x, y, color, style);
}

} // namespace quillon
