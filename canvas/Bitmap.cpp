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

namespace {

// Copies n 32-bit pixels from src to dst (which may be src) with their fourth
// byte cleared, a whole pixel at a time, which the compiler vectorises; the
// mask keeps the three colour bytes in any byte order.
void ClearFourthBytes(const std::uint8_t* src, std::size_t n, std::uint8_t* dst) {
    const std::uint8_t maskBytes[4] = {0xFF, 0xFF, 0xFF, 0};
    std::uint32_t mask;
    std::memcpy(&mask, maskBytes, 4);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t v;
        std::memcpy(&v, src + 4 * i, 4);
        v &= mask;
        std::memcpy(dst + 4 * i, &v, 4);
    }
}

} // namespace

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
    if (width_ == 0 || height_ == 0) {
        // Nothing to keep.
        PixelBuffer& data = BufferToOverwrite();
        data.clear();
        data.resize(bytes, 0);
        width_ = w;
        height_ = h;
        return;
    }
    if (w == width_) {
        // Same row length: the rows stay where they are, and a buffer that
        // grows only gets new zero rows at its end.
        OwnBuffer().resize(bytes, 0);
        width_ = w;
        height_ = h;
        return;
    }
    auto data = std::make_shared<PixelBuffer>(bytes, 0);
    const int keepW = std::min(w, width_), keepH = std::min(h, height_);
    const Bitmap& self = *this; // read without taking shared pixels
    // Nothing to copy into a picture of no width (its buffer may be null).
    for (int y = 0; keepW > 0 && y < keepH; ++y)
        std::memcpy(data->data() + std::size_t(y) * std::size_t(w) * std::size_t(bpp),
                    self.ScanLine(y), std::size_t(keepW) * std::size_t(bpp));
    data_ = std::move(data);
    width_ = w;
    height_ = h;
}

void Bitmap::SetSizeForOverwrite(int w, int h) {
    CheckPictureSize(w, h);
    const std::size_t bytes = std::size_t(w) * std::size_t(h) * std::size_t(BytesPerPixel());
    PixelBuffer& data = BufferToOverwrite();
    if (bytes > data.capacity()) {
        // Nothing is kept, so nothing is copied into the new buffer; the
        // spare sixteenth takes the next few steps of growth.
        data.clear();
        data.shrink_to_fit();
        data.reserve(bytes + bytes / 16);
    }
    data.resize(bytes);
    width_ = w;
    height_ = h;
}

void Bitmap::MakeForOverwrite(int w, int h, PixelFormat format) {
    CheckPictureSize(w, h);
    const std::size_t bytes =
        std::size_t(w) * std::size_t(h) * std::size_t(BytesPerPixelOf(format));
    PixelBuffer& data = BufferToOverwrite();
    if (bytes > data.capacity()) {
        // A fresh buffer of the exact size: the old pixels are not copied.
        data.clear();
        data.shrink_to_fit();
        data.reserve(bytes);
    }
    data.resize(bytes);
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
            for (auto& b : OwnBuffer())
                b = std::uint8_t(NearestPaletteIndex(palette_, old[b % old.size()]));
        }
        format_ = format;
        return;
    }
    const int dstBpp = BytesPerPixelOf(format);
    if (!IsIndexed() && !toIndexed && dstBpp == BytesPerPixel()) {
        // PixelFormat::Device and PixelFormat::Bgrx32 share their layout: converting only clears
        // the fourth byte, in place, or on the way into pixels of this
        // bitmap's own when they are shared.
        if (dstBpp == 4 && data_) {
            const std::size_t pixels = data_->size() / 4;
            if (data_.use_count() > 1) {
                auto own = std::make_shared<PixelBuffer>();
                own->resize(data_->size()); // every byte is written below
                ClearFourthBytes(data_->data(), pixels, own->data());
                data_ = std::move(own);
            } else {
                ClearFourthBytes(data_->data(), pixels, data_->data());
            }
        }
        format_ = format;
        return;
    }
    auto converted = std::make_shared<PixelBuffer>(
        std::size_t(width_) * std::size_t(height_) * std::size_t(dstBpp), 0);
    PixelBuffer& out = *converted;
    const Bitmap& self = *this; // read without taking shared pixels
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
            const std::uint8_t* s = self.ScanLine(y);
            std::uint8_t* d = out.data() + std::size_t(y) * std::size_t(width_);
            for (int x = 0; x < width_; ++x, s += srcBpp)
                d[x] = std::uint8_t(NearestPaletteIndex(palette_, RGB(s[2], s[1], s[0])));
        }
    } else {
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = self.ScanLine(y);
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
    data_ = std::move(converted);
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

void Bitmap::Unshare() {
    // A copy of the shared vector: a buffer of the exact size, filled once.
    data_ = std::make_shared<PixelBuffer>(*data_);
}

PixelBuffer& Bitmap::OwnBuffer() {
    if (!data_)
        data_ = std::make_shared<PixelBuffer>();
    else if (data_.use_count() > 1)
        Unshare();
    return *data_;
}

PixelBuffer& Bitmap::BufferToOverwrite() {
    if (!data_ || data_.use_count() > 1) data_ = std::make_shared<PixelBuffer>();
    return *data_;
}

void Bitmap::SwapPicture(Bitmap& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(format_, other.format_);
    data_.swap(other.data_);
    palette_.swap(other.palette_);
}

} // namespace quillon
