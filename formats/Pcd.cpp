// Kodak Photo CD (Image Pac) reader: the Base picture, 768 x 512.
//
// Layout: the Image Pac holds several resolutions at fixed offsets; the Base
// image starts at byte 0x30000 as 256 row pairs, each pair being two rows of
// 768 luma bytes followed by one row of 384 C1 and one of 384 C2 chroma
// bytes (4:2:0: each chroma sample covers 2 x 2 pixels). The low two bits of
// byte 0x0E02 say how the scan must be turned to show upright: 0 = not at
// all, 1 = a quarter anticlockwise, 2 = half a turn, 3 = a quarter clockwise
// (portrait photos). The reader turns it.
//
// PhotoYCC to RGB follows the published conversion:
//   L = 1.3584 Y, C1' = 2.2179 (C1 - 156), C2' = 1.8215 (C2 - 137),
//   R = L + C2', G = L - 0.194 C1' - 0.509 C2', B = L + C1', clamped to 0..255.
// Output: PixelFormat::Bgr24.
#include "formats/ByteReader.h"
#include "formats/PixelTools.h"
#include "formats/Readers.h"

#include <array>
#include <cmath>

namespace quillon {

namespace {

constexpr std::size_t kBaseOffset = 0x30000;
constexpr std::size_t kOrientationOffset = 0x0E02;
constexpr int kWidth = 768, kHeight = 512;
constexpr std::size_t kPairBytes = kWidth * 2 + kWidth; // two luma rows, two half chroma rows
static_assert(kPcdBytesNeeded == kBaseOffset + kPairBytes * (kHeight / 2));

// The YCC to RGB conversion as fixed-point tables (values scaled by 1024).
struct YccTables {
    std::array<int, 256> luma, crRed, crGreen, cbGreen, cbBlue;
    YccTables() {
        for (int i = 0; i < 256; ++i) {
            const double c1 = 2.2179 * (i - 156), c2 = 1.8215 * (i - 137);
            luma[std::size_t(i)] = int(std::lround(1.3584 * i * 1024));
            cbBlue[std::size_t(i)] = int(std::lround(c1 * 1024));
            cbGreen[std::size_t(i)] = int(std::lround(-0.194 * c1 * 1024));
            crRed[std::size_t(i)] = int(std::lround(c2 * 1024));
            crGreen[std::size_t(i)] = int(std::lround(-0.509 * c2 * 1024));
        }
    }
};

const YccTables& Tables() {
    static const YccTables tables;
    return tables;
}

std::uint8_t Fixed(int v) {
    return Clamp8((v + 512) >> 10);
}

// The picture turned a quarter: clockwise when clockwise is true.
void TurnQuarter(const Bitmap& src, Bitmap& dst, bool clockwise) {
    const int w = src.Width(), h = src.Height();
    dst.SetPixelFormat(PixelFormat::Bgr24);
    dst.SetSize(h, w);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        for (int x = 0; x < w; ++x, s += 3) {
            const int dx = clockwise ? h - 1 - y : y;
            const int dy = clockwise ? x : w - 1 - x;
            std::uint8_t* d = dst.ScanLine(dy) + std::size_t(dx) * 3;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
}

void TurnHalf(Bitmap& bmp) {
    const int w = bmp.Width(), h = bmp.Height();
    for (int y = 0; y < (h + 1) / 2; ++y) {
        std::uint8_t* a = bmp.ScanLine(y);
        std::uint8_t* b = bmp.ScanLine(h - 1 - y);
        const int limit = y == h - 1 - y ? w / 2 : w;
        for (int x = 0; x < limit; ++x)
            for (int k = 0; k < 3; ++k)
                std::swap(a[std::size_t(x) * 3 + std::size_t(k)],
                          b[std::size_t(w - 1 - x) * 3 + std::size_t(k)]);
    }
}

} // namespace

void ReadPcd(std::span<const std::uint8_t> data, const std::string&, Bitmap& out,
             const DecodeLimits& limits) {
    ByteReader r(data, "Photo CD");
    limits.CheckSize(kWidth, kHeight);
    if (r.Size() < kBaseOffset + kPairBytes * (kHeight / 2)) r.Truncated();
    r.Seek(kOrientationOffset);
    const int orientation = r.U8() & 3;

    const YccTables& t = Tables();
    Bitmap local(kWidth, kHeight, PixelFormat::Bgr24);
    r.Seek(kBaseOffset);
    for (int pair = 0; pair < kHeight / 2; ++pair) {
        auto bytes = r.Bytes(kPairBytes);
        const std::uint8_t* c1 = bytes.data() + 2 * kWidth;
        const std::uint8_t* c2 = c1 + kWidth / 2;
        for (int row = 0; row < 2; ++row) {
            const std::uint8_t* luma = bytes.data() + row * kWidth;
            std::uint8_t* dst = local.ScanLine(pair * 2 + row);
            for (int x = 0; x < kWidth; ++x, dst += 3) {
                const int l = t.luma[luma[x]];
                const std::size_t cb = c1[x / 2], cr = c2[x / 2];
                dst[0] = Fixed(l + t.cbBlue[cb]);
                dst[1] = Fixed(l + t.cbGreen[cb] + t.crGreen[cr]);
                dst[2] = Fixed(l + t.crRed[cr]);
            }
        }
    }

    switch (orientation) {
    case 1: {
        Bitmap turned;
        TurnQuarter(local, turned, false);
        local.SwapPicture(turned);
        break;
    }
    case 2:
        TurnHalf(local);
        break;
    case 3: {
        Bitmap turned;
        TurnQuarter(local, turned, true);
        local.SwapPicture(turned);
        break;
    }
    default:
        break;
    }
    out.SwapPicture(local);
}

} // namespace quillon
