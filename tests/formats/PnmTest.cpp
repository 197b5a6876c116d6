// Portable anymap reader: every kind P1 to P6, header comments, sample
// scaling by maxval, and one malformed file per error.
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

using namespace quillon;

namespace {

std::vector<std::uint8_t> Text(const std::string& s) {
    return {s.begin(), s.end()};
}

const std::map<char, Color> kLegend = {{'.', kWhite},          {'#', kBlack},
                                       {'r', RGB(255, 0, 0)},  {'g', RGB(0, 255, 0)},
                                       {'b', RGB(0, 0, 255)},  {'m', RGB(128, 128, 128)},
                                       {'y', RGB(255, 255, 0)}};

TEST(PnmReader, AsciiBitmapWithCommentsAndAdjacentDigits) {
    const auto file = Text("P1\n# a comment\n4 # width\n3\n1001\n0 1 1 0\n10\n01\n");
    SaveSeed("pnm", "p1.pbm", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPnm, file, out), "");
    EXPECT_EQ(out.format(), PixelFormat::Indexed1);
    EXPECT_PIXELS(out, kLegend, {"#..#", ".##.", "#..#"});
}

TEST(PnmReader, PackedBitmapRowsArePaddedToAByte) {
    // 10 pixels a row: two bytes, the last six bits of each row unused.
    ByteBuilder file;
    file.Text("P4 10 2\n").U8s({0b10000000, 0b01111111, 0b01111111, 0b10000000});
    SaveSeed("pnm", "p4.pbm", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPnm, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"#........#", ".########."});
}

TEST(PnmReader, GraySamplesAreScaledByTheMaximum) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
    };
    ByteBuilder p5wide, p5byte, p5odd;
    p5wide.Text("P5 3 1 65535\n").U16BE(0).U16BE(32896).U16BE(65535);
    p5byte.Text("P5\n3 1\n255\n").U8s({0, 128, 255});
    // maxval 1000 is above 255, so samples take two bytes.
    p5odd.Text("P5 3 1 1000 ").U16BE(0).U16BE(502).U16BE(1000);
    const Case cases[] = {{"P2 maxval 2", Text("P2 3 1 2\n0 1 2\n")},
                          {"P5 maxval 65535", p5wide},
                          {"P5 maxval 255", p5byte},
                          {"P5 maxval 1000", p5odd}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPnm, c.file, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Indexed8);
        EXPECT_PIXELS(out, kLegend, {"#m."});
    }
    SaveSeed("pnm", "p2.pgm", cases[0].file);
    SaveSeed("pnm", "p5-16.pgm", p5wide);
}

TEST(PnmReader, ColourSamplesAreRedGreenBlue) {
    ByteBuilder p6;
    p6.Text("P6 2 2 255\n").U8s({255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0});
    ByteBuilder p6wide;
    p6wide.Text("P6 2 2 65535\n");
    for (int v : {65535, 0, 0, 0, 65535, 0, 0, 0, 65535, 65535, 65535, 0})
        p6wide.U16BE(unsigned(v));
    const auto p3 = Text("P3\n# colours\n2 2\n15\n15 0 0  0 15 0\n0 0 15  15 15 0\n");
    for (const auto& file : {p6.Get(), p6wide.Get(), p3}) {
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPnm, file, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Bgr24);
        EXPECT_PIXELS(out, kLegend, {"rg", "by"});
    }
    SaveSeed("pnm", "p6.ppm", p6);
    SaveSeed("pnm", "p3.ppm", p3);
}

TEST(PnmReader, SamplesAboveTheMaximumCountAsTheMaximum) {
    ByteBuilder file;
    file.Text("P5 2 1 100\n").U8s({100, 250});
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPnm, file, out), "");
    EXPECT_PIXELS(out, kLegend, {".."});
}

TEST(PnmReader, OnlyTheFirstPictureOfAStreamIsRead) {
    ByteBuilder file;
    file.Text("P5 1 1 255\n").U8(0).Text("P5 1 1 255\n").U8(255);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPnm, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"#"});
}

TEST(PnmReader, MalformedFilesAreRefusedAndLeaveThePictureAlone) {
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P7 1 1 255\n"), PictureErrorKind::Malformed,
                          "PNM file does not start with P1 to P6"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P"), PictureErrorKind::Malformed,
                          "PNM file does not start with P1 to P6"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 2 2 255\n\x01\x02\x03"), PictureErrorKind::Truncated,
                          "PNM file is truncated"));
    EXPECT_TRUE(
        FailsWith(ReadPnm, Text("P6 2 2"), PictureErrorKind::Truncated, "PNM file is truncated"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 -2 2 255\n"), PictureErrorKind::Malformed,
                          "PNM file has an invalid width"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 65536 1 255\n"), PictureErrorKind::TooLarge,
                          "PNM file has an invalid width"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 1 1 0\n\x01"), PictureErrorKind::Malformed,
                          "PNM file has an invalid maximum value"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 1 1 65536\n\x01\x01"), PictureErrorKind::Malformed,
                          "PNM file has an invalid maximum value"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P5 1 1 255x\x01"), PictureErrorKind::Malformed,
                          "PNM file has an invalid header"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P2 2 1 255\n1 x\n"), PictureErrorKind::Malformed,
                          "PNM file has an invalid pixel value"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P1 2 1\n1 2\n"), PictureErrorKind::Malformed,
                          "PNM file has an invalid pixel value"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P2 3 1 255\n1 2"), PictureErrorKind::Truncated,
                          "PNM file is truncated"));
}

TEST(PnmReader, AHugeHeaderOnATinyFileIsRefusedBeforeAllocating) {
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P6 65535 65535 255\n\x01\x02\x03"),
                          PictureErrorKind::Truncated, "PNM file is truncated"));
    EXPECT_TRUE(FailsWith(ReadPnm, Text("P1 60000 60000\n0101"), PictureErrorKind::Truncated,
                          "PNM file is truncated"));
}

} // namespace
