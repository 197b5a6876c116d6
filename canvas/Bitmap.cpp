#include "canvas/Bitmap.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <cstring>
#include <limits>

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels)
        throw EPictureError("Picture size " + std::to_string(width) + " x " +
                            std::to_string(height) + " is too large");
}

int NearestPaletteIndex(const std::vector<TColor>& palette, TColor color) {
    int best = 0;
    int bestDist = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        int dr = int(GetRValue(palette[i])) - GetRValue(color);
        int dg = int(GetGValue(palette[i])) - GetGValue(color);
        int db = int(GetBValue(palette[i])) - GetBValue(color);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = int(i);
            if (d == 0) break;
        }
    }
    return best;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

int TBitmap::BytesPerPixelOf(TPixelFormat format) {
    switch (format) {
    case pfDevice:
    case pf32bit:
        return 4;
    case pf24bit:
        return 3;
    default:
        return 1;
    }
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
    return *canvas_;
}

void TBitmap::SetSize(int w, int h) {
    CheckPictureSize(w, h);
    if (w == width_ && h == height_) return;
    const int bpp = BytesPerPixel();
    const std::size_t bytes = std::size_t(w) * std::size_t(h) * std::size_t(bpp);
    if (w == width_ || width_ == 0 || height_ == 0) {
        // Same row length (or nothing to keep): the rows stay where they are,
        // and a buffer that grows only gets new zero rows at its end.
        if (width_ == 0 || height_ == 0) data_.clear();
        data_.resize(bytes, 0);
        width_ = w;
        height_ = h;
        return;
    }
    TPixelBuffer data(bytes, 0);
    const int keepW = std::min(w, width_), keepH = std::min(h, height_);
    for (int y = 0; y < keepH; ++y)
        std::memcpy(data.data() + std::size_t(y) * std::size_t(w) * std::size_t(bpp), ScanLine(y),
                    std::size_t(keepW) * std::size_t(bpp));
    data_.swap(data);
    width_ = w;
    height_ = h;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
    const std::uint8_t* p = ScanLine(y) + std::size_t(x) * std::size_t(BytesPerPixel());
    if (IsIndexed()) return *p < palette_.size() ? palette_[*p] : clBlack;
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = ScanLine(y) + std::size_t(x) * std::size_t(BytesPerPixel());
    if (IsIndexed()) {
        *p = std::uint8_t(NearestPaletteIndex(palette_, color));
        return;
    }
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    const bool toIndexed = format == pf1bit || format == pf4bit || format == pf8bit;
    if (IsIndexed() && toIndexed) {
        // Between indexed formats only the palette size limit changes.
        const std::size_t limit = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
        if (palette_.size() > limit) {
            std::vector<TColor> old = palette_;
            palette_.resize(limit);
            for (auto& b : data_)
                b = std::uint8_t(NearestPaletteIndex(palette_, old[b % old.size()]));
        }
        format_ = format;
        return;
    }
    const int dstBpp = BytesPerPixelOf(format);
    if (!IsIndexed() && !toIndexed && dstBpp == BytesPerPixel()) {
        // pfDevice and pf32bit share their layout: converting only clears the
        // fourth byte, in place.
        if (dstBpp == 4) {
            std::uint8_t* p = data_.data();
            for (std::size_t i = 3; i < data_.size(); i += 4) p[i] = 0;
        }
        format_ = format;
        return;
    }
    TPixelBuffer out(std::size_t(width_) * std::size_t(height_) * std::size_t(dstBpp), 0);
    const int srcBpp = BytesPerPixel();
    if (toIndexed) {
        if (palette_.empty()) {
            // A grey ramp of the format's size serves as the palette.
            const int n = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
            for (int i = 0; i < n; ++i) {
                int v = i * 255 / (n - 1);
                palette_.push_back(RGB(v, v, v));
            }
        }
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = ScanLine(y);
            std::uint8_t* d = out.data() + std::size_t(y) * std::size_t(width_);
            for (int x = 0; x < width_; ++x, s += srcBpp)
                d[x] = std::uint8_t(NearestPaletteIndex(palette_, RGB(s[2], s[1], s[0])));
        }
    } else {
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = ScanLine(y);
            std::uint8_t* d =
                out.data() + std::size_t(y) * std::size_t(width_) * std::size_t(dstBpp);
            if (IsIndexed()) {
                for (int x = 0; x < width_; ++x, d += dstBpp) {
                    TColor c = s[x] < palette_.size() ? palette_[s[x]] : clBlack;
                    d[0] = GetBValue(c);
                    d[1] = GetGValue(c);
                    d[2] = GetRValue(c);
                }
            } else {
                for (int x = 0; x < width_; ++x, s += srcBpp, d += dstBpp) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
            }
        }
        palette_.clear();
    }
    data_.swap(out);
    format_ = format;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    width_ = source.width_;
    height_ = source.height_;
    format_ = source.format_;
    data_ = source.data_;
    palette_ = source.palette_;
    Transparent = source.Transparent;
    TransparentColor = source.TransparentColor;
}

void TBitmap::SwapPicture(TBitmap& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(format_, other.format_);
    data_.swap(other.data_);
    palette_.swap(other.palette_);
}
