// Windows bitmap files.
//
// Layout: a 14-byte file header ("BM", file size, reserved, offset of the
// pixels), an information header (12 bytes for the OS/2 core header, 40 for
// BITMAPINFOHEADER, 52/56 with colour masks, 64 for OS/2 2.x, 108 for V4,
// 124 for V5), optional colour masks, a palette (4 bytes an entry, 3 with the
// core header), then the rows: bottom-up unless the height is negative, each
// padded to a multiple of 4 bytes.
//
// Read: 1, 4 and 8 bits with a palette (kept: PixelFormat::Indexed1, PixelFormat::Indexed4,
// PixelFormat::Indexed8), RLE8 and RLE4 with deltas and end-of-line/end-of-bitmap codes, 16 bits
// (5-5-5 or bit-field masks) and 24 bits as PixelFormat::Bgr24, 32 bits (plain or bit-field masks)
// as PixelFormat::Bgrx32. Anything malformed throws "Bitmap image is not valid"; a
// picture over the size limit is refused before its pixels are allocated.
// Write: BITMAPINFOHEADER, bottom-up, in the bitmap's own depth (PixelFormat::Device as
// 32 bits), indexed formats with their palette.
#include "formats/BmpHeaders.h"
#include "formats/ByteReader.h"
#include "formats/ByteWriting.h"
#include "formats/FileWriting.h"
#include "formats/Readers.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillon {

namespace {

constexpr const char* kInvalid = "Bitmap image is not valid";

// Every fault of a bitmap file shows the same message; the kind says which.
[[noreturn]] void Invalid(PictureErrorKind kind = PictureErrorKind::Malformed) {
    throw PictureError(kInvalid, kind);
}
[[noreturn]] void Unsupported() {
    Invalid(PictureErrorKind::Unsupported);
}
[[noreturn]] void Truncated() {
    Invalid(PictureErrorKind::Truncated);
}

enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct BmpHeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0; // always positive; TopDown says the row order
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t Compression = kRgb;
    std::uint32_t Masks[3] = {0, 0, 0}; // red, green, blue
    std::vector<Color> Palette;
    std::size_t PixelOffset = 0;
};

// One colour channel taken from a bit-field mask, widened to 8 bits.
struct Channel {
    int Shift = 0;
    std::uint32_t Max = 0; // mask value after the shift; 0 for an empty mask

    explicit Channel(std::uint32_t mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
        if ((Max & (Max + 1)) != 0) Invalid(); // not one run of bits
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (Max == 0) return 0;
        const std::uint64_t v = (pixel >> Shift) & Max;
        return std::uint8_t((v * 255 + Max / 2) / Max);
    }
};

BmpHeader ParseHeader(ByteReader& r) {
    BmpHeader h;
    if (r.U8() != 'B' || r.U8() != 'M') Invalid();
    r.Skip(8); // file size and reserved words: not relied upon
    const std::uint32_t offBits = r.U32LE();
    const std::size_t infoStart = r.Position();
    const std::uint32_t infoSize = r.U32LE();
    const bool core = infoSize == 12;
    std::uint32_t clrUsed = 0;
    if (!core && (infoSize < 40 || infoSize > 1024)) Invalid();
    if (core) {
        h.Width = r.U16LE();
        h.Height = r.U16LE();
        r.Skip(2); // planes
        h.BitCount = r.U16LE();
    } else {
        h.Width = r.I32LE();
        const std::int32_t height = r.I32LE();
        h.TopDown = height < 0;
        h.Height = height < 0 ? -std::int64_t(height) : height;
        r.Skip(2); // planes
        h.BitCount = r.U16LE();
        h.Compression = r.U32LE();
        r.Skip(12); // image size, resolution
        clrUsed = r.U32LE();
        r.Skip(4);                                                  // important colours
        if (infoSize == 64 && h.Compression > kRle4) Unsupported(); // OS/2 Huffman and RLE24
        if (h.Compression == kBitFields || h.Compression == kAlphaBitFields) {
            // Masks follow a 40-byte header; larger headers hold them.
            r.Seek(infoStart + 40);
            for (auto& m : h.Masks) m = r.U32LE();
            if (infoSize == 40 && h.Compression == kAlphaBitFields) r.Skip(4);
            if (infoSize > 40) r.Seek(infoStart + infoSize);
        } else {
            r.Seek(infoStart + infoSize);
        }
    }
    if (h.Width < 0) Invalid();

    switch (h.BitCount) {
    case 1:
    case 4:
    case 8:
        if (h.Compression != kRgb && !(h.Compression == kRle8 && h.BitCount == 8) &&
            !(h.Compression == kRle4 && h.BitCount == 4))
            Unsupported();
        break;
    case 16:
    case 32:
        if (h.Compression != kRgb && h.Compression != kBitFields &&
            h.Compression != kAlphaBitFields)
            Unsupported();
        break;
    case 24:
        if (h.Compression != kRgb) Unsupported();
        break;
    default:
        Unsupported();
    }
    if (h.TopDown && (h.Compression == kRle8 || h.Compression == kRle4)) Invalid();
    if (h.Compression == kRgb && h.BitCount == 16) {
        h.Masks[0] = 0x7C00;
        h.Masks[1] = 0x03E0;
        h.Masks[2] = 0x001F;
    }

    // The palette: clrUsed entries (all 2^bits when 0 or too many), fewer
    // when the pixels start before the full table would end.
    const std::size_t entrySize = core ? 3 : 4;
    std::size_t count = 0;
    if (h.BitCount <= 8) {
        const std::size_t full = std::size_t(1) << h.BitCount;
        count = clrUsed == 0 || clrUsed > full ? full : clrUsed;
        if (offBits != 0 && offBits >= r.Position() && r.Position() + count * entrySize > offBits)
            count = (offBits - r.Position()) / entrySize;
        if (count == 0) Invalid();
    }
    h.Palette.resize(count);
    for (auto& c : h.Palette) {
        const auto e = r.Bytes(entrySize);
        c = RGB(e[2], e[1], e[0]);
    }
    h.PixelOffset = offBits != 0 ? offBits : r.Position();
    if (h.PixelOffset > r.Size()) Truncated();
    return h;
}

// Throws when a row of indexed pixels refers past the palette.
void CheckIndices(const std::uint8_t* row, int width, std::size_t paletteSize) {
    if (paletteSize >= 256) return;
    std::uint8_t highest = 0;
    for (int x = 0; x < width; ++x) highest = std::max(highest, row[x]);
    if (highest >= paletteSize) Invalid();
}

void ReadUncompressed(std::span<const std::uint8_t> data, const BmpHeader& h, Bitmap& out) {
    const int w = int(h.Width), height = int(h.Height);
    if (w == 0) return;
    const std::size_t rowBytes = ((std::size_t(w) * std::size_t(h.BitCount) + 31) / 32) * 4;
    const auto pixels = data.subspan(h.PixelOffset);
    // The last row needs only its pixels, not its padding.
    const std::size_t lastRow = (std::size_t(w) * std::size_t(h.BitCount) + 7) / 8;
    if (height > 0 && pixels.size() < rowBytes * std::size_t(height - 1) + lastRow) Truncated();

    const Channel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]);
    const bool plain32 = h.BitCount == 32 && h.Compression == kRgb;
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const std::uint8_t* s = pixels.data() + std::size_t(fileRow) * rowBytes;
        std::uint8_t* d = out.ScanLine(h.TopDown ? fileRow : height - 1 - fileRow);
        switch (h.BitCount) {
        case 1:
            for (int x = 0; x < w; ++x) d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1;
            break;
        case 4:
            for (int x = 0; x < w; ++x) d[x] = (x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4);
            break;
        case 8:
            std::memcpy(d, s, std::size_t(w));
            break;
        case 16:
            for (int x = 0; x < w; ++x, s += 2, d += 3) {
                const std::uint32_t v = std::uint32_t(s[0] | (s[1] << 8));
                d[0] = blue(v);
                d[1] = green(v);
                d[2] = red(v);
            }
            break;
        case 24:
            std::memcpy(d, s, std::size_t(w) * 3);
            break;
        case 32:
            if (plain32) {
                for (int x = 0; x < w; ++x, s += 4, d += 4) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                    d[3] = 0;
                }
            } else {
                for (int x = 0; x < w; ++x, s += 4, d += 4) {
                    const std::uint32_t v = std::uint32_t(s[0]) | (std::uint32_t(s[1]) << 8) |
                                            (std::uint32_t(s[2]) << 16) |
                                            (std::uint32_t(s[3]) << 24);
                    d[0] = blue(v);
                    d[1] = green(v);
                    d[2] = red(v);
                    d[3] = 0;
                }
            }
            break;
        }
        if (h.BitCount <= 8)
            CheckIndices(out.ScanLine(h.TopDown ? fileRow : height - 1 - fileRow), w,
                         h.Palette.size());
    }
}

// RLE8 and RLE4: pairs (count, value) repeat a value; (0, 0) ends a line,
// (0, 1) ends the bitmap, (0, 2, dx, dy) moves the cursor, (0, n) starts n
// literal pixels padded to a 16-bit boundary. Rows run bottom-up; pixels no
// code reaches stay at index 0. Some writers encode each row with its
// padding bytes, so a run or literal that goes past the row's end is cut
// there (the pixels past it are dropped); a code below the last row is
// still an error.
void ReadRle(std::span<const std::uint8_t> data, const BmpHeader& h, Bitmap& out) {
    ByteReader r(data.subspan(h.PixelOffset), "BMP");
    const int w = int(h.Width), height = int(h.Height);
    const bool four = h.Compression == kRle4;
    const std::size_t paletteSize = h.Palette.size();
    int x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](std::uint8_t index) {
        if (x < w) {
            if (index >= paletteSize) Invalid();
            out.ScanLine(height - 1 - y)[x] = index;
        }
        ++x;
    };
    for (;;) {
        if (r.AtEnd() && y >= height) break; // last line ended, no end-of-bitmap code
        const std::uint8_t count = r.U8();
        const std::uint8_t value = r.U8();
        if (count > 0) {
            if (y >= height) Invalid();
            if (four) {
                for (int i = 0; i < count; ++i) put((i & 1) ? (value & 0x0F) : (value >> 4));
            } else {
                for (int i = 0; i < count; ++i) put(value);
            }
            x = std::min(x, w);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            x += r.U8();
            y += r.U8();
            if (x > w || y > height) Invalid();
        } else { // literal run
            const int n = value;
            if (y >= height) Invalid();
            const std::size_t bytes = four ? (std::size_t(n) + 1) / 2 : std::size_t(n);
            const auto lit = r.Bytes(bytes);
            for (int i = 0; i < n; ++i)
                put(four ? ((i & 1) ? (lit[i >> 1] & 0x0F) : (lit[i >> 1] >> 4)) : lit[i]);
            x = std::min(x, w);
            if (bytes & 1) r.Skip(1);
        }
    }
}

} // namespace

void ReadBmp(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    BmpHeader h;
    try {
        ByteReader r(data, "BMP");
        h = ParseHeader(r);
    } catch (const PictureError& e) {
        Invalid(e.Kind());
    }
    // The budget holds for run-length files too, though their delta and
    // end-of-bitmap codes can leave any area blank in a few bytes.
    limits.CheckBudget("BMP", h.Width, h.Height, data.size());

    const PixelFormat format = h.BitCount == 1    ? PixelFormat::Indexed1
                               : h.BitCount == 4  ? PixelFormat::Indexed4
                               : h.BitCount == 8  ? PixelFormat::Indexed8
                               : h.BitCount == 32 ? PixelFormat::Bgrx32
                                                  : PixelFormat::Bgr24;
    // Uncompressed pixels must all be present before anything is allocated.
    if (h.Compression != kRle8 && h.Compression != kRle4) {
        const std::size_t rowBytes =
            ((std::size_t(h.Width) * std::size_t(h.BitCount) + 31) / 32) * 4;
        if (h.Height > 0 && rowBytes > 0 &&
            (data.size() - h.PixelOffset) / rowBytes < std::size_t(h.Height - 1))
            Truncated();
    }
    Bitmap picture(int(h.Width), int(h.Height), format);
    picture.Palette() = h.Palette;
    try {
        if (h.Compression == kRle8 || h.Compression == kRle4)
            ReadRle(data, h, picture);
        else
            ReadUncompressed(data, h, picture);
    } catch (const PictureError& e) {
        Invalid(e.Kind());
    }
    out.SwapPicture(picture);
}

namespace {

// One file row (rowBytes, padding zeroed) from a bitmap row of the given bits.
void PackRow(const std::uint8_t* s, int w, int bits, int bpp, std::uint8_t* d,
             std::size_t rowBytes) {
    std::memset(d, 0, rowBytes);
    switch (bits) {
    case 1:
        for (int x = 0; x < w; ++x) d[x >> 3] |= std::uint8_t((s[x] & 1) << (7 - (x & 7)));
        break;
    case 4:
        for (int x = 0; x < w; ++x) d[x >> 1] |= std::uint8_t((s[x] & 0x0F) << ((x & 1) ? 0 : 4));
        break;
    case 8:
    case 24:
        std::memcpy(d, s, std::size_t(w) * std::size_t(bpp));
        break;
    case 32:
        // The fourth byte of every pixel is written as zero.
        for (int x = 0; x < w; ++x, s += 4, d += 4) {
            std::uint32_t p;
            std::memcpy(&p, s, 4);
            p &= 0x00FFFFFFu; // little-endian: blue, green, red stay
            std::memcpy(d, &p, 4);
        }
        break;
    }
}

int FileBits(PixelFormat pf) {
    return pf == PixelFormat::Indexed1   ? 1
           : pf == PixelFormat::Indexed4 ? 4
           : pf == PixelFormat::Indexed8 ? 8
           : pf == PixelFormat::Bgr24    ? 24
                                         : 32;
}

std::size_t FileRowBytes(int width, int bits) {
    return ((std::size_t(width) * std::size_t(bits) + 31) / 32) * 4;
}

} // namespace

void PutBmpHeaders(std::vector<std::uint8_t>& out, const BmpHeaderFields& fields,
                   const std::vector<Color>& palette) {
    const auto offBits = std::uint32_t(14 + 40 + palette.size() * 4);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, fields.fileSize);
    PutLe32(out, 0);
    PutLe32(out, offBits);
    PutLe32(out, 40);
    PutLe32(out, std::uint32_t(fields.width));
    PutLe32(out, std::uint32_t(fields.height));
    PutLe16(out, 1);
    PutLe16(out, std::uint32_t(fields.bitsPerPixel));
    PutLe32(out, fields.compression);
    PutLe32(out, fields.imageBytes);
    PutLe32(out, fields.pixelsPerMetre);
    PutLe32(out, fields.pixelsPerMetre);
    PutLe32(out, std::uint32_t(palette.size()));
    PutLe32(out, 0);
    for (Color c : palette) {
        out.push_back(GetBValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetRValue(c));
        out.push_back(0);
    }
}

void WriteBmp(const Bitmap& bitmap, ByteSink& sink) {
    const int w = bitmap.Width(), h = bitmap.Height();
    const int bits = FileBits(bitmap.format());
    const std::size_t rowBytes = FileRowBytes(w, bits);

    // An indexed bitmap writes its palette, extended with black so that
    // every index in use has an entry (such pixels read as black).
    std::vector<Color> palette;
    if (bitmap.IsIndexed()) {
        palette = bitmap.Palette();
        const std::size_t limit = std::size_t(1) << bits;
        std::size_t needed = 0;
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* s = bitmap.ScanLine(y);
            for (int x = 0; x < w; ++x) needed = std::max<std::size_t>(needed, s[x] & (limit - 1));
        }
        if (palette.size() < needed + 1) palette.resize(needed + 1, kBlack);
        if (palette.size() > limit) palette.resize(limit);
    }
    const std::uint32_t offBits = std::uint32_t(14 + 40 + palette.size() * 4);
    const std::uint64_t fileSize = offBits + rowBytes * std::uint64_t(h);
    if (fileSize > 0xFFFFFFFFu) throw PictureError("Picture is too large for a bitmap file");

    std::vector<std::uint8_t> v;
    v.reserve(offBits);
    PutBmpHeaders(
        v, {std::uint32_t(fileSize), w, h, bits, kRgb, std::uint32_t(rowBytes * std::size_t(h)), 0},
        palette);
    sink.Write(v);
    if (w == 0 || h == 0) return;

    // The rows go bottom-up, a block of them at a time.
    const int bpp = bitmap.BytesPerPixel();
    const int rowsPerBlock = int(std::clamp<std::size_t>((256 * 1024) / rowBytes, 1, 1024));
    std::vector<std::uint8_t> block(rowBytes * std::size_t(rowsPerBlock));
    for (int y = 0; y < h;) {
        const int n = std::min(rowsPerBlock, h - y);
        for (int i = 0; i < n; ++i, ++y)
            PackRow(bitmap.ScanLine(h - 1 - y), w, bits, bpp,
                    block.data() + std::size_t(i) * rowBytes, rowBytes);
        sink.Write(std::span<const std::uint8_t>(block.data(), std::size_t(n) * rowBytes));
    }
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap) {
    MemorySink sink;
    // Room for the headers, the largest palette and the rows.
    sink.Bytes().reserve(14 + 40 + 256 * 4 +
                         FileRowBytes(bitmap.Width(), FileBits(bitmap.format())) *
                             std::size_t(bitmap.Height()));
    WriteBmp(bitmap, sink);
    return std::move(sink.Bytes());
}

} // namespace quillon
