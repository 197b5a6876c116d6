#include "tools/Rle8Bmp.h"

#include "canvas/Bitmap.h"
#include "formats/BmpHeaders.h"

#include <stdexcept>

namespace quillon {

namespace {

void Set32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = std::uint8_t(x >> (8 * i));
}

// The length of the run of equal indices starting at i, at most 255.
int RunLength(const std::uint8_t* row, int i, int width) {
    int n = 1;
    while (i + n < width && n < 255 && row[i + n] == row[i]) ++n;
    return n;
}

void EncodeRow(const std::uint8_t* row, int width, std::vector<std::uint8_t>& out) {
    int i = 0;
    while (i < width) {
        const int run = RunLength(row, i, width);
        if (run >= 3) {
            out.push_back(std::uint8_t(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // A literal stretch runs up to the next repeat of three or more.
        int n = 0;
        while (i + n < width && n < 255 && RunLength(row, i + n, width) < 3) ++n;
        if (n < 3) {
            // Literal runs of one or two would read as escape codes.
            for (int k = 0; k < n; ++k) {
                out.push_back(1);
                out.push_back(row[i + k]);
            }
        } else {
            out.push_back(0);
            out.push_back(std::uint8_t(n));
            out.insert(out.end(), row + i, row + i + n);
            if (n % 2) out.push_back(0); // literal runs end on a 16-bit boundary
        }
        i += n;
    }
    out.push_back(0); // end of line
    out.push_back(0);
}

} // namespace

std::vector<std::uint8_t> EncodeRle8Bmp(const Bitmap& indexed) {
    if (indexed.format() != PixelFormat::Indexed8)
        throw std::invalid_argument("an RLE8 bitmap needs an 8-bit indexed picture");
    const int w = indexed.Width(), h = indexed.Height();
    const std::vector<Color>& palette = indexed.Palette();
    if (palette.empty() || palette.size() > 256)
        throw std::invalid_argument("an RLE8 bitmap needs a palette of 1..256 colours");
    const std::uint32_t offBits = std::uint32_t(14 + 40 + palette.size() * 4);

    std::vector<std::uint8_t> v;
    // The file and pixel data sizes are set once the rows are coded.
    PutBmpHeaders(v, {0, w, h, 8, 1 /* RLE8 */, 0, 2835}, palette);
    for (int y = h - 1; y >= 0; --y) EncodeRow(indexed.ScanLine(y), w, v);
    v.push_back(0); // end of bitmap
    v.push_back(1);
    Set32(v, 2, std::uint32_t(v.size()));
    Set32(v, 34, std::uint32_t(v.size() - offBits));
    return v;
}

} // namespace quillon
