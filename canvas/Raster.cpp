#include "canvas/Raster.h"

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace quillon {

namespace raster {

i64 ClampCoord(i64 v) {
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}

Surface PrepareSurface(Bitmap& bitmap) {
    if (bitmap.IsIndexed()) bitmap.SetPixelFormat(PixelFormat::Device);
    Surface s;
    s.bits = bitmap.Bits();
    s.stride = bitmap.Stride();
    s.width = bitmap.Width();
    s.height = bitmap.Height();
    s.bpp = bitmap.BytesPerPixel();
    return s;
}

namespace {

void StoreColour(std::uint8_t out[4], Color color) {
    out[0] = GetBValue(color);
    out[1] = GetGValue(color);
    out[2] = GetRValue(color);
    out[3] = 0;
}

// Writes n pixels of one colour starting at dst.
void FillPixels(std::uint8_t* dst, i64 n, const std::uint8_t colour[4], int bpp) {
    if (bpp == 4) {
        std::uint32_t v;
        std::memcpy(&v, colour, 4);
        for (i64 i = 0; i < n; ++i) std::memcpy(dst + 4 * i, &v, 4);
    } else {
        for (i64 i = 0; i < n; ++i, dst += 3) {
            dst[0] = colour[0];
            dst[1] = colour[1];
            dst[2] = colour[2];
        }
    }
}

// Pattern rows are stored repeated to at least this many pixels, so that a
// small tile does not cost one copy per tile.
constexpr int kMinPatternRun = 64;

i64 FloorDiv(i64 a, i64 b) { // b > 0
    i64 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

i64 CeilDiv(i64 a, i64 b) { // b > 0
    return -FloorDiv(-a, b);
}

} // namespace

Paint Paint::Solid(Color color, int bpp) {
    Paint p;
    p.kind_ = Kind::Solid;
    p.bpp_ = bpp;
    StoreColour(p.colour_, color);
    return p;
}

Paint Paint::FromBrush(const Brush& brush, int bpp) {
    if (brush.Style() == BrushStyle::Clear) return Paint();
    const Bitmap* pattern = brush.pattern();
    if (!pattern || pattern->Empty() || pattern->format() != PixelFormat::Bgrx32)
        return Solid(brush.color(), bpp);
    Paint p;
    p.kind_ = Kind::Pattern;
    p.bpp_ = bpp;
    p.patternWidth_ = pattern->Width();
    p.patternHeight_ = pattern->Height();
    const int tiles = (kMinPatternRun + p.patternWidth_ - 1) / p.patternWidth_;
    p.rowPixels_ = tiles * p.patternWidth_;
    p.pattern_.resize(std::size_t(p.rowPixels_) * std::size_t(p.patternHeight_) * std::size_t(bpp));
    std::uint8_t* d = p.pattern_.data();
    for (int y = 0; y < p.patternHeight_; ++y) {
        const std::uint8_t* row = pattern->ScanLine(y);
        for (int i = 0; i < p.rowPixels_; ++i, d += bpp) {
            const std::uint8_t* s = row + 4 * (i % p.patternWidth_);
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            if (bpp == 4) d[3] = 0;
        }
    }
    return p;
}

void Paint::FillSpan(const Surface& s, int y, i64 x0, i64 x1) const {
    if (kind_ == Kind::None || y < 0 || y >= s.height) return;
    x0 = std::max<i64>(x0, 0);
    x1 = std::min<i64>(x1, s.width);
    if (x0 >= x1) return;
    std::uint8_t* dst = s.Row(y) + x0 * s.bpp;
    if (kind_ == Kind::Solid) {
        FillPixels(dst, x1 - x0, colour_, s.bpp);
        return;
    }
    // pattern-tiling: pixel (x, y) takes tile pixel (x mod w, y mod h).
    const std::size_t rowBytes = std::size_t(rowPixels_) * std::size_t(bpp_);
    const std::uint8_t* row = pattern_.data() + std::size_t(y % patternHeight_) * rowBytes;
    i64 offset = x0 % patternWidth_;
    i64 left = x1 - x0;
    while (left > 0) {
        const i64 n = std::min<i64>(left, rowPixels_ - offset);
        std::memcpy(dst, row + offset * bpp_, std::size_t(n) * std::size_t(bpp_));
        dst += n * bpp_;
        left -= n;
        offset = 0; // a stored row holds whole tiles
    }
}

void PutPixel(const Surface& s, int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    std::uint8_t c[4];
    StoreColour(c, color);
    std::memcpy(s.Row(y) + std::size_t(x) * std::size_t(s.bpp), c, std::size_t(s.bpp));
}

// ---------------------------------------------------------------- thin-line

namespace {

// The walk of a clipped thin line: pixel pointer, per-step pointer moves
// and the error term of the minor axis.
template <int BPP>
void WalkLine(std::uint8_t* p, std::ptrdiff_t majStep, std::ptrdiff_t minStep, i64 count, i64 r,
              i64 rStep, i64 den, const std::uint8_t colour[4]) {
    // Branch-free: near-diagonal lines take the minor step at irregular
    // intervals, which a branch would mispredict often.
    for (i64 k = 0; k < count; ++k) {
        std::memcpy(p, colour, BPP);
        r += rStep;
        const bool step = r >= den;
        r -= step ? den : 0;
        p += majStep + (step ? minStep : 0);
    }
}

// The first k >= 0 with floor((2 k dMin + dMaj - 1) / (2 dMaj)) >= m.
i64 FirstStepWithMinor(i64 m, i64 dMaj, i64 dMin) {
    if (m <= 0) return 0;
    return CeilDiv(2 * dMaj * m - dMaj + 1, 2 * dMin);
}

} // namespace

void ThinLine(const Surface& s, Color color, i64 x0, i64 y0, i64 x1, i64 y1) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    if ((dx == 0 && dy == 0) || s.Empty()) return;
    std::uint8_t c[4];
    StoreColour(c, color);

    // Walk the major axis; (ma, mi) are the major and minor start.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const i64 dMaj = xMajor ? std::llabs(dx) : std::llabs(dy);
    const i64 dMin = xMajor ? std::llabs(dy) : std::llabs(dx);
    const i64 sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const i64 sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const i64 ma = xMajor ? x0 : y0, mi = xMajor ? y0 : x0;
    const i64 majLimit = xMajor ? s.width : s.height;
    const i64 minLimit = xMajor ? s.height : s.width;

    // Steps k = 0 .. dMaj - 1, clipped first on the major axis ...
    i64 kLo = 0, kHi = dMaj - 1;
    if (sMaj > 0) {
        kLo = std::max(kLo, -ma);
        kHi = std::min(kHi, majLimit - 1 - ma);
    } else {
        kLo = std::max(kLo, ma - (majLimit - 1));
        kHi = std::min(kHi, ma);
    }
    // ... then on the minor axis: the minor offset m(k) grows with k and
    // must stay within [mLo, mHi] for the pixel to be on the surface.
    const i64 mLo = sMin > 0 ? -mi : mi - (minLimit - 1);
    const i64 mHi = sMin > 0 ? minLimit - 1 - mi : mi;
    if (mLo > mHi || mHi < 0 || mLo > dMin) return;
    if (dMin > 0) {
        kLo = std::max(kLo, FirstStepWithMinor(mLo, dMaj, dMin));
        kHi = std::min(kHi, FirstStepWithMinor(mHi + 1, dMaj, dMin) - 1);
    }
    if (kLo > kHi) return;

    const i64 den = 2 * dMaj;
    const i64 num = 2 * kLo * dMin + dMaj - 1;
    const i64 m = num / den, r = num % den;
    const i64 major = ma + sMaj * kLo, minor = mi + sMin * m;
    const i64 x = xMajor ? major : minor, y = xMajor ? minor : major;
    std::uint8_t* p = s.Row(int(y)) + x * s.bpp;
    const std::ptrdiff_t across = s.bpp, down = std::ptrdiff_t(s.stride);
    const std::ptrdiff_t majStep = sMaj * (xMajor ? across : down);
    const std::ptrdiff_t minStep = sMin * (xMajor ? down : across);
    if (s.bpp == 4)
        WalkLine<4>(p, majStep, minStep, kHi - kLo + 1, r, 2 * dMin, den, c);
    else
        WalkLine<3>(p, majStep, minStep, kHi - kLo + 1, r, 2 * dMin, den, c);
}

// ----------------------------------------------------------------- wide-pen

Capsule MakeCapsule(i64 x0, i64 y0, i64 x1, i64 y1, int width) {
    const i64 w = std::clamp<i64>(width, 1, kCoordLimit);
    const i64 o = (w % 2 == 0) ? 1 : 0;
    return {2 * x0 + 1 - o, 2 * y0 + 1 - o, 2 * x1 + 1 - o, 2 * y1 + 1 - o, w};
}

bool InCapsule(const Capsule& c, i64 px, i64 py) {
    const i64 X = 2 * px + 1, Y = 2 * py + 1;
    const i64 dx = c.bx - c.ax, dy = c.by - c.ay;
    const i64 ux = X - c.ax, uy = Y - c.ay;
    // Below 2^15 every product fits in 64 bits (pictures up to 16 000
    // pixels on a side); beyond, the same test runs in 128 bits.
    constexpr i64 kSmall = i64(1) << 15;
    if (std::llabs(dx) < kSmall && std::llabs(dy) < kSmall && std::llabs(ux) < kSmall &&
        std::llabs(uy) < kSmall && c.w < kSmall) {
        const i64 len2 = dx * dx + dy * dy, t = ux * dx + uy * dy, w2 = c.w * c.w;
        if (len2 == 0 || t <= 0) return ux * ux + uy * uy < w2;
        if (t >= len2) {
            const i64 vx = X - c.bx, vy = Y - c.by;
            return vx * vx + vy * vy < w2;
        }
        const i64 cross = ux * dy - uy * dx;
        return cross * cross < w2 * len2;
    }
    const i128 len2 = i128(dx) * dx + i128(dy) * dy;
    const i128 t = i128(ux) * dx + i128(uy) * dy;
    const i128 w2 = i128(c.w) * c.w;
    if (len2 == 0 || t <= 0) return i128(ux) * ux + i128(uy) * uy < w2;
    if (t >= len2) {
        const i64 vx = X - c.bx, vy = Y - c.by;
        return i128(vx) * vx + i128(vy) * vy < w2;
    }
    const i128 cross = i128(ux) * dy - i128(uy) * dx;
    return cross * cross < w2 * len2;
}

namespace {

// Doubled-coordinate interval [lo, hi] of a disc's row, or false.
bool DiscRow(double cx, double cy, double r, double Y, double& lo, double& hi) {
    const double d = Y - cy;
    if (std::fabs(d) >= r) return false;
    const double h = std::sqrt(r * r - d * d);
    lo = cx - h;
    hi = cx + h;
    return true;
}

// Shrinks the pixel range [lo, hi] of a row to the pixels that pass the
// exact test; the range must contain every such pixel and the pixels that
// pass must be contiguous.
template <class Inside> Span ShrinkToExact(i64 lo, i64 hi, Inside inside) {
    while (lo <= hi && !inside(lo)) ++lo;
    while (hi >= lo && !inside(hi)) --hi;
    if (lo > hi) return {};
    return {int(lo), int(hi + 1)};
}

// Pixel range covering the doubled interval [lo, hi], grown by a margin
// that absorbs rounding, clipped to [clipLo, clipHi).
bool PixelRange(double lo, double hi, i64 clipLo, i64 clipHi, i64& a, i64& b) {
    a = std::max<i64>(clipLo, i64(std::floor((lo - 1) / 2)) - 1);
    b = std::min<i64>(clipHi - 1, i64(std::ceil((hi - 1) / 2)) + 1);
    return a <= b;
}

Span CapsuleRowClipped(const Capsule& c, int y, i64 clipLo, i64 clipHi) {
    // A slightly wider capsule, solved in floating point, bounds the row;
    // the exact test then trims it.
    const double Y = 2.0 * y + 1;
    const double r = double(c.w) + 0.5;
    double lo = 1e300, hi = -1e300, a, b;
    if (DiscRow(double(c.ax), double(c.ay), r, Y, a, b)) lo = std::min(lo, a), hi = std::max(hi, b);
    if (DiscRow(double(c.bx), double(c.by), r, Y, a, b)) lo = std::min(lo, a), hi = std::max(hi, b);
    const double dx = double(c.bx - c.ax), dy = double(c.by - c.ay);
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0) {
        // The band: |cross| < r len and 0 <= t <= len^2, both linear in X.
        double bl = -1e300, bh = 1e300;
        const double yc = Y - double(c.ay);
        // cross = (X - ax) dy - yc dx
        if (dy != 0) {
            double e1 = double(c.ax) + (yc * dx - r * len) / dy;
            double e2 = double(c.ax) + (yc * dx + r * len) / dy;
            bl = std::max(bl, std::min(e1, e2));
            bh = std::min(bh, std::max(e1, e2));
        } else if (std::fabs(yc * dx) >= r * len) {
            bh = -1e300;
        }
        // t = (X - ax) dx + yc dy
        if (dx != 0) {
            double e1 = double(c.ax) + (0 - yc * dy) / dx;
            double e2 = double(c.ax) + (len * len - yc * dy) / dx;
            bl = std::max(bl, std::min(e1, e2));
            bh = std::min(bh, std::max(e1, e2));
        } else if (yc * dy < 0 || yc * dy > len * len) {
            bh = -1e300;
        }
        if (bl <= bh) lo = std::min(lo, bl), hi = std::max(hi, bh);
    }
    if (lo > hi) return {};
    i64 pa, pb;
    if (!PixelRange(lo, hi, clipLo, clipHi, pa, pb)) return {};
    return ShrinkToExact(pa, pb, [&](i64 x) { return InCapsule(c, x, y); });
}

} // namespace

Span CapsuleRow(const Capsule& c, int y, int clipWidth) {
    return CapsuleRowClipped(c, y, 0, clipWidth);
}

void FillCapsule(const Surface& s, Color color, const Capsule& c) {
    if (s.Empty()) return;
    const Paint paint = Paint::Solid(color, s.bpp);
    const i64 top = std::max<i64>(0, FloorDiv(std::min(c.ay, c.by) - c.w - 1, 2) - 1);
    const i64 bottom = std::min<i64>(s.height - 1, CeilDiv(std::max(c.ay, c.by) + c.w - 1, 2) + 1);
    for (i64 y = top; y <= bottom; ++y) {
        const Span sp = CapsuleRow(c, int(y), s.width);
        if (!sp.Empty()) paint.FillSpan(s, int(y), sp.x0, sp.x1);
    }
}

// ------------------------------------------------------------------ ellipse

bool InEllipse(const EllipseShape& e, i64 px, i64 py) {
    if (e.a <= 0 || e.b <= 0) return false;
    const i64 X = 2 * px + 1 - e.cx, Y = 2 * py + 1 - e.cy;
    // Below 2^15 every product fits in 64 bits, which covers every ellipse
    // of a picture up to 16 000 pixels on a side.
    constexpr i64 kSmall = i64(1) << 15;
    if (std::llabs(X) < kSmall && std::llabs(Y) < kSmall && e.a < kSmall && e.b < kSmall)
        return X * X * (e.b * e.b) + Y * Y * (e.a * e.a) < (e.a * e.a) * (e.b * e.b);
    const i128 a2 = i128(e.a) * e.a, b2 = i128(e.b) * e.b;
    return i128(X) * X * b2 + i128(Y) * Y * a2 < a2 * b2;
}

namespace {

// The row's pixels are symmetric about the centre, so the row is found from
// its right end: a floating-point estimate, corrected by the exact test.
Span EllipseRowClipped(const EllipseShape& e, int y, i64 clipLo, i64 clipHi) {
    if (e.a <= 0 || e.b <= 0) return {};
    const i64 Y = 2 * i64(y) + 1 - e.cy;
    const i64 absY = std::llabs(Y);
    if (absY >= e.b) return {};
    auto clipped = [&](i64 right) -> Span {
        const i64 left = e.cx - 1 - right; // the mirror image of right
        const i64 lo = std::max(left, clipLo), hi = std::min(right + 1, clipHi);
        if (lo >= hi) return {};
        return {int(lo), int(hi)};
    };
    // A pixel is inside when its doubled offset X from the centre has
    // |X| < h = a sqrt(b^2 - Y^2) / b. With b below 2^26 the product under
    // the root is exact in a double, so h is good to a few units in the
    // last place; the right end is then the largest px with
    // 2 px + 1 - cx < h, i.e. floor(t) for t = (h + cx - 1) / 2, unless t
    // lies too near a whole number to tell. Those rows, and rows only a
    // pixel or two wide, take the exact tests below.
    if (e.b < (i64(1) << 26)) {
        const double h = double(e.a) * std::sqrt(double((e.b - absY) * (e.b + absY))) / double(e.b);
        const double t = (h + double(e.cx - 1)) / 2;
        if (h > 2 && std::abs(t - std::round(t)) > 1e-5) return clipped(i64(std::floor(t)));
    }
    // The pixel nearest the centre column is inside when any pixel is.
    const i64 xc = FloorDiv(e.cx - 1, 2);
    i64 inside = xc;
    if (!InEllipse(e, xc, y)) {
        if ((e.cx & 1) || !InEllipse(e, xc + 1, y)) return {};
        inside = xc + 1;
    }
    const double q = double(Y) / double(e.b);
    const double h = double(e.a) * std::sqrt(std::max(0.0, 1 - q * q));
    i64 right = std::max(inside, i64(std::floor((double(e.cx) + h - 1) / 2)));
    if (InEllipse(e, right, y)) {
        while (InEllipse(e, right + 1, y)) ++right;
    } else {
        while (!InEllipse(e, right, y)) --right;
    }
    return clipped(right);
}

// Rows [top, bottom] that may hold pixels of the ellipse, clipped to s.
bool EllipseRows(const Surface& s, const EllipseShape& e, int& top, int& bottom) {
    const i64 t = FloorDiv(e.cy - e.b - 1, 2) - 1;
    const i64 b = CeilDiv(e.cy + e.b - 1, 2) + 1;
    top = int(std::max<i64>(t, 0));
    bottom = int(std::min<i64>(b, s.height - 1));
    return top <= bottom;
}

// Row spans of an ellipse for rows y - 1, y and y + 1, moved down a row at
// a time, clipped one pixel beyond the surface so that the true ends of a
// row are told from the clip.
class RowWindow {
public:
    RowWindow(const Surface& s, const EllipseShape& e, int y)
        : e_(e), hi_(i64(s.width) + 1), y_(y), up_(Row(y - 1)), row_(Row(y)), down_(Row(y + 1)) {}
    int y() const { return y_; }
    void Next() {
        ++y_;
        up_ = row_;
        row_ = down_;
        down_ = Row(y_ + 1);
    }
    // ellipse-thin: the row's pixels less those whose four neighbours are
    // all inside; up to two spans.
    void Outline(const Surface& s, const Paint& pen) const {
        if (row_.Empty()) return;
        int i0 = row_.x0 + 1, i1 = row_.x1 - 1;
        if (up_.Empty() || down_.Empty()) {
            i0 = i1;
        } else {
            i0 = std::max({i0, up_.x0, down_.x0});
            i1 = std::min({i1, up_.x1, down_.x1});
        }
        if (i0 >= i1) {
            pen.FillSpan(s, y_, row_.x0, row_.x1);
        } else {
            pen.FillSpan(s, y_, row_.x0, i0);
            pen.FillSpan(s, y_, i1, row_.x1);
        }
    }

private:
    Span Row(int y) const { return EllipseRowClipped(e_, y, -1, hi_); }
    const EllipseShape& e_;
    i64 hi_;
    int y_;
    Span up_, row_, down_;
};

} // namespace

Span EllipseRow(const EllipseShape& e, int y, int clipWidth) {
    return EllipseRowClipped(e, y, 0, clipWidth);
}

void FillEllipse(const Surface& s, const Paint& paint, const EllipseShape& e) {
    int top, bottom;
    if (paint.None() || s.Empty() || !EllipseRows(s, e, top, bottom)) return;
    for (int y = top; y <= bottom; ++y) {
        const Span sp = EllipseRow(e, y, s.width);
        if (!sp.Empty()) paint.FillSpan(s, y, sp.x0, sp.x1);
    }
}

void ThinEllipseOutline(const Surface& s, Color color, const EllipseShape& e) {
    int top, bottom;
    if (s.Empty() || !EllipseRows(s, e, top, bottom)) return;
    const Paint pen = Paint::Solid(color, s.bpp);
    for (RowWindow rows(s, e, top);; rows.Next()) {
        rows.Outline(s, pen);
        if (rows.y() == bottom) break;
    }
}

namespace {

// Whether the band between the shrunk and the grown ellipse is at least a
// pixel thick everywhere, so that it holds ellipse-thin of the box's ellipse
// already. The band between ellipses with semi-axes offset by w / 2 pixels
// is at least (w / 2) (b' / a') thick, a' >= b' being the shrunk ellipse's
// semi-axes (the boundary moves outward at a normal speed of at least b'/a').
bool RingHoldsThinOutline(const EllipseShape& e, i64 w) {
    const i64 big = std::max(e.a, e.b) - w, small = std::min(e.a, e.b) - w;
    if (small <= 0) return true; // no hole: the ring is the whole grown ellipse
    return i128(w) * small >= 2 * i128(big);
}

} // namespace

void EllipseRing(const Surface& s, Color color, const EllipseShape& e, int width) {
    const i64 w = std::clamp<i64>(width, 1, kCoordLimit);
    const EllipseShape outer{e.cx, e.cy, e.a + w, e.b + w};
    const EllipseShape inner{e.cx, e.cy, e.a - w, e.b - w};
    int top, bottom;
    if (s.Empty() || !EllipseRows(s, outer, top, bottom)) return;
    const Paint pen = Paint::Solid(color, s.bpp);
    // The ring's pixels on row y, given the row's span of the hole.
    auto fillRingRow = [&](int y, const Span& i) {
        const Span o = EllipseRow(outer, y, s.width);
        if (i.Empty()) {
            pen.FillSpan(s, y, o.x0, o.x1);
        } else {
            pen.FillSpan(s, y, o.x0, i.x0);
            pen.FillSpan(s, y, i.x1, o.x1);
        }
    };
    if (RingHoldsThinOutline(e, w)) {
        // Rows whose inner span covers the whole surface show none of the
        // ring. Those rows are contiguous around the centre (the spans are
        // nested, growing toward the centre row), so the ring is walked in
        // from the top and from the bottom, each walk stopping at the first
        // covered row: the many rings that lie mostly off the picture cost
        // only their visible rows.
        auto paintUnlessCovered = [&](int y) {
            const Span i = EllipseRow(inner, y, s.width);
            if (i.x0 == 0 && i.x1 == s.width) return false;
            fillRingRow(y, i);
            return true;
        };
        int y = top;
        while (y <= bottom && paintUnlessCovered(y)) ++y;
        for (int z = bottom; z > y && paintUnlessCovered(z); --z) {
        }
        return;
    }
    // A very flat ellipse makes the band thinner than a pixel in places; the
    // thin outline of the box's ellipse keeps the ring closed there.
    for (RowWindow path(s, e, top);; path.Next()) {
        fillRingRow(path.y(), EllipseRow(inner, path.y(), s.width));
        path.Outline(s, pen);
        if (path.y() == bottom) break;
    }
}

// ------------------------------------------------------------- polygon-fill

void FillPolygon(const Surface& s, const Paint& paint, std::span<const Point> points) {
    if (paint.None() || s.Empty() || points.size() < 3) return;
    struct Edge {
        i64 x0, y0, x1, y1; // y0 < y1
    };
    std::vector<Edge> edges;
    edges.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % points.size()];
        i64 x0 = ClampCoord(p.x), y0 = ClampCoord(p.y), x1 = ClampCoord(q.x), y1 = ClampCoord(q.y);
        if (y0 == y1) continue;
        if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
        edges.push_back({x0, y0, x1, y1});
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    i64 yMax = edges.front().y1;
    for (const Edge& e : edges) yMax = std::max(yMax, e.y1);
    const i64 top = std::max<i64>(edges.front().y0, 0);
    const i64 bottom = std::min<i64>(yMax - 1, s.height - 1);

    // An edge crossing the current row: x is the first pixel at or right of
    // the crossing, ceil(x0 + (y - y0) dx / dy), and r = x dy - (x0 dy +
    // (y - y0) dx) in [0, dy) carries the exact remainder from row to row.
    // Coordinates are clamped to +-2^24, so every field fits 32 bits; the
    // small record keeps the per-row passes over thousands of crossings (a
    // torn edge's zigzag) cheap.
    struct Crossing {
        std::int32_t x, r;
        std::int32_t xStep, rStep; // floor(dx / dy) and dx - xStep dy
        std::int32_t dy, yEnd;     // the edge's height and its first row below
    };
    auto start = [](const Edge& e, i64 y) {
        const i64 dx = e.x1 - e.x0, dy = e.y1 - e.y0;
        const i64 num = e.x0 * dy + (y - e.y0) * dx;
        const i64 x = CeilDiv(num, dy), xStep = FloorDiv(dx, dy);
        return Crossing{std::int32_t(x),     std::int32_t(x * dy - num),
                        std::int32_t(xStep), std::int32_t(dx - xStep * dy),
                        std::int32_t(dy),    std::int32_t(e.y1)};
    };
    auto byX = [](const Crossing& a, const Crossing& b) { return a.x < b.x; };

    // The active crossings stay sorted by x: from one row to the next they
    // move little, so an insertion sort restores the order, and edges that
    // start on the row are sorted apart and merged in. The buffers are sized
    // for every edge up front, so a zigzag of thousands of edges costs no
    // allocation per row.
    std::vector<Crossing> active, fresh;
    active.reserve(edges.size());
    fresh.reserve(edges.size());
    const std::uint8_t* solid = paint.SolidColour();
    std::size_t next = 0;
    for (i64 y = top; y <= bottom; ++y) {
        if (y > top) {
            // Branch-free: the carry comes at irregular rows.
            for (Crossing& c : active) {
                c.r -= c.rStep;
                const std::int32_t carry = c.r < 0 ? 1 : 0;
                c.x += c.xStep + carry;
                c.r += carry * c.dy;
            }
        }
        std::erase_if(active, [y](const Crossing& c) { return c.yEnd <= y; });
        for (std::size_t i = 1; i < active.size(); ++i) {
            if (!(active[i].x < active[i - 1].x)) continue;
            const Crossing moving = active[i];
            std::size_t j = i;
            for (; j > 0 && moving.x < active[j - 1].x; --j) active[j] = active[j - 1];
            active[j] = moving;
        }
        fresh.clear();
        for (; next < edges.size() && edges[next].y0 <= y; ++next)
            if (edges[next].y1 > y) fresh.push_back(start(edges[next], y));
        if (!fresh.empty()) {
            // Merged in place from the back: only the crossings right of
            // the leftmost new one move.
            std::sort(fresh.begin(), fresh.end(), byX);
            std::size_t i = active.size(), j = fresh.size();
            active.resize(i + j);
            for (std::size_t k = active.size(); j > 0;) {
                if (i > 0 && fresh[j - 1].x < active[i - 1].x)
                    active[--k] = active[--i];
                else
                    active[--k] = fresh[--j];
            }
        }
        // alternate-rule: pairs of crossings bound the spans; spans that
        // touch are filled as one.
        std::uint8_t* row = solid && y >= 0 && y < s.height ? s.Row(int(y)) : nullptr;
        for (std::size_t i = 0; i + 1 < active.size();) {
            std::int32_t x0 = active[i].x, x1 = active[i + 1].x;
            i += 2;
            while (i + 1 < active.size() && active[i].x == x1) {
                x1 = active[i + 1].x;
                i += 2;
            }
            if (!row) {
                paint.FillSpan(s, int(y), x0, x1);
                continue;
            }
            // A plain colour: the many short spans of a jagged edge are
            // written here, without a call each.
            x0 = std::max(x0, 0);
            x1 = std::min(x1, s.width);
            if (x0 < x1)
                FillPixels(row + std::size_t(x0) * std::size_t(s.bpp), x1 - x0, solid, s.bpp);
        }
    }
}

} // namespace raster

} // namespace quillon
