// WebP, through libwebp.
//
// Layout: a RIFF container ("RIFF", size, "WEBP") holding a VP8 (lossy), VP8L
// (lossless) or VP8X (extended: alpha, EXIF/XMP/ICC chunks, animation)
// chunk. Read: every still variant, and the first frame of an animation, as
// 8-bit RGB with any alpha laid over white (PixelFormat::Bgr24). The size is
// checked against the limits before anything is decoded.
// Write: lossy, quality 90, from 8-bit RGB (no alpha). WebP holds at most
// 16383 x 16383 pixels; a larger picture is refused with a message.
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include <string>

namespace quillon {

namespace {

constexpr int kMaxWebpSide = WEBP_MAX_DIMENSION;
constexpr float kWebpQuality = 90.0f;

constexpr const char* kInvalid = "WebP image is not valid";

// Lays BGRA rows over white into a Bgr24 picture.
void PutOverWhite(const std::uint8_t* bgra, int stride, Bitmap& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* s = bgra + std::size_t(y) * std::size_t(stride);
        std::uint8_t* d = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x, s += 4, d += 3) {
            d[0] = OverWhite(s[0], s[3]);
            d[1] = OverWhite(s[1], s[3]);
            d[2] = OverWhite(s[2], s[3]);
        }
    }
}

// The first frame of an animation, through the animation decoder, which
// composes it on the canvas as a viewer shows it.
void ReadFirstFrame(std::span<const std::uint8_t> data, Bitmap& picture) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) throw PictureError(kInvalid);
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const WebPData webpData{data.data(), data.size()};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&webpData, &options);
    if (decoder == nullptr) throw PictureError(kInvalid, PictureErrorKind::Malformed);
    std::uint8_t* frame = nullptr;
    int timestamp = 0;
    const bool ok = WebPAnimDecoderGetNext(decoder, &frame, &timestamp) != 0;
    if (ok) PutOverWhite(frame, picture.Width() * 4, picture);
    WebPAnimDecoderDelete(decoder);
    if (!ok) throw PictureError(kInvalid, PictureErrorKind::Malformed);
}

} // namespace

void ReadWebp(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
              const DecodeLimits& limits) {
    // The RIFF header and the first chunk's header.
    if (data.size() < 20) throw PictureError(kInvalid, PictureErrorKind::Truncated);
    WebPBitstreamFeatures features;
    const VP8StatusCode status = WebPGetFeatures(data.data(), data.size(), &features);
    if (status == VP8_STATUS_NOT_ENOUGH_DATA)
        throw PictureError(kInvalid, PictureErrorKind::Truncated);
    if (status == VP8_STATUS_UNSUPPORTED_FEATURE)
        throw PictureError(kInvalid, PictureErrorKind::Unsupported);
    if (status != VP8_STATUS_OK || features.width <= 0 || features.height <= 0)
        throw PictureError(kInvalid, PictureErrorKind::Malformed);
    limits.CheckBudget("WebP", features.width, features.height, data.size());
    Bitmap picture(features.width, features.height, PixelFormat::Bgr24);
    if (features.has_animation) {
        ReadFirstFrame(data, picture);
    } else if (!features.has_alpha) {
        if (!WebPDecodeBGRInto(data.data(), data.size(), picture.Bits(),
                               std::size_t(picture.Stride()) * std::size_t(picture.Height()),
                               picture.Stride()))
            throw PictureError(kInvalid, PictureErrorKind::Malformed);
    } else {
        const int stride = features.width * 4;
        std::vector<std::uint8_t> bgra(std::size_t(stride) * std::size_t(features.height));
        if (!WebPDecodeBGRAInto(data.data(), data.size(), bgra.data(), bgra.size(), stride))
            throw PictureError(kInvalid, PictureErrorKind::Malformed);
        PutOverWhite(bgra.data(), stride, picture);
    }
    out.SwapPicture(picture);
}

std::vector<std::uint8_t> EncodeWebp(const Bitmap& bitmap) {
    Bitmap copy;
    const Bitmap* source = &AsBgr24(bitmap, copy);
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
