// The metadata a photo carries besides its pixels: the camera's EXIF block,
// the XMP packet, IPTC datasets and the ICC colour profile. Read from a
// JPEG, PNG, TIFF or WebP file when it is opened and written again into a
// JPEG, PNG or WebP saved from it, so that a framed photo keeps its date,
// camera, captions and colours.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quillon {

struct PictureMetadata {
    std::vector<std::uint8_t> Exif; // the EXIF block in TIFF layout
    std::string Xmp;                // the XMP packet
    std::vector<std::uint8_t> Iptc; // IPTC IIM datasets
    std::vector<std::uint8_t> Icc;  // ICC profile

    bool Empty() const { return Exif.empty() && Xmp.empty() && Iptc.empty() && Icc.empty(); }
};

// The metadata of a file's bytes; null when there is none or it cannot be
// read (damaged metadata never stops the picture from opening).
std::shared_ptr<const PictureMetadata> ReadPictureMetadata(std::span<const std::uint8_t> fileBytes);

// The metadata a HEIF or AVIF file keeps in its own items (exiv2 does not
// read that container): the EXIF item, the XMP item and the colour profile.
// Null when there is none or the file cannot be read.
std::shared_ptr<const PictureMetadata> ReadHeifMetadata(std::span<const std::uint8_t> fileBytes);

// The encoded file (JPEG, PNG or WebP) with metadata written into it. The
// EXIF block is fitted to the saved picture: Orientation 1 (the pixels are
// upright), the pixel dimensions width x height, and no thumbnail (it shows
// the photo without its frame). When the metadata cannot be written the file
// is returned as it was: the picture matters more than its metadata.
std::vector<std::uint8_t> EmbedMetadata(std::vector<std::uint8_t> encoded,
                                        const PictureMetadata& metadata, int width, int height);

} // namespace quillon
