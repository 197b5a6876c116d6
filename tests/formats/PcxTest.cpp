// PCX reader: monochrome, EGA planes, VGA palette, 24 and 32 bits in planes,
// compressed and plain rows, line padding, and one malformed file per error.
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

struct PcxLayout {
    int bits = 8, planes = 1, width = 2, height = 2, bytesPerLine = 2;
    int encoding = 1;
    std::vector<Color> ega; // up to 16 header palette entries
};

ByteBuilder Header(const PcxLayout& s) {
    ByteBuilder b;
    b.U8s({0x0A, 5, s.encoding, s.bits});
    b.U16LE(0).U16LE(0).U16LE(unsigned(s.width - 1)).U16LE(unsigned(s.height - 1));
    b.U16LE(72).U16LE(72);
    for (int i = 0; i < 16; ++i) {
        const Color c = i < int(s.ega.size()) ? s.ega[std::size_t(i)] : kBlack;
        b.U8(GetRValue(c)).U8(GetGValue(c)).U8(GetBValue(c));
    }
    b.U8(0).U8(s.planes).U16LE(unsigned(s.bytesPerLine)).U16LE(1);
    b.Repeat(0, 128 - b.Size());
    return b;
}

// Compresses one plane line the way writers do: runs of equal bytes, and
// any byte with both high bits set as a run of one.
void Compress(ByteBuilder& b, const std::vector<int>& line) {
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = 1;
        while (i + n < line.size() && line[i + n] == line[i] && n < 63) ++n;
        if (n > 1 || (line[i] & 0xC0) == 0xC0) b.U8(0xC0 | int(n));
        b.U8(line[i]);
        i += n;
    }
}

ByteBuilder File(const PcxLayout& s, const std::vector<std::vector<int>>& lines) {
    ByteBuilder b = Header(s);
    for (const auto& line : lines) {
        if (s.encoding == 1)
            Compress(b, line);
        else
            for (int v : line) b.U8(v);
    }
    return b;
}

void AppendVgaPalette(ByteBuilder& b, const std::vector<Color>& colours) {
    b.U8(0x0C);
    for (int i = 0; i < 256; ++i) {
        const Color c = i < int(colours.size()) ? colours[std::size_t(i)] : kBlack;
        b.U8(GetRValue(c)).U8(GetGValue(c)).U8(GetBValue(c));
    }
}

TEST(PcxReader, MonochromeRowsWithPadding) {
    PcxLayout s;
    s.bits = 1;
    s.width = 10;
    s.height = 2;
    s.bytesPerLine = 4; // two bytes of pixels, two of padding
    const ByteBuilder file = File(s, {{0b01111111, 0b10111111, 0, 0}, {0xFF, 0xFF, 0, 0}});
    SaveSeed("pcx", "mono.pcx", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, file, out), "");
    EXPECT_EQ(out.format(), PixelFormat::Indexed1);
    EXPECT_PIXELS(out, kLegend, {"#........#", ".........."});
}

TEST(PcxReader, EgaPlanesIndexTheHeaderPalette) {
    // Four planes of one bit: plane p gives bit p of the index.
    PcxLayout s;
    s.bits = 1;
    s.planes = 4;
    s.width = 4;
    s.height = 1;
    s.bytesPerLine = 1;
    s.ega = {kBlack, RGB(255, 0, 0), RGB(0, 255, 0), kBlack, RGB(0, 0, 255)};
    s.ega.resize(16, kBlack);
    s.ega[15] = kWhite;
    // Indices 1, 2, 4, 15.
    const ByteBuilder file = File(s, {{0b10010000}, {0b01010000}, {0b00110000}, {0b00010000}});
    SaveSeed("pcx", "ega.pcx", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, file, out), "");
    EXPECT_EQ(out.format(), PixelFormat::Indexed4);
    EXPECT_PIXELS(out, kLegend, {"rgb."});
}

TEST(PcxReader, TwoBitPixelsInOnePlane) {
    PcxLayout s;
    s.bits = 2;
    s.width = 4;
    s.height = 1;
    s.ega = {kBlack, RGB(255, 0, 0), RGB(0, 255, 0), kWhite};
    const ByteBuilder file = File(s, {{0b00011011, 0}});
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"#rg."});
}

TEST(PcxReader, VgaPaletteAfterTheMarkerCompressedOrPlain) {
    for (int encoding : {1, 0}) {
        SCOPED_TRACE(encoding);
        PcxLayout s;
        s.encoding = encoding;
        s.width = 3;
        s.height = 2;
        s.bytesPerLine = 4;
        // 200 has both high bits set, so it is stored as a run of one.
        ByteBuilder file = File(s, {{1, 1, 1, 0}, {2, 200, 3, 0}});
        AppendVgaPalette(file, {kBlack, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)});
        std::vector<std::uint8_t> bytes = file.Get();
        bytes[bytes.size() - 768 + 200 * 3] = 255; // entry 200 white
        bytes[bytes.size() - 768 + 200 * 3 + 1] = 255;
        bytes[bytes.size() - 768 + 200 * 3 + 2] = 255;
        SaveSeed("pcx", encoding ? "vga-rle.pcx" : "vga-plain.pcx", bytes);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPcx, bytes, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Indexed8);
        EXPECT_PIXELS(out, kLegend, {"rrr", "g.b"});
    }
}

TEST(PcxReader, EightBitsWithoutAPaletteAreGray) {
    PcxLayout s;
    s.width = 3;
    s.height = 1;
    s.bytesPerLine = 3;
    const ByteBuilder file = File(s, {{0, 128, 255}});
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"#m."});
}

TEST(PcxReader, TrueColourPlanesAndAlpha) {
    PcxLayout s;
    s.planes = 3;
    s.width = 3;
    s.height = 1;
    s.bytesPerLine = 4;
    const ByteBuilder rgb = File(s, {{255, 0, 0, 9}, {0, 255, 0, 9}, {0, 0, 255, 9}});
    SaveSeed("pcx", "rgb.pcx", rgb);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, rgb, out), "");
    EXPECT_EQ(out.format(), PixelFormat::Bgr24);
    EXPECT_PIXELS(out, kLegend, {"rgb"});

    s.planes = 4;
    // Alpha 255, 0 and 127: opaque, white, half white.
    const ByteBuilder rgba =
        File(s, {{255, 0, 255, 0}, {0, 255, 0, 0}, {0, 0, 0, 0}, {255, 0, 127, 0}});
    SaveSeed("pcx", "rgba.pcx", rgba);
    ASSERT_EQ(ReadError(ReadPcx, rgba, out), "");
    EXPECT_PIXELS(out, kLegend, {"r.p"});
}

TEST(PcxReader, RunsMayCarryOnIntoTheNextRow) {
    PcxLayout s;
    s.width = 2;
    s.height = 2;
    ByteBuilder file = Header(s);
    file.U8s({0xC3, 1, 2}); // three bytes of 1 cover a row and a half
    AppendVgaPalette(file, {kBlack, RGB(255, 0, 0), RGB(0, 255, 0)});
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPcx, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"rr", "rg"});
}

TEST(PcxReader, MalformedFilesAreRefusedAndLeaveThePictureAlone) {
    PcxLayout s;
    const ByteBuilder good = File(s, {{1, 2}, {3, 4}});
    EXPECT_TRUE(FailsWith(ReadPcx,
                          std::vector<std::uint8_t>(good.Get().begin(), good.Get().begin() + 100),
                          PictureErrorKind::Truncated, "PCX file is truncated"));
    EXPECT_TRUE(FailsWith(ReadPcx,
                          std::vector<std::uint8_t>(good.Get().begin(), good.Get().end() - 1),
                          PictureErrorKind::Truncated, "PCX file is truncated"));
    ByteBuilder notPcx = good;
    notPcx[0] = 0x0B;
    EXPECT_TRUE(
        FailsWith(ReadPcx, notPcx, PictureErrorKind::Malformed, "PCX file is not a PCX picture"));

    PcxLayout bad = s;
    bad.encoding = 2;
    EXPECT_TRUE(FailsWith(ReadPcx, File(bad, {}), PictureErrorKind::Unsupported,
                          "PCX file has an unknown compression"));
    bad = s;
    bad.bits = 16;
    EXPECT_TRUE(FailsWith(ReadPcx, File(bad, {}), PictureErrorKind::Unsupported,
                          "PCX file has an unsupported colour mode"));
    bad = s;
    bad.planes = 2;
    EXPECT_TRUE(FailsWith(ReadPcx, File(bad, {}), PictureErrorKind::Unsupported,
                          "PCX file has an unsupported colour mode"));
    bad = s;
    bad.bytesPerLine = 1;
    EXPECT_TRUE(FailsWith(ReadPcx, File(bad, {{1}, {2}}), PictureErrorKind::Malformed,
                          "PCX file has lines too short for its width"));

    ByteBuilder inverted = Header(s);
    inverted[8] = 0; // xmax 0 below xmin 1
    inverted[4] = 1;
    EXPECT_TRUE(FailsWith(ReadPcx, inverted, PictureErrorKind::Malformed,
                          "PCX file has an invalid picture size"));

    ByteBuilder overrun = Header(s);
    overrun.U8s({0xC3, 1, 0xC2, 1}); // five bytes into a picture of four
    EXPECT_TRUE(FailsWith(ReadPcx, overrun, PictureErrorKind::Malformed,
                          "PCX file has a run past the end of the picture"));
}

TEST(PcxReader, AHugeHeaderOnATinyFileIsRefusedBeforeAllocating) {
    PcxLayout s;
    s.planes = 3;
    s.width = 65535;
    s.height = 65535;
    s.bytesPerLine = 65535;
    ByteBuilder file = Header(s);
    file.U8s({0xFF, 0, 0xFF, 0});
    EXPECT_TRUE(FailsWith(ReadPcx, file, PictureErrorKind::Truncated, "PCX file is truncated"));
}

} // namespace
