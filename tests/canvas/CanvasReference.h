// Plain per-pixel versions of the canvas rules, for comparison with the span
// and column-map code. Each one visits every pixel of the bitmap (or walks a
// line one step at a time) and decides it on its own, so they are slow and
// obviously follow docs/pixel-rules.md.
#pragma once

#include "canvas/Bitmap.h"

#include <optional>
#include <span>

namespace ref {

// What a fill writes at (x, y): a colour, or nothing (bsClear).
struct Fill {
    std::optional<TColor> colour;     // plain colour
    const TBitmap* pattern = nullptr; // tiled from (0, 0); wins over colour
    std::optional<TColor> At(int x, int y) const;
};

// thin-line, end excluded, by the textbook error-term loop.
void Line(TBitmap& b, TColor c, int x0, int y0, int x1, int y1);
// wide-pen capsule.
void WideLine(TBitmap& b, TColor c, int x0, int y0, int x1, int y1, int width);
// A pen stroke of any width (thin-line for 0 and 1).
void Stroke(TBitmap& b, TColor c, int width, int x0, int y0, int x1, int y1);

// Ellipse with brush and pen (box already in order, non-empty).
void Ellipse(TBitmap& b, const Fill& brush, TColor pen, int penWidth, int x1, int y1, int x2,
             int y2);
// polygon-fill then the closed outline.
void Polygon(TBitmap& b, const Fill& brush, TColor pen, int penWidth,
             std::span<const TPoint> points);
// Rectangle with brush and pen (in order, non-empty).
void Rectangle(TBitmap& b, const Fill& brush, TColor pen, int penWidth, int x1, int y1, int x2,
               int y2);
// flood-fill by a breadth-first search over a copy of the picture.
void FloodFill(TBitmap& b, const Fill& brush, int x, int y, TColor color, bool surface);
// stretch-pick, one destination pixel at a time.
void StretchDraw(TBitmap& b, int l, int t, int r, int bt, const TBitmap& src);

} // namespace ref
