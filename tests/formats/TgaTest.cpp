// TGA reader: every image type and depth, both row orders, the image-ID
// field, colour maps with a first index, run-length packets, alpha, and one
// malformed file per error.
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

using namespace quillon;

namespace {

const std::map<char, Color> kLegend = {{'.', kWhite},
                                       {'#', kBlack},
                                       {'r', RGB(255, 0, 0)},
                                       {'g', RGB(0, 255, 0)},
                                       {'b', RGB(0, 0, 255)},
                                       {'m', RGB(128, 128, 128)},
                                       {'p', RGB(255, 128, 128)}};

struct TgaLayout {
    int type = 2;
    int bits = 24;
    int descriptor = 0;
    std::string id;
    int mapFirst = 0;
    int mapBits = 0; // 0: no colour map
    std::vector<Color> map;
    int width = 2, height = 2;
};

ByteBuilder Header(const TgaLayout& s) {
    ByteBuilder b;
    b.U8(int(s.id.size())).U8(s.mapBits ? 1 : 0).U8(s.type);
    b.U16LE(unsigned(s.mapFirst)).U16LE(unsigned(s.map.size())).U8(s.mapBits);
    b.U16LE(0).U16LE(0).U16LE(unsigned(s.width)).U16LE(unsigned(s.height));
    b.U8(s.bits).U8(s.descriptor).Text(s.id);
    for (Color c : s.map) {
        if (s.mapBits <= 16)
            b.U16LE(
                unsigned((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3));
        else
            b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c));
        if (s.mapBits == 32) b.U8(255);
    }
    return b;
}

// The 2 x 2 picture "rg" over "b." in true colour pixels of the given depth.
void PutPixel(ByteBuilder& b, int bits, Color c, int alpha = 255) {
    if (bits == 16 || bits == 15)
        b.U16LE(unsigned((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3));
    else
        b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c));
    if (bits == 32) b.U8(alpha);
}

ByteBuilder TrueColour(int bits, bool topDown) {
    TgaLayout s;
    s.bits = bits;
    s.descriptor = topDown ? 0x20 : 0;
    ByteBuilder b = Header(s);
    const Color top[2] = {RGB(255, 0, 0), RGB(0, 255, 0)};
    const Color bottom[2] = {RGB(0, 0, 255), kWhite};
    for (const Color* row : topDown ? std::vector{top, bottom} : std::vector{bottom, top})
        for (int x = 0; x < 2; ++x) PutPixel(b, bits, row[x]);
    return b;
}

TEST(TgaReader, TrueColourInEveryDepthAndRowOrder) {
    for (int bits : {15, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " top-down" : " bottom-up"));
            const ByteBuilder file = TrueColour(bits, topDown);
            SaveSeed("tga", "true" + std::to_string(bits) + (topDown ? "-top.tga" : ".tga"), file);
            Bitmap out;
            ASSERT_EQ(ReadError(ReadTga, file, out), "");
            EXPECT_EQ(out.format(), PixelFormat::Bgr24);
            EXPECT_PIXELS(out, kLegend, {"rg", "b."});
        }
    }
}

TEST(TgaReader, RowsRunRightToLeftWhenDescriptorBitFourIsSet) {
    ByteBuilder file = TrueColour(24, true);
    file[17] = 0x30;
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTga, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"gr", ".b"});
}

TEST(TgaReader, AlphaIsCompositedOverWhite) {
    TgaLayout s;
    s.bits = 32;
    s.width = 3;
    s.height = 1;
    ByteBuilder file = Header(s);
    PutPixel(file, 32, RGB(255, 0, 0), 255);
    PutPixel(file, 32, RGB(255, 0, 0), 0);
    PutPixel(file, 32, RGB(255, 0, 0), 127); // 128/255 of white shows through
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTga, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"r.p"});
}

TEST(TgaReader, ThirtyTwoBitsWithAlphaZeroEverywhereAreOpaque) {
    TgaLayout s;
    s.bits = 32;
    s.width = 2;
    s.height = 1;
    ByteBuilder file = Header(s);
    PutPixel(file, 32, RGB(255, 0, 0), 0);
    PutPixel(file, 32, RGB(0, 0, 255), 0);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTga, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"rb"});
}

TEST(TgaReader, GrayAndGrayWithAlpha) {
    TgaLayout s;
    s.type = 3;
    s.bits = 8;
    s.width = 3;
    s.height = 1;
    s.descriptor = 0x20;
    ByteBuilder gray8 = Header(s);
    gray8.U8s({0, 128, 255});
    s.bits = 16;
    ByteBuilder gray16 = Header(s);
    gray16.U8s({0, 255, 128, 255, 0, 0}); // the last pixel is transparent
    SaveSeed("tga", "gray8.tga", gray8);
    SaveSeed("tga", "gray16.tga", gray16);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTga, gray8, out), "");
    EXPECT_EQ(out.format(), PixelFormat::Indexed8);
    EXPECT_PIXELS(out, kLegend, {"#m."});
    ASSERT_EQ(ReadError(ReadTga, gray16, out), "");
    EXPECT_PIXELS(out, kLegend, {"#m."});
}

TEST(TgaReader, ColourMapEntriesCountFromTheFirstIndex) {
    for (int mapBits : {16, 24, 32}) {
        SCOPED_TRACE(mapBits);
        TgaLayout s;
        s.type = 1;
        s.bits = 8;
        s.mapBits = mapBits;
        s.mapFirst = 10;
        s.map = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), kWhite};
        s.id = "an image ID";
        s.descriptor = 0x20;
        ByteBuilder file = Header(s);
        file.U8s({10, 11, 12, 13});
        SaveSeed("tga", "mapped" + std::to_string(mapBits) + ".tga", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTga, file, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Indexed8);
        EXPECT_PIXELS(out, kLegend, {"rg", "b."});
    }
}

TEST(TgaReader, TrueColourPictureSkipsAColourMapItDoesNotUse) {
    TgaLayout s;
    for (int mapBits : {24, 12}) { // any entry size, as long as the map is there to skip
        SCOPED_TRACE(mapBits);
        s.mapBits = mapBits;
        s.map = {kBlack, kBlack, kBlack};
        s.width = 1;
        s.height = 1;
        ByteBuilder file = Header(s);
        PutPixel(file, 24, RGB(0, 255, 0));
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTga, file, out), "");
        EXPECT_PIXELS(out, kLegend, {"g"});
    }
}

TEST(TgaReader, RunLengthPacketsMayRunOnIntoTheNextRow) {
    // 3 x 2 picture, bottom-up: a run of four red pixels covers the bottom
    // row and the first pixel of the top one, then a raw packet of two.
    TgaLayout s;
    s.type = 10;
    s.width = 3;
    ByteBuilder rgb = Header(s);
    rgb.U8(0x83);
    PutPixel(rgb, 24, RGB(255, 0, 0));
    rgb.U8(0x01);
    PutPixel(rgb, 24, RGB(0, 255, 0));
    PutPixel(rgb, 24, RGB(0, 0, 255));
    SaveSeed("tga", "rle24.tga", rgb);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTga, rgb, out), "");
    EXPECT_PIXELS(out, kLegend, {"rgb", "rrr"});

    s.type = 11;
    s.bits = 8;
    ByteBuilder gray = Header(s);
    gray.U8s({0x83, 0, 0x01, 128, 255});
    ASSERT_EQ(ReadError(ReadTga, gray, out), "");
    EXPECT_PIXELS(out, kLegend, {"#m.", "###"});

    s.type = 9;
    s.mapBits = 24;
    s.map = {RGB(255, 0, 0), kWhite};
    ByteBuilder mapped = Header(s);
    mapped.U8s({0x85, 1});
    SaveSeed("tga", "rle-mapped.tga", mapped);
    ASSERT_EQ(ReadError(ReadTga, mapped, out), "");
    EXPECT_PIXELS(out, kLegend, {"...", "..."});
}

TEST(TgaReader, MalformedFilesAreRefusedAndLeaveThePictureAlone) {
    const ByteBuilder good = TrueColour(24, false);
    auto cut = [&](std::size_t n) {
        return std::vector<std::uint8_t>(good.Get().begin(),
                                         good.Get().begin() + std::ptrdiff_t(n));
    };
    EXPECT_TRUE(FailsWith(ReadTga, cut(10), PictureErrorKind::Truncated, "TGA file is truncated"));
    EXPECT_TRUE(FailsWith(ReadTga, cut(good.Size() - 1), PictureErrorKind::Truncated,
                          "TGA file is truncated"));

    TgaLayout s;
    s.type = 0;
    EXPECT_TRUE(
        FailsWith(ReadTga, Header(s), PictureErrorKind::Unsupported, "TGA file holds no picture"));
    s.type = 32; // Huffman-coded, not handled
    EXPECT_TRUE(FailsWith(ReadTga, Header(s), PictureErrorKind::Unsupported,
                          "TGA file has an unknown image type"));
    s.type = 2;
    s.bits = 12;
    EXPECT_TRUE(FailsWith(ReadTga, Header(s), PictureErrorKind::Unsupported,
                          "TGA file has an unsupported pixel depth"));
    s.type = 1;
    s.bits = 8;
    EXPECT_TRUE(
        FailsWith(ReadTga, Header(s), PictureErrorKind::Malformed, "TGA file has no colour map"));

    s.mapBits = 24;
    s.mapFirst = 1;
    s.map = {kWhite, kBlack};
    ByteBuilder outside = Header(s);
    outside.U8s({1, 2, 3, 1}); // 3 is past the map's last index, 2
    EXPECT_TRUE(FailsWith(ReadTga, outside, PictureErrorKind::Malformed,
                          "TGA file has a colour index outside its colour map"));
    ByteBuilder below = Header(s);
    below.U8s({1, 0, 1, 1}); // 0 is before the first index
    EXPECT_TRUE(FailsWith(ReadTga, below, PictureErrorKind::Malformed,
                          "TGA file has a colour index outside its colour map"));

    s.mapBits = 12;
    EXPECT_TRUE(FailsWith(ReadTga, Header(s), PictureErrorKind::Unsupported,
                          "TGA file has an unsupported colour map entry size"));

    TgaLayout r;
    r.type = 10;
    ByteBuilder overrun = Header(r);
    overrun.U8(0x84); // five pixels into a picture of four
    PutPixel(overrun, 24, kWhite);
    EXPECT_TRUE(FailsWith(ReadTga, overrun, PictureErrorKind::Malformed,
                          "TGA file has a run past the end of the picture"));
    ByteBuilder shortRle = Header(r);
    shortRle.U8(0x81);
    PutPixel(shortRle, 24, kWhite);
    EXPECT_TRUE(FailsWith(ReadTga, shortRle, PictureErrorKind::Truncated, "TGA file is truncated"));
}

TEST(TgaReader, AHugeHeaderOnATinyFileIsRefusedBeforeAllocating) {
    TgaLayout s;
    s.type = 10;
    s.width = 65535;
    s.height = 65535;
    ByteBuilder file = Header(s);
    file.U8(0xFF).U8s({1, 2, 3});
    EXPECT_TRUE(FailsWith(ReadTga, file, PictureErrorKind::Truncated, "TGA file is truncated"));
}

} // namespace
