// TBitmap: a rectangular raster with a drawing canvas.
//
// Rows are stored top-down and tightly packed. Pixel formats:
//   pfDevice - the screen's own format: 4 bytes per pixel (blue, green, red,
//              unused), what a new bitmap and a clipboard bitmap have;
//   pf32bit  - 4 bytes per pixel, blue, green, red, then a byte without colour;
//   pf24bit  - 3 bytes per pixel, blue, green, red;
//   pf1bit, pf4bit, pf8bit - indexed: one byte per pixel holding a palette
//              index (the bit count says how many colours the palette may
//              have, and how a Windows bitmap or GIF writer packs it).
// Setting PixelFormat converts the content keeping every pixel's colour (a
// conversion to an indexed format maps each pixel to the nearest palette
// colour). Resizing keeps the top-left part that still fits; new pixels are
// black. A failed resize (over the size limit) leaves the bitmap unchanged.
#pragma once

#include "canvas/PixelAllocator.h"
#include "canvas/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCanvas;

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
using enum TPixelFormat;

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    void SetSize(int w, int h);

    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);
    // Bytes per pixel of the storage: 4, 3 or 1 (indexed formats).
    int BytesPerPixel() const { return BytesPerPixelOf(format_); }
    static int BytesPerPixelOf(TPixelFormat format);
    bool IsIndexed() const { return format_ == pf1bit || format_ == pf4bit || format_ == pf8bit; }
    std::size_t Stride() const { return std::size_t(width_) * std::size_t(BytesPerPixel()); }

    std::uint8_t* ScanLine(int y) { return data_.data() + std::size_t(y) * Stride(); }
    const std::uint8_t* ScanLine(int y) const { return data_.data() + std::size_t(y) * Stride(); }
    std::uint8_t* Bits() { return data_.data(); }
    const std::uint8_t* Bits() const { return data_.data(); }

    // Palette of the indexed formats, as colour values (red in the low byte).
    std::vector<TColor>& Palette() { return palette_; }
    const std::vector<TColor>& Palette() const { return palette_; }

    TCanvas& Canvas();

    bool Transparent = false;
    TColor TransparentColor = clWhite;

    // Makes this bitmap an independent copy of source's picture (size,
    // format, palette, pixels). The canvas state is kept.
    void Assign(const TBitmap& source);
    // Exchanges the pictures (size, format, palette, pixels) of two bitmaps.
    void SwapPicture(TBitmap& other) noexcept;

    // The colour of one pixel, whatever the format; slow, for tests and
    // occasional reads. Out-of-range coordinates read as black and are
    // ignored on write.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

private:
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pfDevice;
    TPixelBuffer data_;
    std::vector<TColor> palette_;
    std::unique_ptr<TCanvas> canvas_;
};

// Index of the palette entry nearest to colour (sum of squared differences).
int NearestPaletteIndex(const std::vector<TColor>& palette, TColor color);
