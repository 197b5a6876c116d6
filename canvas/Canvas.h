// Canvas, Pen and Brush: the drawing state of one bitmap and the raster
// operations the frame styles draw with. The exact pixels each operation
// touches are written down in docs/pixel-rules.md; comments name those rules.
//
// Drawing works on bitmaps of 24 or 32 bits per pixel (PixelFormat::Device included);
// an indexed bitmap is converted to PixelFormat::Device before the first drawing
// operation touches it. Everything outside the bitmap is clipped.
#pragma once

#include "canvas/Types.h"

#include <memory>
#include <span>
#include <vector>

namespace quillon {

class Bitmap;

enum class BrushStyle { Solid, Clear };

enum class FillStyle { Border, Surface };

enum class CopyMode { SourceCopy };

class Pen {
public:
    Color color = kBlack;
    int Width() const { return width_; }
    // A negative width is ignored; 0 draws like 1.
    void SetWidth(int w) {
        if (w >= 0) width_ = w;
    }

private:
    int width_ = 1;
};

// The brush's reset rules (pattern-serves-following-fills):
// - SetBitmap sets the pattern, resets Color to white and Style to BrushStyle::Solid;
// - SetColor removes the pattern and turns BrushStyle::Clear into BrushStyle::Solid;
// - SetStyle(BrushStyle::Clear) removes the pattern and sets Color to white.
class Brush {
public:
    Brush();
    ~Brush();
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;

    Color color() const { return color_; }
    void SetColor(Color c);
    BrushStyle Style() const { return style_; }
    void SetStyle(BrushStyle s);
    // Takes a private 32-bit copy of the pattern, so the caller's bitmap may
    // change or go afterwards. A null or empty bitmap removes the pattern.
    void SetBitmap(const Bitmap* pattern);
    // The pattern (PixelFormat::Bgrx32) or null.
    const Bitmap* pattern() const { return pattern_.get(); }

private:
    Color color_ = kWhite;
    BrushStyle style_ = BrushStyle::Solid;
    std::unique_ptr<Bitmap> pattern_;
};

class Canvas {
public:
    explicit Canvas(Bitmap& owner) : bitmap_(owner) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Pen pen;
    Brush brush;
    CopyMode copyMode = CopyMode::SourceCopy;
    Point PenPos;

    Bitmap& bitmap() { return bitmap_; }

    // Draws graphic unscaled with its top-left pixel at (x, y).
    void Draw(int x, int y, const Bitmap& graphic);
    // Nearest-neighbour stretch of graphic over exactly the pixels of rect;
    // a transparent graphic leaves the destination under its transparent
    // pixels untouched.
    void StretchDraw(const Rect& rect, const Bitmap& graphic);
    // Copies sourceRect of source into destRect (stretched by the same rule);
    // source may be this canvas and the rectangles may overlap.
    void CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect);

    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const Rect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const Rect& rect);
    // Fills rect with the pen's colour, every pixel as a one-pixel pen line
    // over it would draw it; the brush is not used.
    void FillRectWithPen(const Rect& rect);
    void FrameRect(const Rect& rect);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(std::span<const Point> points);
    void Polyline(std::span<const Point> points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FloodFill(int x, int y, Color color, FillStyle style);

    Color Pixel(int x, int y) const;
    void SetPixel(int x, int y, Color color);

private:
    Bitmap& bitmap_;
};

} // namespace quillon
