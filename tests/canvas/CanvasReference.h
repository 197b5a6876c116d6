// Plain per-pixel versions of the canvas rules, for comparison with the span
// and column-map code. Each one visits every pixel of the bitmap (or walks a
// line one step at a time) and decides it on its own, so they are slow and
// obviously follow docs/pixel-rules.md.
#pragma once

#include "canvas/Bitmap.h"

#include <optional>
#include <span>

namespace quillon {

namespace ref {

// What a fill writes at (x, y): a colour, or nothing (BrushStyle::Clear).
struct Fill {
    std::optional<Color> colour;     // plain colour
    const Bitmap* pattern = nullptr; // tiled from (0, 0); wins over colour
    std::optional<Color> At(int x, int y) const;
};

// thin-line, end excluded, by the textbook error-term loop.
void Line(Bitmap& b, Color c, int x0, int y0, int x1, int y1);
// wide-pen capsule.
void WideLine(Bitmap& b, Color c, int x0, int y0, int x1, int y1, int width);
// A pen stroke of any width (thin-line for 0 and 1).
void Stroke(Bitmap& b, Color c, int width, int x0, int y0, int x1, int y1);

// Ellipse with brush and pen (box already in order, non-empty).
void Ellipse(Bitmap& b, const Fill& brush, Color pen, int penWidth, int x1, int y1, int x2, int y2);
// polygon-fill then the closed outline.
void Polygon(Bitmap& b, const Fill& brush, Color pen, int penWidth, std::span<const Point> points);
// Rectangle with brush and pen (in order, non-empty).
void Rectangle(Bitmap& b, const Fill& brush, Color pen, int penWidth, int x1, int y1, int x2,
               int y2);
// flood-fill by a breadth-first search over a copy of the picture.
void FloodFill(Bitmap& b, const Fill& brush, int x, int y, Color color, bool surface);
// stretch-pick, one destination pixel at a time.
void StretchDraw(Bitmap& b, int l, int t, int r, int bt, const Bitmap& src);

} // namespace ref

} // namespace quillon
