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

// Colour pixels (bpp 3 or 4 bytes: blue, green, red and an unused byte) are
// rearranged before compression, one row at a time, into planes of one byte
// per pixel, one plane per byte of the pixel, each plane's rows following each
// other through the band (plane c of row r of a band of w pixels wide starts at
// (c * rows + r) * w). A plane holds each byte's difference from the same byte
// of the pixel to its left (the first pixel's differences are from zero);
// the blue and red planes hold their difference less the green one.
// Photos change slowly from pixel to pixel, and their colours mostly change
// together, so what is left is mostly small numbers, each plane's alike,
// which zstd packs far better than the pixels themselves.
void ToPlanes(const std::uint8_t* row, int width, int bpp, std::uint8_t* planes,
              std::size_t planeBytes) {
    std::uint8_t* out[4] = {planes, planes + planeBytes, planes + 2 * planeBytes,
                            planes + 3 * planeBytes};
    std::uint8_t prev[4] = {0, 0, 0, 0};
    for (int x = 0; x < width; ++x, row += bpp) {
        const std::uint8_t green = std::uint8_t(row[1] - prev[1]);
        out[0][x] = std::uint8_t(row[0] - prev[0] - green);
        out[1][x] = green;
        out[2][x] = std::uint8_t(row[2] - prev[2] - green);
        if (bpp == 4) out[3][x] = std::uint8_t(row[3] - prev[3]);
        for (int c = 0; c < bpp; ++c) prev[c] = row[c];
    }
}

// Undoes ToPlanes for one row.
void FromPlanes(const std::uint8_t* planes, std::size_t planeBytes, int width, int bpp,
                std::uint8_t* row) {
    const std::uint8_t* in[4] = {planes, planes + planeBytes, planes + 2 * planeBytes,
                                 planes + 3 * planeBytes};
    std::uint8_t prev[4] = {0, 0, 0, 0};
    for (int x = 0; x < width; ++x, row += bpp) {
        const std::uint8_t green = in[1][x];
        prev[0] = row[0] = std::uint8_t(prev[0] + in[0][x] + green);
        prev[1] = row[1] = std::uint8_t(prev[1] + green);
        prev[2] = row[2] = std::uint8_t(prev[2] + in[2][x] + green);
        if (bpp == 4) prev[3] = row[3] = std::uint8_t(prev[3] + in[3][x]);
    }
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
            const std::size_t planeBytes = std::size_t(width_) * std::size_t(rows);
            for (int r = 0; r < rows; ++r)
                ToPlanes(picture.ScanLine(y + r), width_, bpp,
                         raw.data() + std::size_t(r) * std::size_t(width_), planeBytes);
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
    // The planes of one band, unpacked before they are put back into rows.
    std::vector<std::uint8_t> raw(bpp > 0 ? stride * std::size_t(rowsPerBand_) : 0);
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        const int y = int(b) * rowsPerBand_;
        const int rows = std::min(rowsPerBand_, height_ - y);
        const std::size_t bytes = stride * std::size_t(rows);
        if (bpp == 0) {
            // Indexed rows are packed as they are.
            const std::size_t n = ZSTD_decompressDCtx(dctx.get(), picture->ScanLine(y), bytes,
                                                      bands_[b].data(), bands_[b].size());
            if (ZSTD_isError(n) || n != bytes)
                throw std::runtime_error("A packed picture is damaged");
            continue;
        }
        const std::size_t n =
            ZSTD_decompressDCtx(dctx.get(), raw.data(), bytes, bands_[b].data(), bands_[b].size());
        if (ZSTD_isError(n) || n != bytes) throw std::runtime_error("A packed picture is damaged");
        const std::size_t planeBytes = std::size_t(width_) * std::size_t(rows);
        for (int r = 0; r < rows; ++r)
            FromPlanes(raw.data() + std::size_t(r) * std::size_t(width_), planeBytes, width_, bpp,
                       picture->ScanLine(y + r));
    }
    return picture;
}

} // namespace quillon
