// SGI image reader.
//
// Layout (big-endian): a 512-byte header (magic 474, storage 0 = verbatim or
// 1 = RLE, bytes per channel 1 or 2, dimension, x size, y size, channel
// count, pixel range, name, colour-map kind), then the pixels as planes,
// one channel after another, rows bottom to top. Verbatim planes are plain
// rows; RLE files have a table of row offsets and a table of row lengths
// (index y + channel * ysize), each row being packets whose count byte (or
// word, at 2 bytes per channel) says: low 7 bits = count, high bit = that
// many literal values follow, clear = the next value repeats; 0 ends the row.
//
// Handled: 1 channel (gray), 2 (gray + alpha), 3 (RGB), 4 or more (RGBA,
// channels past the fourth ignored); 8 and 16 bits per channel (16 bits keep
// their high byte); alpha is laid over white. Output: PixelFormat::Bgr24.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quillon {

namespace {

constexpr std::size_t kHeaderSize = 512;

struct SgiHeader {
    bool rle = false;
    int bpc = 1;
    int width = 0, height = 0, channels = 0;
};

SgiHeader ReadHeader(ByteReader& r) {
    if (r.Size() < kHeaderSize) r.Truncated();
    if (r.U16BE() != 474) r.Malformed("is not an SGI image");
    SgiHeader h;
    const int storage = r.U8();
    h.bpc = r.U8();
    const int dimension = r.U16BE();
    h.width = r.U16BE();
    h.height = r.U16BE();
    h.channels = r.U16BE();
    r.Seek(104);
    const std::uint32_t colorMap = r.U32BE();
    if (storage > 1)
        r.Unsupported("uses an unknown storage kind (" + std::to_string(storage) + ")");
    h.rle = storage == 1;
    if (h.bpc != 1 && h.bpc != 2)
        r.Unsupported("has an unsupported channel size (" + std::to_string(h.bpc) + " bytes)");
    if (colorMap != 0)
        r.Unsupported("uses an unsupported colour map kind (" + std::to_string(colorMap) + ")");
    switch (dimension) {
    case 1:
        h.height = 1;
        h.channels = 1;
        break;
    case 2:
        h.channels = 1;
        break;
    case 3:
        break;
    default:
        r.Unsupported("has an unknown dimension (" + std::to_string(dimension) + ")");
    }
    return h;
}

// Decodes one RLE row of width values from data[pos..] into row.
void DecodeRleRow(ByteReader& r, std::size_t pos, int bpc, std::vector<std::uint16_t>& row) {
    r.Seek(pos);
    const auto next = [&]() -> unsigned { return bpc == 1 ? r.U8() : r.U16BE(); };
    std::size_t x = 0;
    const std::size_t width = row.size();
    for (;;) {
        const unsigned code = next();
        const std::size_t count = code & 0x7F;
        if (count == 0) break;
        if (count > width - x) r.Malformed("has an RLE run past the end of a row");
        if (code & 0x80) {
            r.Need(count * std::size_t(bpc));
            for (std::size_t i = 0; i < count; ++i) row[x++] = std::uint16_t(next());
        } else {
            const std::uint16_t v = std::uint16_t(next());
            std::fill_n(row.begin() + std::ptrdiff_t(x), count, v);
            x += count;
        }
    }
    std::fill(row.begin() + std::ptrdiff_t(x), row.end(), std::uint16_t(0));
}

void ReadVerbatimRow(ByteReader& r, std::size_t pos, int bpc, std::vector<std::uint16_t>& row) {
    r.Seek(pos);
    auto bytes = r.Bytes(row.size() * std::size_t(bpc));
    if (bpc == 1)
        std::copy(bytes.begin(), bytes.end(), row.begin());
    else
        for (std::size_t x = 0; x < row.size(); ++x)
            row[x] = std::uint16_t((bytes[2 * x] << 8) | bytes[2 * x + 1]);
}

} // namespace

void ReadSgi(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader r(data, "SGI");
    const SgiHeader h = ReadHeader(r);
    if (h.width == 0 || h.height == 0 || h.channels == 0) {
        Bitmap empty; // no pixels: an empty picture, which the shell reports
        out.SwapPicture(empty);
        return;
    }
    limits.CheckBudget(r.FormatName(), h.width, h.height, data.size());
    const int used = std::min(h.channels, 4);
    const std::size_t width = std::size_t(h.width), height = std::size_t(h.height);

    std::vector<std::uint32_t> starts;
    if (h.rle) {
        // Offsets for every channel of the file, then as many lengths.
        const std::size_t entries = height * std::size_t(h.channels);
        r.Seek(kHeaderSize);
        r.Need(entries * 8);
        starts.resize(entries);
        for (auto& s : starts) s = r.U32BE();
    } else {
        const std::size_t planes = std::size_t(used);
        if (data.size() - kHeaderSize < planes * height * width * std::size_t(h.bpc)) r.Truncated();
    }

    Bitmap local(h.width, h.height, PixelFormat::Bgr24);
    std::array<std::vector<std::uint16_t>, 4> rows;
    for (int c = 0; c < used; ++c) rows[std::size_t(c)].resize(width);
    const int shift = h.bpc == 2 ? 8 : 0;

    for (std::size_t y = 0; y < height; ++y) {
        for (int c = 0; c < used; ++c) {
            const std::size_t plane = std::size_t(c) * height + y;
            if (h.rle)
                DecodeRleRow(r, starts[plane], h.bpc, rows[std::size_t(c)]);
            else
                ReadVerbatimRow(r, kHeaderSize + plane * width * std::size_t(h.bpc), h.bpc,
                                rows[std::size_t(c)]);
        }
        std::uint8_t* dst = local.ScanLine(int(height - 1 - y));
        const auto v = [&](int c, std::size_t x) {
            return unsigned(rows[std::size_t(c)][x] >> shift);
        };
        for (std::size_t x = 0; x < width; ++x, dst += 3) {
            unsigned red, green, blue, alpha = 255;
            if (used < 3) {
                red = green = blue = v(0, x);
                if (used == 2) alpha = v(1, x);
            } else {
                red = v(0, x);
                green = v(1, x);
                blue = v(2, x);
                if (used == 4) alpha = v(3, x);
            }
            dst[0] = OverWhite(blue, alpha);
            dst[1] = OverWhite(green, alpha);
            dst[2] = OverWhite(red, alpha);
        }
    }
    out.SwapPicture(local);
}

} // namespace quillon
