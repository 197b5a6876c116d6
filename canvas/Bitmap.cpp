#include "canvas/Bitmap.h"

#include "canvas/Canvas.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

void CheckPictureSize(std::int64_t width, std::int64_t height, std::int64_t maxSide,
                      std::int64_t maxPixels) {
    maxSide = std::min(maxSide, kMaxPictureSide);
    maxPixels = std::min(maxPixels, kMaxPicturePixels);
    if (width < 0 || height < 0 || width > maxSide || height > maxSide ||
        width * height > maxPixels)
        throw PictureError("Picture size " + std::to_string(width) + " x " +
                               std::to_string(height) + " is too large",
                           PictureErrorKind::TooLarge);
}

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    CheckPictureSize(width, height, kMaxPictureSide, kMaxPicturePixels);
}

int NearestPaletteIndex(const std::vector<Color>& palette, Color color) {
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

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) {
    SetSize(width, height);
}

Bitmap::~Bitmap() = default;

int Bitmap::BytesPerPixelOf(PixelFormat format) {
    switch (format) {
    case PixelFormat::Device:
    case PixelFormat::Bgrx32:
        return 4;
    case PixelFormat::Bgr24:
        return 3;
    default:
        return 1;
    }
}

Canvas& Bitmap::canvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
    return *canvas_;
}

void Bitmap::SetSize(int w, int h) {
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
    PixelBuffer data(bytes, 0);
    const int keepW = std::min(w, width_), keepH = std::min(h, height_);
    // Nothing to copy into a picture of no width (its buffer may be null).
    for (int y = 0; keepW > 0 && y < keepH; ++y)
        std::memcpy(data.data() + std::size_t(y) * std::size_t(w) * std::size_t(bpp), ScanLine(y),
                    std::size_t(keepW) * std::size_t(bpp));
    data_.swap(data);
    width_ = w;
    height_ = h;
}

void Bitmap::SetSizeForOverwrite(int w, int h) {
    CheckPictureSize(w, h);
    const std::size_t bytes = std::size_t(w) * std::size_t(h) * std::size_t(BytesPerPixel());
    if (bytes > data_.capacity()) {
        // Nothing is kept, so nothing is copied into the new buffer; the
        // spare sixteenth takes the next few steps of growth.
        data_.clear();
        data_.shrink_to_fit();
        data_.reserve(bytes + bytes / 16);
    }
    data_.resize(bytes);
    width_ = w;
    height_ = h;
}

void Bitmap::MakeForOverwrite(int w, int h, PixelFormat format) {
    CheckPictureSize(w, h);
    const std::size_t bytes =
        std::size_t(w) * std::size_t(h) * std::size_t(BytesPerPixelOf(format));
    if (bytes > data_.capacity()) {
        // A fresh buffer of the exact size: the old pixels are not copied.
        data_.clear();
        data_.shrink_to_fit();
        data_.reserve(bytes);
    }
    data_.resize(bytes);
    palette_.clear();
    format_ = format;
    width_ = w;
    height_ = h;
}

Color Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
    const std::uint8_t* p = ScanLine(y) + std::size_t(x) * std::size_t(BytesPerPixel());
    if (IsIndexed()) return *p < palette_.size() ? palette_[*p] : kBlack;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, Color color) {
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

void Bitmap::SetPixelFormat(PixelFormat format) {
    if (format == format_) return;
    const bool toIndexed = format == PixelFormat::Indexed1 || format == PixelFormat::Indexed4 ||
                           format == PixelFormat::Indexed8;
    if (IsIndexed() && toIndexed) {
        // Between indexed formats only the palette size limit changes.
        const std::size_t limit = format == PixelFormat::Indexed1   ? 2
                                  : format == PixelFormat::Indexed4 ? 16
                                                                    : 256;
        if (palette_.size() > limit) {
            std::vector<Color> old = palette_;
            palette_.resize(limit);
            for (auto& b : data_)
                b = std::uint8_t(NearestPaletteIndex(palette_, old[b % old.size()]));
        }
        format_ = format;
        return;
    }
    const int dstBpp = BytesPerPixelOf(format);
    if (!IsIndexed() && !toIndexed && dstBpp == BytesPerPixel()) {
        // PixelFormat::Device and PixelFormat::Bgrx32 share their layout: converting only clears
        // the fourth byte, in place.
        if (dstBpp == 4) {
            // A whole pixel at a time, which the compiler vectorises; the
            // mask keeps the three colour bytes in any byte order.
            const std::uint8_t maskBytes[4] = {0xFF, 0xFF, 0xFF, 0};
            std::uint32_t mask;
            std::memcpy(&mask, maskBytes, 4);
            std::uint8_t* p = data_.data();
            const std::size_t pixels = data_.size() / 4;
            for (std::size_t i = 0; i < pixels; ++i) {
                std::uint32_t v;
                std::memcpy(&v, p + 4 * i, 4);
                v &= mask;
                std::memcpy(p + 4 * i, &v, 4);
            }
        }
        format_ = format;
        return;
    }
    PixelBuffer out(std::size_t(width_) * std::size_t(height_) * std::size_t(dstBpp), 0);
    const int srcBpp = BytesPerPixel();
    if (toIndexed) {
        if (palette_.empty()) {
            // A grey ramp of the format's size serves as the palette.
            const int n = format == PixelFormat::Indexed1   ? 2
                          : format == PixelFormat::Indexed4 ? 16
                                                            : 256;
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
                    Color c = s[x] < palette_.size() ? palette_[s[x]] : kBlack;
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

void Bitmap::Assign(const Bitmap& source) {
    if (&source == this) return;
    width_ = source.width_;
    height_ = source.height_;
    format_ = source.format_;
    data_ = source.data_;
    palette_ = source.palette_;
    Transparent = source.Transparent;
    TransparentColor = source.TransparentColor;
}

void Bitmap::SwapPicture(Bitmap& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(format_, other.format_);
    data_.swap(other.data_);
    palette_.swap(other.palette_);
}

} // namespace quillon
