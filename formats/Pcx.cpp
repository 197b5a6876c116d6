// ZSoft PCX reader.
//
// Layout (little-endian): a 128-byte header (manufacturer 0x0A, version,
// encoding, bits per pixel per plane, window xmin, ymin, xmax, ymax, two
// resolutions, a 16-entry EGA palette of red, green, blue bytes, a reserved
// byte, the plane count, bytes per line of one plane, palette kind, screen
// size, filler), then the rows top to bottom. Each row holds every plane in
// turn, bytes-per-line bytes each (at least the pixels need, often padded to
// an even count). Encoding 1 compresses the rows: a byte with both high bits
// set carries a repeat count in its low six bits for the byte after it; any
// other byte stands for itself. Runs may carry on from one row into the
// next, as some writers do, but never past the end of the picture.
// Variants: 1 bit in 1 plane (black and white); 1 bit in 2 to 4 planes and
// 2 or 4 bits in 1 plane (EGA/CGA palette of the header); 8 bits in 1 plane
// (the VGA palette: 0x0C then 768 bytes at the end of the file, gray when
// absent); 8 bits in 3 planes (red, green, blue) or 4 (plus alpha).
//
// Palette pictures become PixelFormat::Indexed1, PixelFormat::Indexed4 or PixelFormat::Indexed8
// with their palette, the others PixelFormat::Bgr24; alpha is composited over white.
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

struct PcxHeader {
    int Encoding, BitsPerPixel, Planes, BytesPerLine;
    int Width, Height;
    std::span<const std::uint8_t> EgaPalette;
};

// The decoded rows, every plane of every row, in file order.
std::vector<std::uint8_t> DecodeRows(ByteReader& in, std::size_t total, bool rle) {
    if (!rle) {
        const auto src = in.Bytes(total);
        return {src.begin(), src.end()};
    }
    std::vector<std::uint8_t> buf(total);
    std::size_t done = 0;
    while (done < total) {
        std::uint8_t b = in.U8();
        std::size_t count = 1;
        if ((b & 0xC0) == 0xC0) {
            count = b & 0x3F;
            b = in.U8();
            if (done + count > total) in.Malformed("has a run past the end of the picture");
        }
        std::fill_n(buf.begin() + std::ptrdiff_t(done), count, b);
        done += count;
    }
    return buf;
}

std::uint8_t OverWhite(int c, int a) {
    return std::uint8_t((c * a + 255 * (255 - a) + 127) / 255);
}

// The 256-colour palette at the end of the file, if there is one.
bool VgaPalette(std::span<const std::uint8_t> data, std::vector<Color>& palette) {
    if (data.size() < 128 + 769 || data[data.size() - 769] != 0x0C) return false;
    const std::uint8_t* p = data.data() + data.size() - 768;
    palette.resize(256);
    for (int i = 0; i < 256; ++i, p += 3) palette[std::size_t(i)] = RGB(p[0], p[1], p[2]);
    return true;
}

void ReadIndexed(const PcxHeader& h, const std::vector<std::uint8_t>& rows,
                 std::span<const std::uint8_t> data, Bitmap& bmp) {
    const int bits = h.BitsPerPixel * h.Planes; // bits of a palette index
    auto& palette = bmp.Palette();
    if (bits == 1) {
        palette = {kBlack, kWhite};
    } else if (bits == 8) {
        if (!VgaPalette(data, palette)) {
            palette.resize(256);
            for (int i = 0; i < 256; ++i) palette[std::size_t(i)] = RGB(i, i, i);
        }
    } else {
        palette.resize(std::size_t(1) << bits);
        for (std::size_t i = 0; i < palette.size(); ++i)
            palette[i] = RGB(h.EgaPalette[3 * i], h.EgaPalette[3 * i + 1], h.EgaPalette[3 * i + 2]);
    }

    const std::size_t lineBytes = std::size_t(h.BytesPerLine) * std::size_t(h.Planes);
    const int bpp = h.BitsPerPixel;
    const int mask = (1 << bpp) - 1;
    for (int y = 0; y < h.Height; ++y) {
        const std::uint8_t* line = rows.data() + std::size_t(y) * lineBytes;
        std::uint8_t* dst = bmp.ScanLine(y);
        if (bpp == 8) {
            std::copy(line, line + h.Width, dst);
            continue;
        }
        std::fill(dst, dst + h.Width, 0);
        // Plane p contributes bit p of each index (one plane: the whole index).
        for (int p = 0; p < h.Planes; ++p) {
            const std::uint8_t* plane = line + std::size_t(p) * std::size_t(h.BytesPerLine);
            for (int x = 0; x < h.Width; ++x) {
                const int bit = x * bpp;
                const int v = (plane[bit >> 3] >> (8 - bpp - (bit & 7))) & mask;
                dst[x] = std::uint8_t(dst[x] | (v << p));
            }
        }
    }
}

void ReadTrueColour(const PcxHeader& h, const std::vector<std::uint8_t>& rows, Bitmap& bmp) {
    const std::size_t lineBytes = std::size_t(h.BytesPerLine) * std::size_t(h.Planes);
    for (int y = 0; y < h.Height; ++y) {
        const std::uint8_t* r = rows.data() + std::size_t(y) * lineBytes;
        const std::uint8_t* g = r + h.BytesPerLine;
        const std::uint8_t* b = g + h.BytesPerLine;
        const std::uint8_t* a = h.Planes == 4 ? b + h.BytesPerLine : nullptr;
        std::uint8_t* dst = bmp.ScanLine(y);
        for (int x = 0; x < h.Width; ++x, dst += 3) {
            if (a) {
                dst[0] = OverWhite(b[x], a[x]);
                dst[1] = OverWhite(g[x], a[x]);
                dst[2] = OverWhite(r[x], a[x]);
            } else {
                dst[0] = b[x], dst[1] = g[x], dst[2] = r[x];
            }
        }
    }
}

} // namespace

void ReadPcx(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader in(data, "PCX");
    if (in.Size() < 128) in.Truncated();
    if (in.U8() != 0x0A) in.Malformed("is not a PCX picture");
    in.Skip(1); // version: the layout below says all that matters
    PcxHeader h;
    h.Encoding = in.U8();
    h.BitsPerPixel = in.U8();
    const int xMin = in.U16LE(), yMin = in.U16LE(), xMax = in.U16LE(), yMax = in.U16LE();
    in.Skip(4); // resolutions
    h.EgaPalette = in.Bytes(48);
    in.Skip(1);
    h.Planes = in.U8();
    h.BytesPerLine = in.U16LE();
    in.Seek(128);

    if (h.Encoding > 1) in.Unsupported("has an unknown compression");
    const int bpp = h.BitsPerPixel, planes = h.Planes;
    const bool indexed = (bpp == 1 && planes >= 1 && planes <= 4) ||
                         ((bpp == 2 || bpp == 4 || bpp == 8) && planes == 1);
    const bool trueColour = bpp == 8 && (planes == 3 || planes == 4);
    if (!indexed && !trueColour) in.Unsupported("has an unsupported colour mode");
    if (xMax < xMin || yMax < yMin) in.Malformed("has an invalid picture size");
    h.Width = xMax - xMin + 1;
    h.Height = yMax - yMin + 1;
    if (std::int64_t(h.BytesPerLine) * 8 < std::int64_t(h.Width) * bpp)
        in.Malformed("has lines too short for its width");

    const std::uint64_t total =
        std::uint64_t(h.BytesPerLine) * std::uint64_t(planes) * std::uint64_t(h.Height);
    // A compressed byte pair expands to at most 63 bytes.
    const std::uint64_t minBytes = h.Encoding == 1 ? (total + 62) / 63 : total;
    if (minBytes > in.Remaining()) in.Truncated();
    limits.CheckBudget(in.FormatName(), h.Width, h.Height, data.size());

    const std::vector<std::uint8_t> rows = DecodeRows(in, std::size_t(total), h.Encoding == 1);
    const int indexBits = bpp * planes;
    Bitmap local(h.Width, h.Height,
                 trueColour       ? PixelFormat::Bgr24
                 : indexBits == 1 ? PixelFormat::Indexed1
                 : indexBits <= 4 ? PixelFormat::Indexed4
                                  : PixelFormat::Indexed8);
    if (indexed)
        ReadIndexed(h, rows, data, local);
    else
        ReadTrueColour(h, rows, local);
    out.SwapPicture(local);
}

} // namespace quillon
