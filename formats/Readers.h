// The picture readers and writers, one file each. Every reader takes the
// limits a file must keep within (DecodeLimits.h); called without them, a
// reader uses the default ones.
#pragma once

#include "formats/Registry.h"
#include "formats/RowsObserver.h"

#include <cstdint>
#include <vector>

namespace quillon {

void ReadBmp(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadJpeg(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
              const DecodeLimits& limits = DecodeLimits());
// ReadJpeg straight into a PixelFormat::Device bitmap (format Device), the
// same pixels as reading and converting, without the 24-bit copy; any other
// format reads as ReadJpeg does. rows, when given, is told of the rows as
// they are decoded.
void ReadJpegAs(std::span<const std::uint8_t> data, const std::string& fileName, PixelFormat format,
                Bitmap& out, const DecodeLimits& limits = DecodeLimits(),
                RowsObserver* rows = nullptr);
void ReadGif(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadTga(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadTiff(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
              const DecodeLimits& limits = DecodeLimits());
void ReadPcx(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadRla(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadSgi(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadPsd(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadPnm(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadAutodesk(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
                  const DecodeLimits& limits = DecodeLimits());
void ReadPcd(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
// A Photo CD Image Pac holds several resolutions; the Base picture the
// reader shows ends this many bytes into the file.
inline constexpr std::uint64_t kPcdBytesNeeded = 0x30000 + 768 * 3 * 256;
void ReadCut(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadPsp(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());
void ReadPng(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
             const DecodeLimits& limits = DecodeLimits());

void ReadWebp(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
              const DecodeLimits& limits = DecodeLimits());
// HEIC, HEIF and AVIF.
void ReadHeif(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
              const DecodeLimits& limits = DecodeLimits());

class ByteSink;
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);
// The bytes EncodeBmp gives, written to sink a block of rows at a time.
void WriteBmp(const Bitmap& bitmap, ByteSink& sink);
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap);
std::vector<std::uint8_t> EncodeGif(const Bitmap& bitmap);
// The same bytes through giflib and the plain quantizer: slow, kept to check
// EncodeGif against.
std::vector<std::uint8_t> EncodeGifReference(const Bitmap& bitmap);
// The same for a 24- or 32-bit picture mapped to the given palette (up to
// 256 colours) instead of its octree palette (OctreePalette), when that is
// known already.
std::vector<std::uint8_t> EncodeGif(const Bitmap& bitmap, const std::vector<Color>& palette);
std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap);
std::vector<std::uint8_t> EncodeWebp(const Bitmap& bitmap);

} // namespace quillon
