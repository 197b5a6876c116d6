#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillon;

namespace {

// A test picture: rows top to bottom, each pixel red, green, blue, alpha.
struct Rgba {
    std::uint8_t r, g, b, a;
};
using Picture = std::vector<std::vector<Rgba>>;

std::uint8_t Component(const Rgba& p, int c, int channels) {
    if (channels <= 2) return c == 0 ? p.r : p.a;
    const std::array<std::uint8_t, 4> v{p.r, p.g, p.b, p.a};
    return v[std::size_t(c)];
}

// One packet stream for a row: runs of equal values repeat, the rest are
// literal packets.
std::vector<unsigned> EncodeSgiRle(const std::vector<unsigned>& row) {
    std::vector<unsigned> out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && row[i + run] == row[i] && run < 127) ++run;
        if (run >= 2) {
            out.push_back(unsigned(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t lit = 1;
        while (i + lit < row.size() && lit < 127 &&
               !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out.push_back(0x80u | unsigned(lit));
        for (std::size_t k = 0; k < lit; ++k) out.push_back(row[i + k]);
        i += lit;
    }
    out.push_back(0);
    return out;
}

// An SGI file of the picture. Two-byte channels put the colour in the high
// byte and noise in the low byte.
std::vector<std::uint8_t> MakeSgi(const Picture& pic, int channels, int bpc, bool rle) {
    const int h = int(pic.size()), w = int(pic[0].size());
    ByteBuilder f;
    f.U16BE(474).U8(rle ? 1 : 0).U8(unsigned(bpc)).U16BE(channels == 1 ? 2 : 3);
    f.U16BE(unsigned(w)).U16BE(unsigned(h)).U16BE(unsigned(channels));
    f.U32BE(0).U32BE(bpc == 1 ? 255 : 65535).PadTo(512);
    const auto value = [&](int x, int y, int c) {
        const unsigned v = Component(pic[std::size_t(h - 1 - y)][std::size_t(x)], c, channels);
        return bpc == 1 ? v : (v << 8) | 0x5A;
    };
    const auto put = [&](ByteBuilder& to, unsigned v) {
        if (bpc == 1)
            to.U8(v);
        else
            to.U16BE(v);
    };
    if (!rle) {
        for (int c = 0; c < channels; ++c)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) put(f, value(x, y, c));
        return f.Get();
    }
    const std::size_t rows = std::size_t(h) * std::size_t(channels);
    const std::size_t tableAt = f.Size();
    f.Zeros(rows * 8);
    for (int c = 0; c < channels; ++c)
        for (int y = 0; y < h; ++y) {
            std::vector<unsigned> row;
            for (int x = 0; x < w; ++x) row.push_back(value(x, y, c));
            const std::size_t start = f.Size();
            for (unsigned v : EncodeSgiRle(row)) put(f, v);
            const std::size_t index = std::size_t(y) + std::size_t(c) * std::size_t(h);
            f.PokeU32BE(tableAt + index * 4, std::uint32_t(start));
            f.PokeU32BE(tableAt + rows * 4 + index * 4, std::uint32_t(f.Size() - start));
        }
    return f.Get();
}

const Picture kPicture = {
    {{255, 0, 0, 255}, {255, 0, 0, 255}, {255, 0, 0, 255}, {0, 0, 255, 255}},
    {{0, 255, 0, 255}, {10, 20, 30, 255}, {40, 50, 60, 255}, {0, 0, 255, 255}},
    {{0, 0, 0, 0}, {200, 100, 50, 128}, {255, 255, 255, 255}, {0, 0, 0, 255}},
};

Color Expected(const Rgba& p, int channels) {
    const auto over = [&](unsigned c, unsigned a) { return (c * a + 255 * (255 - a) + 127) / 255; };
    const unsigned a = channels == 2 || channels == 4 ? p.a : 255;
    if (channels <= 2) return RGB(over(p.r, a), over(p.r, a), over(p.r, a));
    return RGB(over(p.r, a), over(p.g, a), over(p.b, a));
}

struct SgiCase {
    int channels, bpc;
    bool rle;
};

class SgiLayouts : public ::testing::TestWithParam<SgiCase> {};

TEST_P(SgiLayouts, DecodeToThePictureTopRowFirstWithAlphaOverWhite) {
    const auto [channels, bpc, rle] = GetParam();
    const auto file = MakeSgi(kPicture, channels, bpc, rle);
    std::string seed = "c";
    seed += std::to_string(channels);
    seed += "b";
    seed += std::to_string(bpc);
    seed += rle ? "rle" : "raw";
    SaveSeed("sgi", seed, file);
    Bitmap out;
    ReadSgi(file, "x.sgi", out);
    ASSERT_EQ(out.Width(), 4);
    ASSERT_EQ(out.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.Pixel(x, y), Expected(kPicture[std::size_t(y)][std::size_t(x)], channels))
                << "at (" << x << ", " << y << ")";
}

INSTANTIATE_TEST_SUITE_P(Sgi, SgiLayouts,
                         ::testing::Values(SgiCase{1, 1, false}, SgiCase{1, 1, true},
                                           SgiCase{2, 1, true}, SgiCase{3, 1, false},
                                           SgiCase{3, 1, true}, SgiCase{4, 1, false},
                                           SgiCase{4, 1, true}, SgiCase{1, 2, false},
                                           SgiCase{3, 2, true}, SgiCase{4, 2, false},
                                           SgiCase{4, 2, true}));

TEST(Sgi, LongRowsUseRunsAndLiteralsAcrossPacketLimits) {
    Picture wide(1, std::vector<Rgba>(300, Rgba{9, 9, 9, 255}));
    for (std::size_t x = 140; x < 300; ++x) wide[0][x] = {std::uint8_t(x), 1, 2, 255};
    Bitmap out;
    ReadSgi(MakeSgi(wide, 3, 1, true), "", out);
    EXPECT_EQ(out.Pixel(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(out.Pixel(139, 0), RGB(9, 9, 9));
    EXPECT_EQ(out.Pixel(299, 0), RGB(299 & 0xFF, 1, 2));
}

TEST(SgiMalformed, EachFaultHasItsMessage) {
    const auto good = MakeSgi(kPicture, 3, 1, true);
    const auto raw = MakeSgi(kPicture, 3, 1, false);

    auto badMagic = good;
    badMagic[0] = 0x12;
    EXPECT_TRUE(
        FailsWith(ReadSgi, badMagic, PictureErrorKind::Malformed, "SGI file is not an SGI image"));

    auto shortHeader = good;
    shortHeader.resize(300);
    EXPECT_TRUE(
        FailsWith(ReadSgi, shortHeader, PictureErrorKind::Truncated, "SGI file is truncated"));

    auto shortPlanes = raw;
    shortPlanes.pop_back();
    EXPECT_TRUE(
        FailsWith(ReadSgi, shortPlanes, PictureErrorKind::Truncated, "SGI file is truncated"));

    auto storage = good;
    storage[2] = 7;
    EXPECT_TRUE(
        FailsWith(ReadSgi, storage, PictureErrorKind::Unsupported, "unknown storage kind (7)"));

    auto bpc = good;
    bpc[3] = 3;
    EXPECT_TRUE(FailsWith(ReadSgi, bpc, PictureErrorKind::Unsupported,
                          "unsupported channel size (3 bytes)"));

    auto dimension = good;
    dimension[5] = 4;
    EXPECT_TRUE(
        FailsWith(ReadSgi, dimension, PictureErrorKind::Unsupported, "unknown dimension (4)"));

    auto colorMap = good;
    colorMap[107] = 1;
    EXPECT_TRUE(FailsWith(ReadSgi, colorMap, PictureErrorKind::Unsupported,
                          "unsupported colour map kind (1)"));

    auto empty = good;
    empty[6] = empty[7] = 0;
    EXPECT_TRUE(ReadsAsEmpty(ReadSgi, empty));

    // The first row's offset points past the end of the file.
    auto offset = good;
    ByteBuilder patch{offset};
    patch.PokeU32BE(512, std::uint32_t(offset.size() + 10));
    EXPECT_TRUE(
        FailsWith(ReadSgi, patch.Get(), PictureErrorKind::Truncated, "SGI file is truncated"));

    // A run of 9 in a row 4 pixels wide.
    ByteBuilder overrun{good};
    const std::uint32_t firstRow =
        std::uint32_t(good[512] << 24 | good[513] << 16 | good[514] << 8 | good[515]);
    overrun[firstRow] = 9;
    EXPECT_TRUE(FailsWith(ReadSgi, overrun.Get(), PictureErrorKind::Malformed,
                          "RLE run past the end of a row"));

    // A row whose packets run off the end of the file.
    ByteBuilder cut{good};
    const std::size_t lastRow = 512 + 9 * 4 - 4;
    const std::uint32_t lastStart = std::uint32_t(cut[lastRow] << 24 | cut[lastRow + 1] << 16 |
                                                  cut[lastRow + 2] << 8 | cut[lastRow + 3]);
    cut.Resize(lastStart + 1);
    EXPECT_TRUE(
        FailsWith(ReadSgi, cut.Get(), PictureErrorKind::Truncated, "SGI file is truncated"));

    auto huge = good;
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;
    EXPECT_TRUE(FailsWith(ReadSgi, huge, PictureErrorKind::TooLarge, "too large"));
}

// Every row's offset may point at the same run-length row, so 18 KB can
// describe 65535 x 2048 pixels (400 MB as a picture): the file budget holds.
TEST(SgiReader, RowsSharingOneStoredRowKeepToTheFileBudget) {
    ByteBuilder f;
    f.U16BE(474).U8(1).U8(1).U16BE(2).U16BE(65535).U16BE(2048).U16BE(1).PadTo(512);
    const std::uint32_t row = 512 + 2048 * 8;
    ByteBuilder runs; // 65535 pixels of 0x80 in runs of up to 127, then the end code
    for (int left = 65535; left > 0; left -= 127) runs.U8(std::min(left, 127)).U8(0x80);
    runs.U8(0);
    for (int y = 0; y < 2048; ++y) f.U32BE(row);
    for (int y = 0; y < 2048; ++y) f.U32BE(std::uint32_t(runs.Size()));
    f.Append(runs.Get());
    SaveRegress("sgi", "65535x2048-one-stored-row.sgi", f);
    EXPECT_TRUE(FailsWith(ReadSgi, f, PictureErrorKind::TooLarge,
                          "SGI picture of 65535 x 2048 pixels is too large for a file of"));
}

} // namespace
