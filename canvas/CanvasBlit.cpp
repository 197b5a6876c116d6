// Draw, StretchDraw and CopyRect: nearest-neighbour copies between bitmaps
// (stretch-pick). The source column of every destination column is worked
// out once per call (a column map), then each destination row is a loop
// over that map, or a plain row copy when nothing is scaled.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"
#include "canvas/RowBands.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace quillon {

using raster::i64;

namespace {

struct Rect64 {
    i64 l, t, r, b;
};

// stretch-pick: destination offset d of n covers source offset
// floor((2d + 1) * m / (2n)) of m, the source pixel under its centre.
i64 Pick(i64 d, i64 n, i64 m) {
    return i64((2 * raster::i128(d) + 1) * m / (2 * raster::i128(n)));
}

// The first destination offset whose pick is at least s (picks grow with d).
i64 FirstPickAtLeast(i64 s, i64 n, i64 m) {
    // (2d + 1) m >= 2 n s  <=>  d >= (2 n s - m) / (2 m)
    const raster::i128 num = 2 * raster::i128(n) * s - m;
    if (num <= 0) return 0;
    const raster::i128 d = (num + 2 * raster::i128(m) - 1) / (2 * raster::i128(m));
    return d > n ? n : i64(d);
}

// The destination offsets [lo, hi) on one axis that are inside the target
// (0 .. limit) and whose source pixel is inside the source (0 .. srcLimit).
bool VisibleRange(i64 dstStart, i64 n, i64 srcStart, i64 m, i64 limit, i64 srcLimit, i64& lo,
                  i64& hi) {
    lo = std::max<i64>(0, -dstStart);
    hi = std::min<i64>(n, limit - dstStart);
    // Source offsets must lie in [-srcStart, srcLimit - srcStart).
    lo = std::max(lo, FirstPickAtLeast(-srcStart, n, m));
    hi = std::min(hi, FirstPickAtLeast(srcLimit - srcStart, n, m));
    return lo < hi;
}

// Reads source pixels as B, G, R whatever their layout.
struct Source {
    const Bitmap* bitmap;
    int bpp;                                 // 1 (indexed), 3 or 4
    std::array<std::uint8_t, 256 * 4> lut{}; // palette as B, G, R, 0
};

void InitSource(Source& src, const Bitmap& b) {
    src.bitmap = &b;
    src.bpp = b.BytesPerPixel();
    if (b.IsIndexed()) {
        const auto& pal = b.Palette();
        for (std::size_t i = 0; i < 256; ++i) {
            const Color c = i < pal.size() ? pal[i] : kBlack;
            src.lut[4 * i] = GetBValue(c);
            src.lut[4 * i + 1] = GetGValue(c);
            src.lut[4 * i + 2] = GetRValue(c);
        }
    }
}

// One destination row from one source row through the column map.
template <int SB, int DB, bool Transparent>
void MapRow(std::uint8_t* dst, const std::uint8_t* srow, const i64* cols, i64 n, const Source& src,
            const std::uint8_t key[3]) {
    for (i64 i = 0; i < n; ++i, dst += DB) {
        const std::uint8_t* p = SB == 1 ? &src.lut[4 * srow[cols[i]]] : srow + cols[i] * SB;
        if constexpr (Transparent) {
            if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
        }
        if constexpr (DB == 4 && (SB == 4 || SB == 1)) {
            std::memcpy(dst, p, 4);
        } else {
            dst[0] = p[0];
            dst[1] = p[1];
            dst[2] = p[2];
            if constexpr (DB == 4) dst[3] = 0;
        }
    }
}

using RowFn = void (*)(std::uint8_t*, const std::uint8_t*, const i64*, i64, const Source&,
                       const std::uint8_t*);

template <bool T> RowFn PickRowFn(int sb, int db) {
    if (db == 4) {
        if (sb == 4) return MapRow<4, 4, T>;
        if (sb == 3) return MapRow<3, 4, T>;
        return MapRow<1, 4, T>;
    }
    if (sb == 4) return MapRow<4, 3, T>;
    if (sb == 3) return MapRow<3, 3, T>;
    return MapRow<1, 3, T>;
}

// Copies srcRect of src over dstRect of the surface by stretch-pick,
// skipping source pixels of colour key when transparent is set. Source
// pixels outside src leave their destination pixels alone.
void Blit(const raster::Surface& s, Rect64 dst, const Bitmap& srcBitmap, Rect64 srcRect,
          bool transparent, Color key) {
    const i64 dw = dst.r - dst.l, dh = dst.b - dst.t;
    const i64 sw = srcRect.r - srcRect.l, sh = srcRect.b - srcRect.t;
    if (s.Empty() || srcBitmap.Empty() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    i64 cx0, cx1, cy0, cy1;
    if (!VisibleRange(dst.l, dw, srcRect.l, sw, s.width, srcBitmap.Width(), cx0, cx1)) return;
    if (!VisibleRange(dst.t, dh, srcRect.t, sh, s.height, srcBitmap.Height(), cy0, cy1)) return;

    Source src;
    InitSource(src, srcBitmap);
    const std::uint8_t keyBytes[3] = {GetBValue(key), GetGValue(key), GetRValue(key)};
    const i64 n = cx1 - cx0;
    std::vector<i64> cols(static_cast<std::size_t>(n));
    for (i64 i = 0; i < n; ++i) cols[std::size_t(i)] = srcRect.l + Pick(cx0 + i, dw, sw);
    // Unscaled columns with the same layout are one copy per row.
    const bool straight = !transparent && sw == dw && src.bpp == s.bpp;
    const RowFn rowFn =
        transparent ? PickRowFn<true>(src.bpp, s.bpp) : PickRowFn<false>(src.bpp, s.bpp);

    const std::size_t dstBytes = std::size_t(n) * std::size_t(s.bpp);
    const auto copyRows = [&](int, int firstRow, int endRow) {
        i64 lastSrcRow = -1;
        std::uint8_t* lastDst = nullptr;
        for (i64 dy = firstRow; dy < endRow; ++dy) {
            const i64 sy = srcRect.t + Pick(dy, dh, sh);
            std::uint8_t* d =
                s.Row(int(dst.t + dy)) + std::size_t(dst.l + cx0) * std::size_t(s.bpp);
            if (!transparent && sy == lastSrcRow) {
                std::memcpy(d, lastDst, dstBytes); // an enlarged row repeats
                continue;
            }
            const std::uint8_t* srow = srcBitmap.ScanLine(int(sy));
            if (straight)
                std::memcpy(d, srow + std::size_t(cols[0]) * std::size_t(src.bpp), dstBytes);
            else
                rowFn(d, srow, cols.data(), n, src, keyBytes);
            lastSrcRow = sy;
            lastDst = d;
        }
    };
    // A large plain copy between two pictures is shared among the cores; a
    // picture drawn onto itself is copied in order, a row at a time.
    const std::uint8_t* dstFirst = s.Row(0);
    const std::uint8_t* dstEnd = s.Row(s.height - 1) + std::size_t(s.width) * std::size_t(s.bpp);
    const std::uint8_t* srcFirst = srcBitmap.ScanLine(0);
    const std::uint8_t* srcEnd = srcBitmap.ScanLine(srcBitmap.Height() - 1) + srcBitmap.Stride();
    const bool apart = srcEnd <= dstFirst || dstEnd <= srcFirst;
    if (apart && straight)
        ForEachRowBand(int(cy0), int(cy1), dstBytes, 8, copyRows);
    else
        copyRows(0, int(cy0), int(cy1));
}

// A copy of the part of b inside r (clipped), and r moved onto that copy.
void Snapshot(const Bitmap& b, Rect64& r, Bitmap& copy) {
    const i64 l = std::clamp<i64>(r.l, 0, b.Width()), t = std::clamp<i64>(r.t, 0, b.Height());
    const i64 rr = std::clamp<i64>(r.r, l, b.Width()), bb = std::clamp<i64>(r.b, t, b.Height());
    copy.SetPixelFormat(b.format());
    copy.Palette() = b.Palette();
    copy.SetSize(int(rr - l), int(bb - t));
    const std::size_t bpp = std::size_t(b.BytesPerPixel());
    for (i64 y = t; y < bb; ++y)
        std::memcpy(copy.ScanLine(int(y - t)), b.ScanLine(int(y)) + std::size_t(l) * bpp,
                    std::size_t(rr - l) * bpp);
    r.l -= l;
    r.r -= l;
    r.t -= t;
    r.b -= t;
}

// Draws graphic over (l, t, r, b) of target, honouring its transparency.
void StretchInto(Bitmap& target, Rect64 dst, const Bitmap& graphic) {
    const raster::Surface s = raster::PrepareSurface(target);
    Rect64 srcRect{0, 0, graphic.Width(), graphic.Height()};
    if (&graphic == &target) {
        Bitmap copy;
        Snapshot(graphic, srcRect, copy);
        Blit(s, dst, copy, srcRect, graphic.Transparent, graphic.TransparentColor);
        return;
    }
    Blit(s, dst, graphic, srcRect, graphic.Transparent, graphic.TransparentColor);
}

} // namespace

void Canvas::Draw(int x, int y, const Bitmap& graphic) {
    StretchInto(bitmap_, {x, y, i64(x) + graphic.Width(), i64(y) + graphic.Height()}, graphic);
}

void Canvas::StretchDraw(const Rect& rect, const Bitmap& graphic) {
    StretchInto(bitmap_, {rect.Left, rect.Top, rect.Right, rect.Bottom}, graphic);
}

void Canvas::CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    Rect64 srcRect{sourceRect.Left, sourceRect.Top, sourceRect.Right, sourceRect.Bottom};
    const Rect64 dst{destRect.Left, destRect.Top, destRect.Right, destRect.Bottom};
    const Bitmap& src = source.bitmap();
    if (&src == &bitmap_) {
        // The source is read completely before anything is written.
        Bitmap copy;
        Snapshot(src, srcRect, copy);
        Blit(s, dst, copy, srcRect, false, 0);
        return;
    }
    Blit(s, dst, src, srcRect, false, 0);
}

} // namespace quillon
