// WebP, through libwebp.
//
// Write: lossy, quality 90, from 8-bit RGB (no alpha). WebP holds at most
// 16383 x 16383 pixels; a larger picture is refused with a message.
#include "formats/Readers.h"

#include <webp/encode.h>

#include <string>

namespace quillon {

namespace {

constexpr int kMaxWebpSide = WEBP_MAX_DIMENSION;
constexpr float kWebpQuality = 90.0f;

} // namespace

std::vector<std::uint8_t> EncodeWebp(const Bitmap& bitmap) {
    const Bitmap* source = &bitmap;
    Bitmap copy;
    if (bitmap.format() != PixelFormat::Bgr24) {
        copy.Assign(bitmap);
        copy.SetPixelFormat(PixelFormat::Bgr24);
        source = &copy;
    }
    const int w = source->Width(), h = source->Height();
    if (w <= 0 || h <= 0)
        throw PictureError("Cannot write an empty picture as WebP", PictureErrorKind::Io);
    if (w > kMaxWebpSide || h > kMaxWebpSide)
        throw PictureError("Picture is too large for a WebP file (at most " +
                               std::to_string(kMaxWebpSide) + " pixels a side)",
                           PictureErrorKind::TooLarge);
    std::uint8_t* out = nullptr;
    const std::size_t size =
        WebPEncodeBGR(source->Bits(), w, h, source->Stride(), kWebpQuality, &out);
    if (size == 0 || out == nullptr) {
        WebPFree(out);
        throw PictureError("Cannot write WebP", PictureErrorKind::Io);
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.assign(out, out + size);
    } catch (...) {
        WebPFree(out);
        throw;
    }
    WebPFree(out);
    return bytes;
}

} // namespace quillon
