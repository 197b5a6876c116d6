#include "document/PackedPicture.h"

#include <zstd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace quillon {

namespace {

// About this many bytes of rows are compressed together: enough for zstd to
// find its matches, small enough for the working copy not to count.
constexpr std::size_t kBandBytes = std::size_t(4) << 20;
// zstd's fastest level: a photo's rows, once turned into differences, gain
// little from the slower ones.
constexpr int kLevel = 1;

// Replaces every byte but those of the first pixel with its difference from
// the byte one pixel (bpp bytes) to its left. Photos change slowly from
// pixel to pixel, so the differences are mostly small and compress well.
void ToDifferences(const std::uint8_t* row, std::size_t bytes, int bpp, std::uint8_t* out) {
    const std::size_t first = std::min(bytes, std::size_t(bpp));
    std::memcpy(out, row, first);
    for (std::size_t i = first; i < bytes; ++i) out[i] = std::uint8_t(row[i] - row[i - bpp]);
}

// Undoes ToDifferences in place.
void FromDifferences(std::uint8_t* row, std::size_t bytes, int bpp) {
    for (std::size_t i = std::size_t(bpp); i < bytes; ++i)
        row[i] = std::uint8_t(row[i] + row[i - bpp]);
}

struct CCtxFree {
    void operator()(ZSTD_CCtx* c) const { ZSTD_freeCCtx(c); }
};
struct DCtxFree {
    void operator()(ZSTD_DCtx* d) const { ZSTD_freeDCtx(d); }
};

} // namespace

void PackedPicture::Clear() {
    width_ = height_ = 0;
    format_ = PixelFormat::Device;
    palette_.clear();
    transparent_ = false;
    transparentColor_ = kWhite;
    rowsPerBand_ = 0;
    bands_.clear();
}

std::size_t PackedPicture::PackedBytes() const {
    std::size_t total = 0;
    for (const auto& band : bands_) total += band.size();
    return total;
}

void PackedPicture::Pack(const Bitmap& picture) {
    Clear();
    width_ = picture.Width();
    height_ = picture.Height();
    format_ = picture.format();
    palette_ = picture.Palette();
    transparent_ = picture.Transparent;
    transparentColor_ = picture.TransparentColor;
    if (picture.Empty()) return;

    const std::size_t stride = picture.Stride();
    // Indexed pixels are not colours: their differences say nothing.
    const int bpp = picture.IsIndexed() ? 0 : picture.BytesPerPixel();
    rowsPerBand_ = int(std::clamp<std::size_t>(kBandBytes / stride, 1, std::size_t(height_)));
    const std::size_t bandBytes = stride * std::size_t(rowsPerBand_);
    std::vector<std::uint8_t> raw(bpp > 0 ? bandBytes : 0);
    std::vector<std::uint8_t> packed(ZSTD_compressBound(bandBytes));
    std::unique_ptr<ZSTD_CCtx, CCtxFree> cctx(ZSTD_createCCtx());
    if (!cctx) throw std::bad_alloc();

    bands_.reserve(std::size_t((height_ + rowsPerBand_ - 1) / rowsPerBand_));
    for (int y = 0; y < height_; y += rowsPerBand_) {
        const int rows = std::min(rowsPerBand_, height_ - y);
        const std::size_t bytes = stride * std::size_t(rows);
        const std::uint8_t* source = picture.ScanLine(y);
        if (bpp > 0) {
            for (int r = 0; r < rows; ++r)
                ToDifferences(picture.ScanLine(y + r), stride, bpp,
                              raw.data() + std::size_t(r) * stride);
            source = raw.data();
        }
        const std::size_t n =
            ZSTD_compressCCtx(cctx.get(), packed.data(), packed.size(), source, bytes, kLevel);
        if (ZSTD_isError(n)) {
            Clear();
            throw std::runtime_error(std::string("Cannot compress a picture: ") +
                                     ZSTD_getErrorName(n));
        }
        bands_.emplace_back(packed.begin(), packed.begin() + std::ptrdiff_t(n));
    }
}

std::unique_ptr<Bitmap> PackedPicture::Unpack() const {
    // Every row is written from the bands below, so none is cleared first.
    auto picture = std::make_unique<Bitmap>();
    picture->MakeForOverwrite(width_, height_, format_);
    picture->Palette() = palette_;
    picture->Transparent = transparent_;
    picture->TransparentColor = transparentColor_;
    if (picture->Empty()) return picture;

    const std::size_t stride = picture->Stride();
    const int bpp = picture->IsIndexed() ? 0 : picture->BytesPerPixel();
    std::unique_ptr<ZSTD_DCtx, DCtxFree> dctx(ZSTD_createDCtx());
    if (!dctx) throw std::bad_alloc();
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        const int y = int(b) * rowsPerBand_;
        const int rows = std::min(rowsPerBand_, height_ - y);
        const std::size_t bytes = stride * std::size_t(rows);
        std::uint8_t* target = picture->ScanLine(y);
        const std::size_t n =
            ZSTD_decompressDCtx(dctx.get(), target, bytes, bands_[b].data(), bands_[b].size());
        if (ZSTD_isError(n) || n != bytes) throw std::runtime_error("A packed picture is damaged");
        if (bpp > 0)
            for (int r = 0; r < rows; ++r)
                FromDifferences(target + std::size_t(r) * stride, stride, bpp);
    }
    return picture;
}

} // namespace quillon
