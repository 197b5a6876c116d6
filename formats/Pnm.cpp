// Portable anymap reader (PBM, PGM, PPM).
//
// Layout: a magic "P1" to "P6", then whitespace-separated decimal header
// numbers (width, height and, except for bitmaps, the maximum sample value),
// with '#' comments running to the end of a line anywhere between them.
//   P1 / P4  bitmap, ASCII digits / packed bits (rows padded to a byte), 1 = black
//   P2 / P5  gray map, ASCII numbers / binary samples
//   P3 / P6  colour map (red, green, blue), ASCII numbers / binary samples
// Binary samples are one byte when the maximum is below 256, otherwise two
// bytes, most significant first. A single whitespace byte ends the header of
// the binary kinds. Only the first picture of a multi-picture file is read.
//
// Samples are scaled from 0..maxval to 0..255 with rounding; a sample above
// maxval counts as maxval. Bitmaps become PixelFormat::Indexed1 (white, black), gray maps
// PixelFormat::Indexed8 with a gray palette, colour maps PixelFormat::Bgr24.
#include "formats/ByteReader.h"
#include "formats/Readers.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

bool IsSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Skips whitespace and comments before the next header number or ASCII sample.
void SkipSeparators(ByteReader& in) {
    while (!in.AtEnd()) {
        const std::uint8_t c = in.Rest()[0];
        if (IsSpace(c)) {
            in.Skip(1);
        } else if (c == '#') {
            while (!in.AtEnd() && in.Rest()[0] != '\n' && in.Rest()[0] != '\r') in.Skip(1);
        } else {
            return;
        }
    }
}

// A decimal number of the header or an ASCII sample; refuses anything that is
// not a digit and values above limit (an error of kind overLimit).
unsigned ReadNumber(ByteReader& in, std::uint64_t limit, const char* what,
                    PictureErrorKind overLimit = PictureErrorKind::Malformed) {
    SkipSeparators(in);
    if (in.AtEnd()) in.Truncated();
    if (!std::isdigit(in.Rest()[0])) in.Malformed(std::string("has an invalid ") + what);
    std::uint64_t value = 0;
    while (!in.AtEnd() && std::isdigit(in.Rest()[0])) {
        value = value * 10 + (in.U8() - '0');
        if (value > limit) in.Fail(overLimit, std::string("has an invalid ") + what);
    }
    return unsigned(value);
}

// Maps every sample value 0..maxval to 0..255, rounding. The table covers
// every value a sample can hold (one byte, or two when maxval is above 255);
// values above maxval map to 255.
std::vector<std::uint8_t> ScaleTable(unsigned maxval) {
    std::vector<std::uint8_t> table(maxval > 255 ? 65536 : 256, 255);
    for (unsigned v = 0; v <= maxval; ++v)
        table[v] = std::uint8_t((v * 255u + maxval / 2) / maxval);
    return table;
}

std::vector<Color> GrayPalette() {
    std::vector<Color> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = RGB(i, i, i);
    return palette;
}

void ReadAsciiBitmap(ByteReader& in, Bitmap& bmp) {
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x) {
            SkipSeparators(in);
            const std::uint8_t c = in.U8();
            if (c != '0' && c != '1') in.Malformed("has an invalid pixel value");
            row[x] = std::uint8_t(c - '0');
        }
    }
}

void ReadBinaryBitmap(ByteReader& in, Bitmap& bmp) {
    const std::size_t rowBytes = (std::size_t(bmp.Width()) + 7) / 8;
    for (int y = 0; y < bmp.Height(); ++y) {
        const auto src = in.Bytes(rowBytes);
        std::uint8_t* row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x) row[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

// Samples of gray or colour maps: channels per pixel (1 or 3), stored in
// the bitmap's byte order (blue first for colour).
void ReadAsciiSamples(ByteReader& in, Bitmap& bmp, int channels,
                      const std::vector<std::uint8_t>& scale) {
    const std::size_t samples = std::size_t(bmp.Width()) * std::size_t(channels);
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* row = bmp.ScanLine(y);
        for (std::size_t i = 0; i < samples; ++i) {
            row[i] = scale[std::min<std::size_t>(ReadNumber(in, 65535, "pixel value"),
                                                 scale.size() - 1)];
        }
        if (channels == 3)
            for (int x = 0; x < bmp.Width(); ++x) std::swap(row[3 * x], row[3 * x + 2]);
    }
}

void ReadBinarySamples(ByteReader& in, Bitmap& bmp, int channels, bool wide,
                       const std::vector<std::uint8_t>& scale) {
    const std::size_t samples = std::size_t(bmp.Width()) * std::size_t(channels);
    for (int y = 0; y < bmp.Height(); ++y) {
        const auto src = in.Bytes(samples * (wide ? 2 : 1));
        std::uint8_t* row = bmp.ScanLine(y);
        if (wide) {
            for (std::size_t i = 0; i < samples; ++i)
                row[i] = scale[(unsigned(src[2 * i]) << 8) | src[2 * i + 1]];
        } else {
            for (std::size_t i = 0; i < samples; ++i) row[i] = scale[src[i]];
        }
        if (channels == 3)
            for (int x = 0; x < bmp.Width(); ++x) std::swap(row[3 * x], row[3 * x + 2]);
    }
}

} // namespace

void ReadPnm(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader in(data, "PNM");
    if (in.Size() < 2 || data[0] != 'P' || data[1] < '1' || data[1] > '6')
        in.Malformed("does not start with P1 to P6");
    in.Skip(2);
    const int kind = data[1] - '0';
    const bool binary = kind >= 4;
    const bool bitmap = kind == 1 || kind == 4;
    const int channels = (kind == 3 || kind == 6) ? 3 : 1;

    const unsigned width =
        ReadNumber(in, std::uint64_t(limits.MaxSide), "width", PictureErrorKind::TooLarge);
    const unsigned height =
        ReadNumber(in, std::uint64_t(limits.MaxSide), "height", PictureErrorKind::TooLarge);
    unsigned maxval = 1;
    if (!bitmap) {
        maxval = ReadNumber(in, 65535, "maximum value");
        if (maxval == 0) in.Malformed("has an invalid maximum value");
    }
    if (binary) {
        // Exactly one whitespace byte separates the header from the samples.
        if (in.AtEnd()) in.Truncated();
        if (!IsSpace(in.U8())) in.Malformed("has an invalid header");
    }

    // Every pixel needs at least this many bytes, so a short file is refused
    // before the picture is allocated.
    const bool wide = maxval > 255;
    const std::uint64_t pixels = std::uint64_t(width) * height;
    std::uint64_t needed;
    if (kind == 4)
        needed = (std::uint64_t(width) + 7) / 8 * height;
    else if (binary)
        needed = pixels * std::uint64_t(channels) * (wide ? 2 : 1);
    else if (bitmap)
        needed = pixels;
    else // ASCII numbers: a digit each, separated by whitespace
        needed = pixels == 0 ? 0 : pixels * std::uint64_t(channels) * 2 - 1;
    if (needed > in.Remaining()) in.Truncated();
    limits.CheckBudget(in.FormatName(), width, height, data.size());

    Bitmap local(int(width), int(height),
                 bitmap          ? PixelFormat::Indexed1
                 : channels == 1 ? PixelFormat::Indexed8
                                 : PixelFormat::Bgr24);
    if (bitmap) {
        local.Palette() = {kWhite, kBlack};
        if (binary)
            ReadBinaryBitmap(in, local);
        else
            ReadAsciiBitmap(in, local);
    } else {
        if (channels == 1) local.Palette() = GrayPalette();
        const auto scale = ScaleTable(maxval);
        if (binary)
            ReadBinarySamples(in, local, channels, wide, scale);
        else
            ReadAsciiSamples(in, local, channels, scale);
    }
    out.SwapPicture(local);
}

} // namespace quillon
