// Autodesk Animator picture (PIC) and cel (CEL) reader.
//
// Layout (little-endian): a 32-byte header (id 0x9119, width, height, x and
// y offset, bits per pixel = 8, compression flag = 0, image data size, 16
// reserved bytes), a 768-byte palette of 256 red, green, blue triples with
// components 0..63, then one palette index per pixel, rows top to bottom.
// The x and y offsets place a cel on the screen and do not change the
// picture. Output: PixelFormat::Indexed8 with the palette scaled to 0..255.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <algorithm>

namespace quillon {

void ReadAutodesk(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
                  const DecodeLimits& limits) {
    ByteReader r(data, "Autodesk Animator");
    if (r.Size() < 2 || r.U16LE() != 0x9119) r.Malformed("is not an Autodesk Animator picture");
    const int width = r.U16LE();
    const int height = r.U16LE();
    r.Skip(4); // screen position of a cel
    const int bits = r.U8();
    const int compression = r.U8();
    r.Skip(4 + 16); // data size (recomputed below), reserved
    if (bits != 8) r.Unsupported("has an unsupported pixel depth (" + std::to_string(bits) + ")");
    if (compression != 0)
        r.Unsupported("uses an unsupported compression (" + std::to_string(compression) + ")");
    if (width == 0 || height == 0) {
        Bitmap empty; // no pixels: an empty picture, which the shell reports
        out.SwapPicture(empty);
        return;
    }
    limits.CheckBudget(r.FormatName(), width, height, data.size());

    auto rgb = r.Bytes(768);
    std::vector<Color> palette(256);
    for (std::size_t i = 0; i < 256; ++i) {
        const auto c = [&](std::size_t k) { return ScaleTo8(rgb[3 * i + k], 63); };
        palette[i] = RGB(c(0), c(1), c(2));
    }

    const std::size_t rowBytes = std::size_t(width);
    r.Need(rowBytes * std::size_t(height));
    Bitmap local(width, height, PixelFormat::Indexed8);
    local.Palette() = std::move(palette);
    for (int y = 0; y < height; ++y) {
        auto row = r.Bytes(rowBytes);
        std::copy(row.begin(), row.end(), local.ScanLine(y));
    }
    out.SwapPicture(local);
}

} // namespace quillon
