// Bitmap: a rectangular raster with a drawing canvas.
//
// Rows are stored top-down and tightly packed. Pixel formats:
//   PixelFormat::Device - the screen's own format: 4 bytes per pixel (blue, green, red,
//              unused), what a new bitmap and a clipboard bitmap have;
//   PixelFormat::Bgrx32  - 4 bytes per pixel, blue, green, red, then a byte without colour;
//   PixelFormat::Bgr24  - 3 bytes per pixel, blue, green, red;
//   PixelFormat::Indexed1, PixelFormat::Indexed4, PixelFormat::Indexed8 - indexed: one byte per
//   pixel holding a palette
//              index (the bit count says how many colours the palette may
//              have, and how a Windows bitmap or GIF writer packs it).
// Setting PixelFormat converts the content keeping every pixel's colour (a
// conversion to an indexed format maps each pixel to the nearest palette
// colour). Resizing keeps the top-left part that still fits; new pixels are
// black. A failed resize (over the size limit) leaves the bitmap unchanged.
//
// A copy (Assign) shares the source's pixels until either of the two is
// written: the first writing access (the non-const ScanLine or Bits, a
// canvas, SetPixel, a conversion) gives the written bitmap pixels of its own.
// A photo copied for a frame or an undo step thus costs no memory until it
// changes. A pointer from a writing access stays valid, and private to this
// bitmap, until the next Assign from or to it.
#pragma once

#include "canvas/PixelAllocator.h"
#include "canvas/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class Canvas;

enum class PixelFormat { Device, Indexed1, Indexed4, Indexed8, Bgr24, Bgrx32 };

class Bitmap {
public:
    Bitmap();
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Device);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    void SetSize(int w, int h);
    // Sets the size like SetSize, but for a caller that then paints every
    // pixel: no pixel is kept in place and the content is unspecified. The
    // buffer is reused, and grown with some room to spare, so that a large
    // picture resized a few pixels at a time (a frame edited step by step)
    // is not given a fresh buffer each time, whose first touch page-faults
    // and zeroes tens of megabytes.
    void SetSizeForOverwrite(int w, int h);
    // Makes this a w x h picture of the given format, without a palette, for
    // a caller that then writes every pixel (a decoder, a converting copy):
    // the pixels are left as the memory holds them. The buffer is kept when
    // it is large enough, and is otherwise replaced by one of exactly the
    // picture's size. Throws PictureError over the size limit, changing
    // nothing.
    void MakeForOverwrite(int w, int h, PixelFormat format);

    PixelFormat format() const { return format_; }
    void SetPixelFormat(PixelFormat format);
    // Bytes per pixel of the storage: 4, 3 or 1 (indexed formats).
    int BytesPerPixel() const { return BytesPerPixelOf(format_); }
    static int BytesPerPixelOf(PixelFormat format);
    bool IsIndexed() const {
        return format_ == PixelFormat::Indexed1 || format_ == PixelFormat::Indexed4 ||
               format_ == PixelFormat::Indexed8;
    }
    std::size_t Stride() const { return std::size_t(width_) * std::size_t(BytesPerPixel()); }

    std::uint8_t* ScanLine(int y) { return WritableBits() + std::size_t(y) * Stride(); }
    const std::uint8_t* ScanLine(int y) const { return ReadBits() + std::size_t(y) * Stride(); }
    std::uint8_t* Bits() { return WritableBits(); }
    const std::uint8_t* Bits() const { return ReadBits(); }
    // Whether the two bitmaps hold the same pixel memory (one was copied
    // from the other and neither has been written since).
    bool SharesPixelsWith(const Bitmap& other) const {
        return data_ != nullptr && data_ == other.data_;
    }

    // Palette of the indexed formats, as colour values (red in the low byte).
    std::vector<Color>& Palette() { return palette_; }
    const std::vector<Color>& Palette() const { return palette_; }

    Canvas& canvas();

    bool Transparent = false;
    Color TransparentColor = kWhite;

    // Makes this bitmap an independent copy of source's picture (size,
    // format, palette, pixels), sharing its pixels until either is written.
    // The canvas state is kept.
    void Assign(const Bitmap& source);
    // Exchanges the pictures (size, format, palette, pixels) of two bitmaps.
    void SwapPicture(Bitmap& other) noexcept;

    // The colour of one pixel, whatever the format; slow, for tests and
    // occasional reads. Out-of-range coordinates read as black and are
    // ignored on write.
    Color Pixel(int x, int y) const;
    void SetPixel(int x, int y, Color color);

private:
    const std::uint8_t* ReadBits() const { return data_ ? data_->data() : nullptr; }
    std::uint8_t* WritableBits() {
        if (data_.use_count() > 1) Unshare();
        return data_ ? data_->data() : nullptr;
    }
    // Replaces shared pixels with a copy of them of this bitmap's own.
    void Unshare();
    // The pixel buffer, this bitmap's own, its content kept.
    PixelBuffer& OwnBuffer();
    // The pixel buffer, this bitmap's own, its content unspecified: shared
    // pixels are left to the other bitmaps instead of being copied.
    PixelBuffer& BufferToOverwrite();

    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Device;
    // Null until the first size is set; shared between copies until written.
    std::shared_ptr<PixelBuffer> data_;
    std::vector<Color> palette_;
    std::unique_ptr<Canvas> canvas_;
};

// Index of the palette entry nearest to colour (sum of squared differences).
int NearestPaletteIndex(const std::vector<Color>& palette, Color color);

} // namespace quillon
