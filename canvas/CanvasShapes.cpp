// Lines and shapes of Canvas. Fills use the brush (nothing for BrushStyle::Clear),
// outlines the pen; the pixels follow docs/pixel-rules.md.
#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/Raster.h"

#include <algorithm>
#include <utility>

namespace quillon {

using raster::ClampCoord;
using raster::i64;

namespace {

int PenWidth(const Pen& pen) {
    return std::max(pen.Width(), 1); // pen-zero: width 0 draws like 1
}

// One pen stroke from a to b: thin-line (end excluded) or wide-pen capsule.
void Stroke(const raster::Surface& s, const Pen& pen, Point a, Point b) {
    const i64 x0 = ClampCoord(a.x), y0 = ClampCoord(a.y);
    const i64 x1 = ClampCoord(b.x), y1 = ClampCoord(b.y);
    const int w = PenWidth(pen);
    const Color colour = pen.color & 0xFFFFFF;
    if (w == 1)
        raster::ThinLine(s, colour, x0, y0, x1, y1);
    else
        raster::FillCapsule(s, colour, raster::MakeCapsule(x0, y0, x1, y1, w));
}

// Strokes consecutive points, and back to the first when closed.
void StrokePath(const raster::Surface& s, const Pen& pen, std::span<const Point> points,
                bool closed) {
    if (points.empty()) return;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) Stroke(s, pen, points[i], points[i + 1]);
    if (closed && points.size() > 1) Stroke(s, pen, points.back(), points.front());
}

// frame-rect: the outermost pixels of x1 .. x2-1, y1 .. y2-1 (non-empty).
void OutlineRect(const raster::Surface& s, const raster::Paint& paint, i64 x1, i64 y1, i64 x2,
                 i64 y2) {
    if (y1 >= 0 && y1 < s.height) paint.FillSpan(s, int(y1), x1, x2);
    if (y2 - 1 != y1 && y2 - 1 >= 0 && y2 - 1 < s.height) paint.FillSpan(s, int(y2 - 1), x1, x2);
    const i64 top = std::max<i64>(y1 + 1, 0), bottom = std::min<i64>(y2 - 1, s.height);
    for (i64 y = top; y < bottom; ++y) {
        paint.FillSpan(s, int(y), x1, x1 + 1);
        if (x2 - 1 != x1) paint.FillSpan(s, int(y), x2 - 1, x2);
    }
}

} // namespace

void Canvas::MoveTo(int x, int y) {
    PenPos = {x, y};
}

void Canvas::LineTo(int x, int y) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    Stroke(s, pen, PenPos, {x, y});
    PenPos = {x, y};
}

void Canvas::Polyline(std::span<const Point> points) {
    StrokePath(raster::PrepareSurface(bitmap_), pen, points, false);
}

void Canvas::Polygon(std::span<const Point> points) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    raster::FillPolygon(s, raster::Paint::FromBrush(brush, s.bpp), points);
    StrokePath(s, pen, points, true);
}

void Canvas::FillRect(const Rect& rect) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    const raster::Paint paint = raster::Paint::FromBrush(brush, s.bpp);
    if (paint.None() || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, s.height);
    for (int y = top; y < bottom; ++y) paint.FillSpan(s, y, rect.Left, rect.Right);
}

void Canvas::FillRectWithPen(const Rect& rect) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    const raster::Paint paint = raster::Paint::Solid(pen.color & 0xFFFFFF, s.bpp);
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, s.height);
    for (int y = top; y < bottom; ++y) paint.FillSpan(s, y, rect.Left, rect.Right);
}

void Canvas::FrameRect(const Rect& rect) {
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    const raster::Paint paint = raster::Paint::FromBrush(brush, s.bpp);
    if (paint.None() || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    OutlineRect(s, paint, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    // rect-cover: the brush fills x1 .. x2-1, y1 .. y2-1; the pen's path runs
    // through the outermost pixel centres of that area.
    const raster::Paint paint = raster::Paint::FromBrush(brush, s.bpp);
    const int top = std::max(y1, 0), bottom = std::min(y2, s.height);
    for (int y = top; y < bottom; ++y) paint.FillSpan(s, y, x1, x2);

    const Color colour = pen.color & 0xFFFFFF;
    if (PenWidth(pen) == 1) {
        const raster::Paint pen = raster::Paint::Solid(colour, s.bpp);
        OutlineRect(s, pen, x1, y1, x2, y2);
        return;
    }
    const Point corners[4] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}};
    StrokePath(s, pen, corners, true);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    i64 l = ClampCoord(x1), t = ClampCoord(y1), r = ClampCoord(x2), b = ClampCoord(y2);
    if (l > r) std::swap(l, r); // a box given right-to-left is the same box
    if (t > b) std::swap(t, b);
    if (l == r || t == b) return;
    const raster::Surface s = raster::PrepareSurface(bitmap_);
    const raster::EllipseShape e{l + r, t + b, r - l, b - t};
    raster::FillEllipse(s, raster::Paint::FromBrush(brush, s.bpp), e);
    const int w = PenWidth(pen);
    if (w == 1)
        raster::ThinEllipseOutline(s, pen.color & 0xFFFFFF, e);
    else
        raster::EllipseRing(s, pen.color & 0xFFFFFF, e, w);
}

} // namespace quillon
