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
#include "formats/ByteReader.h"
#include "formats/Metadata.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <libheif/heif.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// An unsigned number of size bytes (0, 4 or 8), big-endian.
std::uint64_t Sized(ByteReader& r, unsigned size) {
    if (size == 0) return 0;
    if (size == 4) return r.U32BE();
    if (size == 8) return (std::uint64_t(r.U32BE()) << 32) | r.U32BE();
    throw PictureError(kInvalid, PictureErrorKind::Malformed);
}

// The box at the reader's position: its type, and where its contents start
// and end. A size of 0 runs to the end; 1 is followed by a 64-bit size.
// Nothing when the box does not fit: the walk stops there and libheif
// judges the file.
struct Box {
    std::uint32_t Type;
    std::size_t Begin, End;
};
std::optional<Box> NextBox(ByteReader& r, std::size_t limit) {
    const std::size_t start = r.Position();
    if (limit - start < 8) return std::nullopt;
    std::uint64_t size = r.U32BE();
    const std::uint32_t type = r.U32BE();
    if (size == 1) {
        if (limit - r.Position() < 8) return std::nullopt;
        size = Sized(r, 8);
    }
    if (size == 0) size = limit - start;
    if (size < r.Position() - start || size > limit - start) return std::nullopt;
    return Box{type, r.Position(), start + std::size_t(size)};
}

constexpr std::uint32_t FourCc(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
           std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint32_t(std::uint8_t(s[3]));
}

struct ItemPlace {
    std::uint32_t Id;
    unsigned Method; // 0: in the file, 1: in the idat box
    std::uint64_t Offset, Length;
};

// The item location box: where each item's first extent lies. Any extent
// longer than the file, or reaching past it, is refused.
std::vector<ItemPlace> ReadItemLocations(ByteReader& r, std::size_t fileSize) {
    std::vector<ItemPlace> places;
    const unsigned version = r.U8();
    r.Skip(3);
    const unsigned sizes = r.U16BE();
    const unsigned offsetSize = sizes >> 12, lengthSize = (sizes >> 8) & 15,
                   baseSize = (sizes >> 4) & 15, indexSize = version >= 1 ? sizes & 15 : 0;
    const std::uint32_t items = version < 2 ? r.U16BE() : r.U32BE();
    for (std::uint32_t i = 0; i < items; ++i) {
        ItemPlace place{version < 2 ? r.U16BE() : r.U32BE(), 0, 0, 0};
        if (version >= 1) place.Method = r.U16BE() & 15;
        r.Skip(2); // data reference index
        const std::uint64_t base = Sized(r, baseSize);
        const unsigned extents = r.U16BE();
        for (unsigned e = 0; e < extents; ++e) {
            Sized(r, indexSize);
            const std::uint64_t offset = Sized(r, offsetSize);
            const std::uint64_t length = Sized(r, lengthSize);
            const bool outside =
                length > fileSize || (place.Method == 0 && (base > fileSize || offset > fileSize ||
                                                            base + offset + length > fileSize));
            if (outside) throw PictureError(kInvalid, PictureErrorKind::Truncated);
            if (e == 0) {
                place.Offset = base + offset;
                place.Length = length;
            }
        }
        places.push_back(place);
    }
    return places;
}

// The IDs of the grid items (pictures put together from tiles) in the item
// information box.
std::vector<std::uint32_t> ReadGridItems(ByteReader& r, std::size_t end) {
    std::vector<std::uint32_t> grids;
    const unsigned version = r.U8();
    r.Skip(3);
    const std::uint32_t count = version == 0 ? r.U16BE() : r.U32BE();
    for (std::uint32_t i = 0; i < count && r.Position() < end; ++i) {
        const std::optional<Box> entry = NextBox(r, end);
        if (!entry) break;
        if (entry->Type == FourCc("infe") && entry->End - entry->Begin >= 12) {
            const unsigned entryVersion = r.U8();
            r.Skip(3);
            if (entryVersion >= 2) {
                const std::uint32_t id = entryVersion == 2 ? r.U16BE() : r.U32BE();
                r.Skip(2); // protection index
                if (r.Position() + 4 <= entry->End && r.U32BE() == FourCc("grid"))
                    grids.push_back(id);
            }
        }
        r.Seek(entry->End);
    }
    return grids;
}

// libheif 1.15 allocates an item's data at the length the item location box
// claims before finding the file too short for it, and a grid's picture at
// the size its descriptor claims whatever the size property says, so a few
// hundred bytes could ask for gigabytes. Both are checked here, before
// libheif sees the file: every extent must lie within the file, and every
// grid's output size within the limits.
void CheckItems(std::span<const std::uint8_t> data, const DecodeLimits& limits) {
    ByteReader r(data, "HEIF");
    std::optional<Box> meta;
    while (!meta && !r.AtEnd()) {
        const std::optional<Box> top = NextBox(r, data.size());
        if (!top) return;
        if (top->Type == FourCc("meta"))
            meta = top;
        else
            r.Seek(top->End);
    }
    if (!meta || meta->End - meta->Begin < 4) return;
    r.Skip(4); // version and flags
    std::vector<ItemPlace> places;
    std::vector<std::uint32_t> grids;
    std::optional<Box> idat;
    while (r.Position() < meta->End) {
        const std::optional<Box> child = NextBox(r, meta->End);
        if (!child) break;
        if (child->Type == FourCc("iloc")) places = ReadItemLocations(r, data.size());
        if (child->Type == FourCc("iinf")) grids = ReadGridItems(r, child->End);
        if (child->Type == FourCc("idat")) idat = child;
        r.Seek(child->End);
    }
    for (const ItemPlace& place : places) {
        if (std::find(grids.begin(), grids.end(), place.Id) == grids.end()) continue;
        std::uint64_t at = place.Offset;
        if (place.Method == 1) {
            if (!idat) continue;
            at += idat->Begin;
        } else if (place.Method != 0) {
            continue;
        }
        if (at > data.size()) throw PictureError(kInvalid, PictureErrorKind::Truncated);
        // version, flags, rows - 1, columns - 1, then the output size in 16
        // bits, or 32 when flag 1 is set.
        r.Seek(std::size_t(at));
        r.Skip(1);
        const bool wide = (r.U8() & 1) != 0;
        r.Skip(2);
        const std::uint32_t w = wide ? r.U32BE() : r.U16BE();
        const std::uint32_t h = wide ? r.U32BE() : r.U16BE();
        limits.CheckBudget("HEIF", w, h, data.size());
    }
}

} // namespace

void ReadHeif(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
              const DecodeLimits& limits) {
    if (data.size() < 12) throw PictureError(kInvalid, PictureErrorKind::Truncated);
    CheckItems(data, limits);
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

std::shared_ptr<const PictureMetadata> ReadHeifMetadata(std::span<const std::uint8_t> data) {
    // Only called after the picture itself was read, so the file has passed
    // the size checks; any error here means no metadata, never no picture.
    constexpr std::size_t kMaxItemBytes = 64u << 20;
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) return nullptr;
    if (heif_context_read_from_memory_without_copy(context.get(), data.data(), data.size(), nullptr)
            .code != heif_error_Ok)
        return nullptr;
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return nullptr;
    std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);
    auto m = std::make_shared<PictureMetadata>();
    const auto itemBytes = [&](heif_item_id id) {
        std::vector<std::uint8_t> bytes(heif_image_handle_get_metadata_size(handle.get(), id));
        if (bytes.size() > kMaxItemBytes ||
            heif_image_handle_get_metadata(handle.get(), id, bytes.data()).code != heif_error_Ok)
            bytes.clear();
        return bytes;
    };
    // The EXIF item starts with the offset, big-endian, from after those
    // four bytes to the TIFF header ("Exif\0\0" usually lies between).
    if (heif_image_handle_get_number_of_metadata_blocks(handle.get(), "Exif") > 0) {
        heif_item_id id = 0;
        heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &id, 1);
        const std::vector<std::uint8_t> block = itemBytes(id);
        if (block.size() > 4) {
            const std::uint64_t offset =
                (std::uint64_t(block[0]) << 24) | (block[1] << 16) | (block[2] << 8) | block[3];
            if (4 + offset < block.size())
                m->Exif.assign(block.begin() + std::ptrdiff_t(4 + offset), block.end());
        }
    }
    const int mimeCount = heif_image_handle_get_number_of_metadata_blocks(handle.get(), "mime");
    if (mimeCount > 0) {
        std::vector<heif_item_id> ids(static_cast<std::size_t>(mimeCount));
        heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "mime", ids.data(),
                                                         mimeCount);
        for (const heif_item_id id : ids) {
            const char* type = heif_image_handle_get_metadata_content_type(handle.get(), id);
            if (type && std::string(type) == "application/rdf+xml") {
                const std::vector<std::uint8_t> xmp = itemBytes(id);
                m->Xmp.assign(xmp.begin(), xmp.end());
                break;
            }
        }
    }
    const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle.get());
    if (profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) {
        m->Icc.resize(heif_image_handle_get_raw_color_profile_size(handle.get()));
        if (m->Icc.size() > kMaxItemBytes ||
            heif_image_handle_get_raw_color_profile(handle.get(), m->Icc.data()).code !=
                heif_error_Ok)
            m->Icc.clear();
    }
    if (m->Empty()) return nullptr;
    return m;
}

} // namespace quillon
