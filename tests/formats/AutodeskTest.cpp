#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// A 0x9119 picture; palette entry i is (i % 64, 63 - i % 64, i / 4).
std::vector<std::uint8_t> MakeCel(int w, int h, const std::vector<std::uint8_t>& pixels) {
    ByteBuilder f;
    f.U16LE(0x9119).U16LE(unsigned(w)).U16LE(unsigned(h)).U16LE(5).U16LE(7).U8(8).U8(0);
    f.U32LE(std::uint32_t(pixels.size())).Zeros(16);
    for (int i = 0; i < 256; ++i)
        f.U8(unsigned(i % 64)).U8(unsigned(63 - i % 64)).U8(unsigned(i / 4));
    f.Append(pixels);
    return f.Get();
}

Color PaletteColour(int i) {
    const auto s = [](int v) { return (v * 255 + 31) / 63; };
    return RGB(s(i % 64), s(63 - i % 64), s(i / 4));
}

TEST(Autodesk, CelDecodesIndicesThroughItsSixBitPalette) {
    const std::vector<std::uint8_t> pixels = {0, 63, 64, 255, 1, 2};
    const auto file = MakeCel(3, 2, pixels);
    SaveSeed("autodesk", "cel3x2", file);
    Bitmap out;
    ReadAutodesk(file, "x.cel", out);
    ASSERT_EQ(out.Width(), 3);
    ASSERT_EQ(out.Height(), 2);
    EXPECT_EQ(out.format(), PixelFormat::Indexed8);
    std::vector<Color> expected;
    for (auto p : pixels) expected.push_back(PaletteColour(p));
    EXPECT_EQ(AllPixels(out), expected);
    EXPECT_EQ(out.Pixel(1, 0), RGB(255, 0, 61)); // 63 is full scale
}

TEST(Autodesk, PaletteValuesAboveSixBitsClampToFull) {
    auto file = MakeCel(1, 1, {0});
    file[32] = 200;
    Bitmap out;
    ReadAutodesk(file, "", out);
    EXPECT_EQ(out.Pixel(0, 0), RGB(255, 255, 0));
}

TEST(AutodeskMalformed, EachFaultHasItsMessage) {
    const auto good = MakeCel(3, 2, {1, 2, 3, 4, 5, 6});
    auto id = good;
    id[1] = 0x95;
    EXPECT_TRUE(FailsWith(ReadAutodesk, id, PictureErrorKind::Malformed,
                          "Autodesk Animator file is not an Autodesk Animator picture"));
    auto bits = good;
    bits[10] = 4;
    EXPECT_TRUE(FailsWith(ReadAutodesk, bits, PictureErrorKind::Unsupported,
                          "unsupported pixel depth (4)"));
    auto compressed = good;
    compressed[11] = 1;
    EXPECT_TRUE(FailsWith(ReadAutodesk, compressed, PictureErrorKind::Unsupported,
                          "unsupported compression (1)"));
    auto empty = good;
    empty[2] = 0;
    EXPECT_TRUE(ReadsAsEmpty(ReadAutodesk, empty));
    auto shortPixels = good;
    shortPixels.pop_back();
    EXPECT_TRUE(FailsWith(ReadAutodesk, shortPixels, PictureErrorKind::Truncated,
                          "Autodesk Animator file is truncated"));
    auto shortPalette = good;
    shortPalette.resize(32 + 700);
    EXPECT_TRUE(FailsWith(ReadAutodesk, shortPalette, PictureErrorKind::Truncated,
                          "Autodesk Animator file is truncated"));
    EXPECT_TRUE(FailsWith(ReadAutodesk, {0x19}, PictureErrorKind::Malformed,
                          "not an Autodesk Animator picture"));
}

} // namespace
