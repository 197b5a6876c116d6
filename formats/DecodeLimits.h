// DecodeLimits: how much a picture file may make the readers allocate and
// work, in one place. Every reader takes one; LoadPictureFile and
// LoadDecorationPicture use a default-constructed instance.
//
// Two kinds of bound live here. The size limits and the file budget are
// policy: a picture over MaxSide or MaxPixels is refused, and a picture over
// FreePixels must come from at least one byte of file per PixelsPerByte
// pixels, so that a few bytes cannot make the program allocate hundreds of
// megabytes (even where the format can describe a large empty area in a few
// bytes). The densest-encoding figures are facts of the formats: no valid
// file packs more pixels into a byte, so a file claiming more is cut short.
#pragma once

#include "canvas/Types.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

struct DecodeLimits {
    // The largest picture: pixels on a side and in all.
    std::int64_t MaxSide = kMaxPictureSide;
    std::int64_t MaxPixels = kMaxPicturePixels;

    // The file budget: pictures larger than FreePixels need one byte of file
    // per PixelsPerByte pixels.
    std::int64_t FreePixels = std::int64_t(1) << 24;
    std::int64_t PixelsPerByte = 1024;

    // The densest encodings of the formats, in pixels per byte of file (or of
    // compressed data), used to tell a cut-short file from a whole one.
    std::int64_t GifPixelsPerByte = 4096;   // LZW codes of up to 4096 pixels
    std::int64_t JpegPixelsPerByte = 512;   // Huffman: a bit per 8 x 8 block
    std::int64_t TiffPixelsPerByte = 16384; // a blank CCITT fax row in one bit
    std::int64_t DeflateRatio = 1032;       // bytes out per byte of deflate data

    // JPEG: progressive files may hold any number of scans; more than this
    // is refused instead of decoding for minutes.
    int MaxJpegScans = 100;
    // libjpeg's own working memory (coefficient buffers of progressive files).
    std::int64_t MaxJpegWorkBytes = std::int64_t(1) << 30;

    // PNG: the most ancillary chunks kept, and the largest single chunk the
    // library allocates; text chunks are skipped unread.
    std::uint32_t MaxPngAncillaryChunks = 64;
    std::size_t MaxPngChunkBytes = std::size_t(8) << 20;

    // The largest file read whole, and the largest companion file (the Dr.
    // Halo palette beside a CUT picture).
    std::uint64_t MaxFileBytes = std::uint64_t(1) << 30;
    std::uint64_t MaxCompanionFileBytes = 64 * 1024;

    // Throws PictureError (TooLarge, "Picture size W x H is too large") when
    // the picture is over MaxSide or MaxPixels.
    void CheckSize(std::int64_t width, std::int64_t height) const;

    // CheckSize, then the file budget: a picture over FreePixels needs at
    // least one byte of file per PixelsPerByte pixels. Throws PictureError
    // (TooLarge) naming the format, the size and the file's length.
    void CheckBudget(std::string_view format, std::int64_t width, std::int64_t height,
                     std::uint64_t fileBytes) const;
};

} // namespace quillon
