// Internal span helpers of the canvas layer: the drawing target, the fill
// source (plain colour or tiled pattern), and the exact pixel predicates with
// their per-row span solvers. Rule names in comments refer to
// docs/pixel-rules.md.
//
// Geometry works in "doubled" coordinates so that every rule is an exact
// integer test: pixel (x, y) has its centre at (2x + 1, 2y + 1), the edges
// between pixels lie on even coordinates. Shape coordinates are clamped to
// +-kCoordLimit first (coord-limit), which keeps every product below 2^110.
#pragma once

#include "canvas/Types.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace quillon {

class Bitmap;
class Brush;

namespace raster {

using i64 = std::int64_t;
using i128 = __int128;

// Shape coordinates beyond this are clamped (coord-limit).
constexpr i64 kCoordLimit = i64(1) << 24;
i64 ClampCoord(i64 v);

// The pixels of a 24- or 32-bit bitmap, ready for row-wise writing.
struct Surface {
    std::uint8_t* bits = nullptr;
    std::size_t stride = 0;
    int width = 0;
    int height = 0;
    int bpp = 4;

    std::uint8_t* Row(int y) const { return bits + std::size_t(y) * stride; }
    bool Empty() const { return width <= 0 || height <= 0; }
};

// Converts an indexed bitmap to PixelFormat::Device, then describes its pixels.
Surface PrepareSurface(Bitmap& bitmap);

// A half-open run of pixels [x0, x1) on one row.
struct Span {
    int x0 = 0;
    int x1 = 0;
    bool Empty() const { return x1 <= x0; }
};

// What a fill writes: a plain colour, or a pattern tiled from the target's
// pixel (0, 0) (pattern-tiling). Converted to the target's pixel layout once,
// so filling a span is a row copy.
class Paint {
public:
    // Nothing: fills through it leave the target alone (BrushStyle::Clear brush).
    Paint() = default;
    static Paint Solid(Color color, int bpp);
    // The brush as a fill source: its pattern when it has one, its colour
    // otherwise, nothing when its style is BrushStyle::Clear.
    static Paint FromBrush(const Brush& brush, int bpp);

    bool None() const { return kind_ == Kind::None; }
    // Fills [x0, x1) of row y; clips to the surface.
    void FillSpan(const Surface& s, int y, i64 x0, i64 x1) const;
    // The pixel bytes of a plain colour in the surface's layout, or null
    // for a pattern or no fill.
    const std::uint8_t* SolidColour() const { return kind_ == Kind::Solid ? colour_ : nullptr; }

private:
    enum class Kind { None, Solid, Pattern };
    Kind kind_ = Kind::None;
    int bpp_ = 4;
    std::uint8_t colour_[4] = {0, 0, 0, 0};
    // The pattern in the target's layout, each row repeated to at least
    // kMinPatternRun pixels so a span is filled with few copies.
    std::vector<std::uint8_t> pattern_;
    int patternWidth_ = 0;  // width of one tile
    int patternHeight_ = 0; // rows of the tile
    int rowPixels_ = 0;     // pixels stored per pattern row (whole tiles)
};

// Writes one pixel of colour (clipped).
void PutPixel(const Surface& s, int x, int y, Color color);

// --- thin-line: Bresenham from a to b, excluding b (clipped). ---------------
// Visits pixel k = 0 .. n-1 of the line with the major coordinate a + k and
// the minor coordinate a + floor((2 k dminor + dmajor - 1) / (2 dmajor)).
void ThinLine(const Surface& s, Color color, i64 x0, i64 y0, i64 x1, i64 y1);

// --- wide-pen: capsule of a pen of width w round segment a-b. --------------
// Pixel centre C is covered when its distance to the segment, in doubled
// coordinates, is below w; the segment runs through the pixel centres of a
// and b for odd w, through their top-left corners for even w.
struct Capsule {
    i64 ax, ay, bx, by; // doubled, already offset for the pen parity
    i64 w;
};
Capsule MakeCapsule(i64 x0, i64 y0, i64 x1, i64 y1, int width);
bool InCapsule(const Capsule& c, i64 px, i64 py); // pixel (px, py)
// Pixels of row y inside the capsule (an interval, the capsule is convex).
Span CapsuleRow(const Capsule& c, int y, int clipWidth);
// Paints the capsule with colour, row by row.
void FillCapsule(const Surface& s, Color color, const Capsule& c);

// --- ellipse-fill: pixel centres strictly inside the ellipse that touches
// the edges of its box (doubled semi-axes a = x2 - x1, b = y2 - y1). --------
struct EllipseShape {
    i64 cx, cy; // doubled centre: x1 + x2, y1 + y2
    i64 a, b;   // doubled semi-axes; a <= 0 or b <= 0 is empty
};
bool InEllipse(const EllipseShape& e, i64 px, i64 py);
Span EllipseRow(const EllipseShape& e, int y, int clipWidth);

// Paints the pixels of ellipse-fill with paint.
void FillEllipse(const Surface& s, const Paint& paint, const EllipseShape& e);
// ellipse-thin: the pixels of ellipse-fill that have a 4-neighbour outside it.
void ThinEllipseOutline(const Surface& s, Color color, const EllipseShape& e);
// ellipse-ring: inside the ellipse grown by the pen and not inside the one
// shrunk by it (doubled semi-axes a + w, b + w and a - w, b - w).
void EllipseRing(const Surface& s, Color color, const EllipseShape& e, int width);

// --- polygon-fill: even-odd rule sampled at pixel centres, vertices at
// pixel centres; an edge counts for rows ymin <= y < ymax and a crossing at
// x covers pixels from ceil(x). ----------------------------------------------
void FillPolygon(const Surface& s, const Paint& paint, std::span<const Point> points);

} // namespace raster

} // namespace quillon
