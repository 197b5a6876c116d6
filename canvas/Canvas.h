// TCanvas, TPen and TBrush: the drawing state of one bitmap and the raster
// operations the frame styles draw with. The exact pixels each operation
// touches are written down in docs/pixel-rules.md; comments name those rules.
//
// Drawing works on bitmaps of 24 or 32 bits per pixel (pfDevice included);
// an indexed bitmap is converted to pfDevice before the first drawing
// operation touches it. Everything outside the bitmap is clipped.
#pragma once

#include "canvas/Types.h"

#include <memory>
#include <span>
#include <vector>

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

enum class TFillStyle { fsBorder, fsSurface };
using enum TFillStyle;

enum class TCopyMode { cmSrcCopy };
using enum TCopyMode;

class TPen {
public:
    TColor Color = clBlack;
    int Width() const { return width_; }
    // A negative width is ignored; 0 draws like 1.
    void SetWidth(int w) {
        if (w >= 0) width_ = w;
    }

private:
    int width_ = 1;
};

// The brush's reset rules (pattern-serves-following-fills):
// - SetBitmap sets the pattern, resets Color to white and Style to bsSolid;
// - SetColor removes the pattern and turns bsClear into bsSolid;
// - SetStyle(bsClear) removes the pattern and sets Color to white.
class TBrush {
public:
    TBrush();
    ~TBrush();
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    // Takes a private 32-bit copy of the pattern, so the caller's bitmap may
    // change or go afterwards. A null or empty bitmap removes the pattern.
    void SetBitmap(const TBitmap* pattern);
    // The pattern (pf32bit) or null.
    const TBitmap* Bitmap() const { return pattern_.get(); }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    std::unique_ptr<TBitmap> pattern_;
};

class TCanvas {
public:
    explicit TCanvas(TBitmap& owner) : bitmap_(owner) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TCopyMode CopyMode = cmSrcCopy;
    TPoint PenPos;

    TBitmap& Bitmap() { return bitmap_; }

    // Draws graphic unscaled with its top-left pixel at (x, y).
    void Draw(int x, int y, const TBitmap& graphic);
    // Nearest-neighbour stretch of graphic over exactly the pixels of rect;
    // a transparent graphic leaves the destination under its transparent
    // pixels untouched.
    void StretchDraw(const TRect& rect, const TBitmap& graphic);
    // Copies sourceRect of source into destRect (stretched by the same rule);
    // source may be this canvas and the rectangles may overlap.
    void CopyRect(const TRect& destRect, TCanvas& source, const TRect& sourceRect);

    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FloodFill(int x, int y, TColor color, TFillStyle style);

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

private:
    TBitmap& bitmap_;
};
