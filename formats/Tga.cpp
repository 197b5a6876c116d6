// Truevision TGA reader.
//
// Layout (little-endian): an 18-byte header (image-ID length, colour-map
// type, image type, colour-map first index, length and entry size, x and y
// origin, width, height, pixel depth, descriptor), the image-ID field, the
// colour map, then the pixels. Descriptor bit 5 set means the first stored
// row is the top one (otherwise the bottom one), bit 4 set means rows run
// right to left; its low four bits count the alpha bits of a pixel.
// Image types: 1 colour-mapped, 2 true colour, 3 gray; 9, 10, 11 are the
// same run-length encoded: a packet byte whose high bit marks a run of one
// pixel value repeated, else a raw packet, with (low seven bits + 1) pixels.
// Packets may run on from one row into the next, as many writers do, but
// never past the end of the picture.
// Depths: mapped 8 bits (entries of 15/16, 24 or 32 bits); true colour
// 15/16 (5-5-5), 24, 32 bits (with alpha); gray 8 bits, 16 bits gray+alpha.
//
// Mapped and gray pictures become PixelFormat::Indexed8 with a palette, true colour
// PixelFormat::Bgr24. Alpha is composited over white; a 32-bit picture whose alpha bytes are all
// zero is taken as opaque (writers that leave the byte unused fill it with 0).
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

struct TgaHeader {
    int IdLength, ColorMapType, ImageType;
    int MapFirst, MapLength, MapEntryBits;
    int Width, Height, PixelBits, Descriptor;
};

std::uint8_t Expand5(int v) {
    return std::uint8_t((v << 3) | (v >> 2));
}

// A 15- or 16-bit pixel (x rrrrr ggggg bbbbb, little-endian) as blue, green, red.
void Unpack555(const std::uint8_t* p, std::uint8_t* bgr) {
    const int v = p[0] | (p[1] << 8);
    bgr[0] = Expand5(v & 31);
    bgr[1] = Expand5((v >> 5) & 31);
    bgr[2] = Expand5((v >> 10) & 31);
}

std::uint8_t OverWhite(int c, int a) {
    return std::uint8_t((c * a + 255 * (255 - a) + 127) / 255);
}

Color MapEntryColour(const std::uint8_t* p, int bytes) {
    std::uint8_t bgr[3];
    if (bytes == 2)
        Unpack555(p, bgr);
    else
        std::copy(p, p + 3, bgr);
    return RGB(bgr[2], bgr[1], bgr[0]);
}

// Reads the pixel bytes of the picture in file order into one buffer,
// expanding run-length packets.
std::vector<std::uint8_t> ReadPixelBytes(ByteReader& in, std::size_t pixels, int bpp, bool rle) {
    const std::size_t total = pixels * std::size_t(bpp);
    if (!rle) {
        const auto src = in.Bytes(total);
        return {src.begin(), src.end()};
    }
    std::vector<std::uint8_t> buf(total);
    std::size_t done = 0;
    while (done < total) {
        const std::uint8_t packet = in.U8();
        const std::size_t count = std::size_t(packet & 0x7F) + 1;
        if (done + count * std::size_t(bpp) > total)
            in.Malformed("has a run past the end of the picture");
        if (packet & 0x80) {
            const auto value = in.Bytes(std::size_t(bpp));
            for (std::size_t i = 0; i < count; ++i, done += std::size_t(bpp))
                std::copy(value.begin(), value.end(), buf.begin() + std::ptrdiff_t(done));
        } else {
            const auto src = in.Bytes(count * std::size_t(bpp));
            std::copy(src.begin(), src.end(), buf.begin() + std::ptrdiff_t(done));
            done += src.size();
        }
    }
    return buf;
}

// Converts one stored row of true-colour or gray+alpha pixels to blue,
// green, red.
void ConvertRow(const std::uint8_t* src, std::uint8_t* dst, int width, int bits, bool gray,
                bool useAlpha) {
    if (gray) { // 16-bit gray: gray then alpha
        for (int x = 0; x < width; ++x, src += 2, dst += 3)
            dst[0] = dst[1] = dst[2] = useAlpha ? OverWhite(src[0], src[1]) : src[0];
        return;
    }
    switch (bits) {
    case 15:
    case 16:
        for (int x = 0; x < width; ++x, src += 2, dst += 3) Unpack555(src, dst);
        break;
    case 24:
        std::copy(src, src + std::size_t(width) * 3, dst);
        break;
    case 32:
        for (int x = 0; x < width; ++x, src += 4, dst += 3) {
            if (useAlpha) {
                for (int c = 0; c < 3; ++c) dst[c] = OverWhite(src[c], src[3]);
            } else {
                dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
            }
        }
        break;
    }
}

} // namespace

void ReadTga(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader in(data, "TGA");
    TgaHeader h;
    h.IdLength = in.U8();
    h.ColorMapType = in.U8();
    h.ImageType = in.U8();
    h.MapFirst = in.U16LE();
    h.MapLength = in.U16LE();
    h.MapEntryBits = in.U8();
    in.Skip(4); // x and y origin: where a screen would show the picture
    h.Width = in.U16LE();
    h.Height = in.U16LE();
    h.PixelBits = in.U8();
    h.Descriptor = in.U8();

    const int kind = h.ImageType & 7; // 1 mapped, 2 true colour, 3 gray
    const bool rle = h.ImageType & 8;
    if (h.ImageType == 0) in.Unsupported("holds no picture");
    if (kind < 1 || kind > 3 || (h.ImageType & ~0xB)) in.Unsupported("has an unknown image type");
    if (h.ColorMapType > 1) in.Unsupported("has an unknown colour map type");
    const bool mapped = kind == 1, gray = kind == 3;
    const bool depthOk =
        mapped ? h.PixelBits == 8
        : gray ? (h.PixelBits == 8 || h.PixelBits == 16)
               : (h.PixelBits == 15 || h.PixelBits == 16 || h.PixelBits == 24 || h.PixelBits == 32);
    if (!depthOk) in.Unsupported("has an unsupported pixel depth");
    if (mapped && h.ColorMapType != 1) in.Malformed("has no colour map");

    in.Skip(std::size_t(h.IdLength));

    // The colour map; a true-colour picture may carry one, which is skipped.
    std::vector<Color> map;
    if (h.ColorMapType == 1) {
        const int entryBytes = (h.MapEntryBits + 7) / 8;
        const auto entries = in.Bytes(std::size_t(h.MapLength) * std::size_t(entryBytes));
        if (mapped) {
            if (h.MapEntryBits != 15 && h.MapEntryBits != 16 && h.MapEntryBits != 24 &&
                h.MapEntryBits != 32)
                in.Unsupported("has an unsupported colour map entry size");
            map.reserve(std::size_t(h.MapLength));
            for (int i = 0; i < h.MapLength; ++i)
                map.push_back(MapEntryColour(entries.data() + i * entryBytes, entryBytes));
        }
    }

    const int bpp = (h.PixelBits + 7) / 8;
    const std::size_t pixels = std::size_t(h.Width) * std::size_t(h.Height);
    // A run packet of up to 128 pixels takes at least 1 + bpp bytes.
    const std::uint64_t minBytes = rle ? (pixels + 127) / 128 * std::uint64_t(1 + bpp)
                                       : std::uint64_t(pixels) * std::uint64_t(bpp);
    if (minBytes > in.Remaining()) in.Truncated();
    limits.CheckBudget(in.FormatName(), h.Width, h.Height, data.size());

    const std::vector<std::uint8_t> raw = ReadPixelBytes(in, pixels, bpp, rle);

    const bool useAlpha =
        (h.PixelBits == 32 || (gray && h.PixelBits == 16)) &&
        [&] { // an alpha channel that is zero everywhere is an unused byte
            for (std::size_t i = std::size_t(bpp) - 1; i < raw.size(); i += std::size_t(bpp))
                if (raw[i] != 0) return true;
            return false;
        }();

    const bool indexed = mapped || (gray && h.PixelBits == 8);
    Bitmap local(h.Width, h.Height, indexed ? PixelFormat::Indexed8 : PixelFormat::Bgr24);
    if (mapped) {
        // Indices count from the map's first index; anything outside the
        // map is refused rather than shown as an arbitrary colour.
        const int paletteSize = std::min(256, h.MapFirst + h.MapLength);
        std::vector<Color> palette(std::size_t(std::max(paletteSize, 1)), kBlack);
        std::vector<bool> valid(256, false);
        for (int i = h.MapFirst; i < paletteSize; ++i) {
            palette[std::size_t(i)] = map[std::size_t(i - h.MapFirst)];
            valid[std::size_t(i)] = true;
        }
        for (std::uint8_t v : raw)
            if (!valid[v]) in.Malformed("has a colour index outside its colour map");
        local.Palette() = std::move(palette);
    } else if (indexed) {
        auto& palette = local.Palette();
        palette.resize(256);
        for (int i = 0; i < 256; ++i) palette[std::size_t(i)] = RGB(i, i, i);
    }

    const bool topDown = h.Descriptor & 0x20;
    const bool rightToLeft = h.Descriptor & 0x10;
    const std::size_t rowBytes = std::size_t(h.Width) * std::size_t(bpp);
    for (int y = 0; y < h.Height; ++y) {
        const std::uint8_t* src = raw.data() + std::size_t(y) * rowBytes;
        std::uint8_t* dst = local.ScanLine(topDown ? y : h.Height - 1 - y);
        if (indexed)
            std::copy(src, src + rowBytes, dst);
        else
            ConvertRow(src, dst, h.Width, h.PixelBits, gray, useAlpha);
        if (rightToLeft) {
            const int opp = local.BytesPerPixel();
            for (int a = 0, b = h.Width - 1; a < b; ++a, --b)
                std::swap_ranges(dst + a * opp, dst + (a + 1) * opp, dst + b * opp);
        }
    }
    out.SwapPicture(local);
}

} // namespace quillon
