// Photoshop document reader: the flattened (composite) picture.
//
// Layout (big-endian): a 26-byte header ("8BPS", version 1, 6 reserved bytes,
// channel count, height, width, bits per channel, colour mode), then three
// length-prefixed sections (colour-mode data: the 768-byte planar palette of
// indexed pictures; image resources; layers and masks) which are skipped
// except for the palette, then the composite: a compression word (0 = raw,
// 1 = PackBits) and the channels as planes. PackBits data starts with a
// table of byte counts, one 16-bit count per row of every channel; each row
// then holds packets whose signed count byte n says: 0..127 = n + 1 literal
// bytes follow, -1..-127 = the next byte repeats 1 - n times, -128 = no-op.
//
// Handled: bitmap (1 bit, set bits black), grayscale and duotone (shown as
// gray), indexed, RGB and CMYK (stored as inverted ink), at 8 and 16 bits
// (16-bit samples keep their high byte). Extra channels beyond the mode's
// own are not shown: the composite already carries the flattened colours.
// Output: PixelFormat::Bgr24, or PixelFormat::Indexed8 with the palette for indexed pictures.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

enum PsdMode {
    kModeBitmap = 0,
    kModeGray = 1,
    kModeIndexed = 2,
    kModeRgb = 3,
    kModeCmyk = 4,
    kModeDuotone = 8
};

int ModeChannels(int mode) {
    switch (mode) {
    case kModeRgb:
        return 3;
    case kModeCmyk:
        return 4;
    default:
        return 1;
    }
}

// Unpacks one PackBits row of exactly rowBytes bytes from src into dst.
void UnpackBitsRow(ByteReader& r, std::span<const std::uint8_t> src, std::uint8_t* dst,
                   std::size_t rowBytes) {
    std::size_t in = 0, outPos = 0;
    while (outPos < rowBytes) {
        if (in >= src.size()) r.Truncated();
        const int n = std::int8_t(src[in++]);
        if (n == -128) continue;
        if (n >= 0) {
            const std::size_t count = std::size_t(n) + 1;
            if (count > rowBytes - outPos) r.Malformed("has a PackBits run past the end of a row");
            if (count > src.size() - in) r.Truncated();
            std::copy_n(src.begin() + std::ptrdiff_t(in), count, dst + outPos);
            in += count;
            outPos += count;
        } else {
            const std::size_t count = std::size_t(1 - n);
            if (count > rowBytes - outPos) r.Malformed("has a PackBits run past the end of a row");
            if (in >= src.size()) r.Truncated();
            std::fill_n(dst + outPos, count, src[in++]);
            outPos += count;
        }
    }
}

} // namespace

void ReadPsd(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader r(data, "Photoshop");
    auto sig = r.Bytes(4);
    if (!std::equal(sig.begin(), sig.end(), "8BPS")) r.Malformed("is not a Photoshop document");
    const int version = r.U16BE();
    if (version != 1) r.Unsupported("has an unsupported version (" + std::to_string(version) + ")");
    r.Skip(6);
    const int channels = r.U16BE();
    const std::uint32_t height = r.U32BE();
    const std::uint32_t width = r.U32BE();
    const int depth = r.U16BE();
    const int mode = r.U16BE();

    if (mode != kModeBitmap && mode != kModeGray && mode != kModeIndexed && mode != kModeRgb &&
        mode != kModeCmyk && mode != kModeDuotone)
        r.Unsupported("uses an unsupported colour mode (" + std::to_string(mode) + ")");
    if (mode == kModeBitmap ? depth != 1 : depth != 8 && depth != 16)
        r.Unsupported("has an unsupported bit depth (" + std::to_string(depth) + ")");
    const int needed = ModeChannels(mode);
    if (channels < needed) r.Malformed("has too few channels for its colour mode");
    if (width == 0 || height == 0) {
        Bitmap empty; // no pixels: an empty picture, which the shell reports
        out.SwapPicture(empty);
        return;
    }
    limits.CheckBudget(r.FormatName(), width, height, data.size());

    // Colour-mode data: the palette of indexed pictures.
    std::vector<Color> palette;
    {
        const std::uint32_t len = r.U32BE();
        auto section = r.Bytes(len);
        if (mode == kModeIndexed) {
            if (len < 768) r.Malformed("has no colour table");
            palette.resize(256);
            for (int i = 0; i < 256; ++i)
                palette[std::size_t(i)] =
                    RGB(section[std::size_t(i)], section[std::size_t(256 + i)],
                        section[std::size_t(512 + i)]);
        }
    }
    r.Skip(r.U32BE()); // image resources
    r.Skip(r.U32BE()); // layers and masks

    const int compression = r.U16BE();
    if (compression > 1)
        r.Unsupported("uses an unsupported compression (" + std::to_string(compression) + ")");

    const std::size_t w = width, h = height;
    const std::size_t rowBytes = mode == kModeBitmap ? (w + 7) / 8 : w * std::size_t(depth / 8);
    const std::size_t planeBytes = rowBytes * h;

    // The planes of the channels the mode uses, unpacked.
    std::vector<std::vector<std::uint8_t>> planes;
    planes.resize(std::size_t(needed));
    if (compression == 0) {
        if (r.Remaining() / planeBytes < std::size_t(needed)) r.Truncated();
        for (auto& p : planes) {
            auto bytes = r.Bytes(planeBytes);
            p.assign(bytes.begin(), bytes.end());
        }
    } else {
        const std::size_t rows = h * std::size_t(channels);
        r.Need(rows * 2);
        std::vector<std::uint16_t> counts(rows);
        for (auto& c : counts) c = r.U16BE();
        // Each unpacked row comes from at least one byte per 128 output bytes.
        std::size_t packed = 0;
        for (std::size_t i = 0; i < h * std::size_t(needed); ++i) packed += counts[i];
        r.Need(packed);
        if (packed < h * std::size_t(needed) * ((rowBytes + 127) / 128)) r.Truncated();
        std::size_t row = 0;
        for (auto& p : planes) {
            p.resize(planeBytes);
            for (std::size_t y = 0; y < h; ++y, ++row) {
                auto src = r.Bytes(counts[row]);
                UnpackBitsRow(r, src, p.data() + y * rowBytes, rowBytes);
            }
        }
    }

    const std::size_t step = depth == 16 ? 2 : 1; // high byte first
    Bitmap local(int(width), int(height),
                 mode == kModeIndexed ? PixelFormat::Indexed8 : PixelFormat::Bgr24);
    if (mode == kModeIndexed) local.Palette() = palette;
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* dst = local.ScanLine(int(y));
        const auto src = [&](int c) { return planes[std::size_t(c)].data() + y * rowBytes; };
        switch (mode) {
        case kModeBitmap: {
            const std::uint8_t* s = src(0);
            for (std::size_t x = 0; x < w; ++x, dst += 3) {
                const std::uint8_t v = (s[x >> 3] & (0x80 >> (x & 7))) ? 0 : 255;
                dst[0] = dst[1] = dst[2] = v;
            }
            break;
        }
        case kModeIndexed: {
            const std::uint8_t* s = src(0);
            std::copy_n(s, w, dst);
            break;
        }
        case kModeGray:
        case kModeDuotone: {
            const std::uint8_t* s = src(0);
            for (std::size_t x = 0; x < w; ++x, dst += 3) dst[0] = dst[1] = dst[2] = s[x * step];
            break;
        }
        case kModeRgb: {
            const std::uint8_t *sr = src(0), *sg = src(1), *sb = src(2);
            for (std::size_t x = 0; x < w; ++x, dst += 3) {
                dst[0] = sb[x * step];
                dst[1] = sg[x * step];
                dst[2] = sr[x * step];
            }
            break;
        }
        case kModeCmyk: {
            // Stored values are 255 - ink, so each component is a product.
            const std::uint8_t *sc = src(0), *sm = src(1), *sy = src(2), *sk = src(3);
            for (std::size_t x = 0; x < w; ++x, dst += 3) {
                const unsigned k = sk[x * step];
                dst[0] = std::uint8_t((sy[x * step] * k + 127) / 255);
                dst[1] = std::uint8_t((sm[x * step] * k + 127) / 255);
                dst[2] = std::uint8_t((sc[x * step] * k + 127) / 255);
            }
            break;
        }
        }
    }
    out.SwapPicture(local);
}

} // namespace quillon
