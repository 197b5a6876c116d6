// HEIF (HEIC, with HEVC pictures) and AVIF (AV1 pictures), through libheif.
//
// Layout: an ISO base media file ("ftyp" brand heic, heix, mif1, avif, ...)
// whose "meta" box lists the items; the primary item is the photo, coded as
// one or more HEVC or AV1 tiles, with its turn and mirror ("irot", "imir")
// and crop ("clap") as item properties. Read: the primary picture as 8-bit
// RGB (deeper samples reduced by libheif), any alpha laid over white. The
// container's turn and mirror are applied by libheif while decoding, so the
// picture comes out upright; the EXIF orientation is never applied on top.
//
// The size is checked against the limits before anything is decoded, and
// libheif's own size limit is set from them so that it refuses a larger
// picture while parsing.
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <libheif/heif.h>

#include <climits>
#include <memory>
#include <string>

namespace quillon {

namespace {

constexpr const char* kInvalid = "HEIF image is not valid";

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageFree {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

// Throws a libheif error as the matching kind of fault.
void Check(const heif_error& error) {
    if (error.code == heif_error_Ok) return;
    PictureErrorKind kind = PictureErrorKind::Malformed;
    if (error.subcode == heif_suberror_End_of_data)
        kind = PictureErrorKind::Truncated;
    else if (error.subcode == heif_suberror_Security_limit_exceeded)
        kind = PictureErrorKind::TooLarge;
    else if (error.code == heif_error_Unsupported_filetype ||
             error.code == heif_error_Unsupported_feature)
        kind = PictureErrorKind::Unsupported;
    const std::string detail = error.message ? error.message : "";
    throw PictureError(
        detail.empty() ? std::string(kInvalid) : std::string(kInvalid) + " (" + detail + ")", kind);
}

} // namespace

void ReadHeif(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
              const DecodeLimits& limits) {
    if (data.size() < 12) throw PictureError(kInvalid, PictureErrorKind::Truncated);
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) throw PictureError(kInvalid, PictureErrorKind::Io);
    heif_context_set_maximum_image_size_limit(context.get(),
                                              int(std::min<std::int64_t>(limits.MaxSide, INT_MAX)));
    Check(heif_context_read_from_memory_without_copy(context.get(), data.data(), data.size(),
                                                     nullptr));
    heif_image_handle* rawHandle = nullptr;
    Check(heif_context_get_primary_image_handle(context.get(), &rawHandle));
    std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);
    // The size after the container's turn and crop: what will be allocated.
    const int w = heif_image_handle_get_width(handle.get());
    const int h = heif_image_handle_get_height(handle.get());
    if (w <= 0 || h <= 0) throw PictureError(kInvalid, PictureErrorKind::Malformed);
    limits.CheckBudget("HEIF", w, h, data.size());

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    Check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                            options.get()));
    std::unique_ptr<heif_image, ImageFree> image(rawImage);
    const int iw = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int ih = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (pixels == nullptr || iw <= 0 || ih <= 0)
        throw PictureError(kInvalid, PictureErrorKind::Malformed);
    limits.CheckBudget("HEIF", iw, ih, data.size());

    Bitmap picture(iw, ih, PixelFormat::Bgr24);
    const int step = alpha ? 4 : 3;
    for (int y = 0; y < ih; ++y) {
        const std::uint8_t* s = pixels + std::size_t(y) * std::size_t(stride);
        std::uint8_t* d = picture.ScanLine(y);
        for (int x = 0; x < iw; ++x, s += step, d += 3) {
            const unsigned a = alpha ? s[3] : 255u;
            d[0] = OverWhite(s[2], a);
            d[1] = OverWhite(s[1], a);
            d[2] = OverWhite(s[0], a);
        }
    }
    out.SwapPicture(picture);
}

} // namespace quillon
