#include "formats/Formats.h"
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace quillon;

namespace {

struct BmpLayout {
    int InfoSize = 40; // 12, 40, 108 or 124
    int Width = 0;
    int Height = 0; // negative: top-down
    int Bits = 8;
    std::uint32_t Compression = 0;
    std::vector<Color> Palette = {};
    std::vector<std::uint32_t> Masks = {}; // after a 40-byte header, or inside a larger one
    std::vector<std::uint8_t> Pixels = {};
};

// A Windows bitmap file as the description says, with the pixel offset
// pointing just past the palette.
std::vector<std::uint8_t> MakeBmp(const BmpLayout& s) {
    const bool core = s.InfoSize == 12;
    const std::size_t masksAfter = s.InfoSize == 40 ? s.Masks.size() * 4 : 0;
    const std::size_t paletteBytes = s.Palette.size() * (core ? 3 : 4);
    const std::uint32_t off = std::uint32_t(14 + s.InfoSize + masksAfter + paletteBytes);
    ByteBuilder b;
    b.U8s({'B', 'M'}).U32LE(std::uint32_t(off + s.Pixels.size())).U32LE(0).U32LE(off);
    b.U32LE(std::uint32_t(s.InfoSize));
    if (core) {
        b.U16LE(s.Width).U16LE(s.Height).U16LE(1).U16LE(s.Bits);
    } else {
        b.U32LE(std::uint32_t(s.Width)).U32LE(std::uint32_t(s.Height)).U16LE(1).U16LE(s.Bits);
        b.U32LE(s.Compression).U32LE(std::uint32_t(s.Pixels.size())).U32LE(0).U32LE(0);
        b.U32LE(std::uint32_t(s.Palette.size())).U32LE(0);
        std::size_t extra = s.InfoSize > 40 ? std::size_t(s.InfoSize) - 40 : 0;
        if (s.InfoSize > 40)
            for (std::uint32_t m : s.Masks) {
                b.U32LE(m);
                extra = extra >= 4 ? extra - 4 : 0;
            }
        else
            for (std::uint32_t m : s.Masks) b.U32LE(m);
        b.Zeros(extra);
    }
    for (Color c : s.Palette) {
        b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c));
        if (!core) b.U8(0);
    }
    return b.Append(s.Pixels).Get();
}

std::unique_ptr<Bitmap> Read(const std::vector<std::uint8_t>& file) {
    auto b = std::make_unique<Bitmap>();
    ReadBmp(file, "test.bmp", *b);
    return b;
}

const std::map<char, Color> kLegend = {{'k', kBlack}, {'w', kWhite}, {'r', kRed},
                                       {'g', kLime},  {'b', kBlue},  {'y', 0x00FFFF}};
const std::vector<Color> kPalette4 = {kBlack, kWhite, kRed, kLime, kBlue, 0x00FFFF};

void ExpectSamePicture(const Bitmap& a, const Bitmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "at (" << x << ", " << y << ")";
}

} // namespace

// ---- Round trips through the writer ---------------------------------------

struct DepthCase {
    PixelFormat Format;
    PixelFormat ReadBack;
    int Colours; // palette size for indexed formats
};

class BmpRoundTrip : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BmpRoundTrip, EveryPixelAndThePaletteSurvive) {
    const DepthCase c = GetParam();
    std::mt19937 rng(7);
    for (auto [w, h] : {std::pair{1, 1}, {13, 7}, {33, 5}, {8, 3}}) {
        Bitmap b(w, h, c.Format);
        if (b.IsIndexed()) {
            for (int i = 0; i < c.Colours; ++i) b.Palette().push_back(RGB(i * 37, 255 - i, i * 11));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = std::uint8_t(rng() % c.Colours);
        } else {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
        }
        auto back = Read(EncodeBmp(b));
        EXPECT_EQ(back->format(), c.ReadBack);
        ExpectSamePicture(b, *back);
        if (b.IsIndexed()) {
            EXPECT_EQ(back->Palette(), b.Palette());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllDepths, BmpRoundTrip,
    ::testing::Values(DepthCase{PixelFormat::Indexed1, PixelFormat::Indexed1, 2},
                      DepthCase{PixelFormat::Indexed4, PixelFormat::Indexed4, 16},
                      DepthCase{PixelFormat::Indexed4, PixelFormat::Indexed4, 5},
                      DepthCase{PixelFormat::Indexed8, PixelFormat::Indexed8, 256},
                      DepthCase{PixelFormat::Indexed8, PixelFormat::Indexed8, 100},
                      DepthCase{PixelFormat::Bgr24, PixelFormat::Bgr24, 0},
                      DepthCase{PixelFormat::Bgrx32, PixelFormat::Bgrx32, 0},
                      DepthCase{PixelFormat::Device, PixelFormat::Bgrx32, 0}));

TEST(BmpWriter, WritesInfoHeaderBottomUpWithPaddedRows) {
    auto b = BitmapFromArt({"rgb", "kwy"}, kLegend, PixelFormat::Bgr24);
    const auto f = EncodeBmp(*b);
    ASSERT_EQ(f.size(), 14u + 40 + 2 * 12); // 9 bytes of pixels padded to 12 a row
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(f[14], 40);         // header size
    EXPECT_EQ(f[22], 2);          // positive height: bottom-up
    EXPECT_EQ(f[28], 24);         // bits
    const std::size_t first = 54; // first stored row is the bottom one: black
    EXPECT_EQ(f[first], 0);
    EXPECT_EQ(f[first + 3], 255);      // then white
    EXPECT_EQ(f[first + 12 + 2], 255); // top row starts with red (B, G, R order)
    EXPECT_EQ(f[first + 12 + 0], 0);
}

// A picture of many blocks of rows: every row lands bottom-up in its place
// with zeroed padding, a 32-bit pixel's fourth byte is written as zero
// whatever it held, and the file saved a block at a time holds exactly the
// encoded bytes.
TEST(BmpWriter, ManyBlocksOfRowsStreamToTheFileInPlace) {
    std::mt19937 rng(3);
    for (PixelFormat pf : {PixelFormat::Bgr24, PixelFormat::Device, PixelFormat::Indexed4}) {
        SCOPED_TRACE(int(pf));
        const int w = 101, h = 2900;
        Bitmap b(w, h, pf);
        if (b.IsIndexed()) b.Palette() = {kRed, kLime, kBlue, kWhite};
        for (int y = 0; y < h; ++y)
            for (std::size_t i = 0; i < b.Stride(); ++i)
                b.ScanLine(y)[i] = std::uint8_t(b.IsIndexed() ? rng() % 4 : rng());
        const auto f = EncodeBmp(b);
        const int bits = pf == PixelFormat::Bgr24 ? 24 : pf == PixelFormat::Device ? 32 : 4;
        const std::size_t rowBytes = (std::size_t(w) * bits + 31) / 32 * 4;
        const std::size_t start = f[10] | (f[11] << 8);
        ASSERT_EQ(f.size(), start + rowBytes * h);
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* stored = f.data() + start + std::size_t(h - 1 - y) * rowBytes;
            const std::uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                if (bits == 4) {
                    const int v = (stored[x / 2] >> (x % 2 ? 0 : 4)) & 15;
                    ASSERT_EQ(v, row[x]) << x << "," << y;
                    continue;
                }
                const int bpp = bits / 8;
                for (int c = 0; c < 3; ++c) ASSERT_EQ(stored[bpp * x + c], row[bpp * x + c]);
                if (bpp == 4) {
                    ASSERT_EQ(stored[4 * x + 3], 0) << x << "," << y;
                }
            }
            const std::size_t used = (std::size_t(w) * bits + 7) / 8;
            for (std::size_t i = used; i < rowBytes; ++i) ASSERT_EQ(stored[i], 0) << y;
        }
        const std::string file = TempDir("bmp-stream") + "/big.bmp";
        SaveBmpFile(b, file);
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> saved{std::istreambuf_iterator<char>(in), {}};
        EXPECT_TRUE(saved == f);
    }
}

TEST(BmpWriter, IndexedPixelsPastThePaletteAreWrittenAsBlack) {
    Bitmap b(2, 1, PixelFormat::Indexed8);
    b.Palette() = {kRed};
    b.ScanLine(0)[1] = 3;
    auto back = Read(EncodeBmp(b));
    EXPECT_EQ(back->Pixel(0, 0), kRed);
    EXPECT_EQ(back->Pixel(1, 0), kBlack);
}

// ---- Variants of the file format --------------------------------------------

TEST(BmpReader, TopDownRowsStartWithTheTopRow) {
    BmpLayout s{.Width = 1, .Height = -2, .Bits = 24};
    s.Pixels = {0, 0, 255, 0, /* red, padded */ 255, 0, 0, 0 /* blue */};
    auto b = Read(MakeBmp(s));
    EXPECT_PIXELS(*b, kLegend, {"r", "b"});
}

TEST(BmpReader, CoreHeaderWithThreeBytePalette) {
    BmpLayout s{.InfoSize = 12, .Width = 3, .Height = 1, .Bits = 8};
    s.Palette = {kWhite, kRed, kBlue};
    s.Pixels = {2, 1, 0, 0};
    auto b = Read(MakeBmp(s));
    EXPECT_EQ(b->format(), PixelFormat::Indexed8);
    EXPECT_PIXELS(*b, kLegend, {"brw"});
}

TEST(BmpReader, SixteenBitsDefaultsToFiveFiveFive) {
    BmpLayout s{.Width = 2, .Height = 1, .Bits = 16};
    s.Pixels = {0x00, 0x7C, 0x1F, 0x00}; // red, blue
    auto b = Read(MakeBmp(s));
    EXPECT_EQ(b->format(), PixelFormat::Bgr24);
    EXPECT_PIXELS(*b, kLegend, {"rb"});
    s.Pixels = {0x10, 0x42, 0, 0}; // 16 of 31 in every channel
    EXPECT_EQ(Read(MakeBmp(s))->Pixel(0, 0), RGB(132, 132, 132));
}

TEST(BmpReader, BitFieldMasksInEveryHeaderKind) {
    // 5-6-5 after a 40-byte header: the 6-bit green needs its own scaling.
    BmpLayout s{.Width = 2, .Height = 1, .Bits = 16, .Compression = 3};
    s.Masks = {0xF800, 0x07E0, 0x001F};
    s.Pixels = {0xE0, 0x07, 0x20, 0x00}; // full green; green 1 of 63
    auto b = Read(MakeBmp(s));
    EXPECT_EQ(b->Pixel(0, 0), kLime);
    EXPECT_EQ(b->Pixel(1, 0), RGB(0, 4, 0));
    // 32 bits with red in the top byte, inside V4 and V5 headers.
    for (int info : {108, 124}) {
        BmpLayout t{.InfoSize = info, .Width = 1, .Height = 1, .Bits = 32, .Compression = 3};
        t.Masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
        t.Pixels = {0x00, 0x30, 0x20, 0x10};
        auto c = Read(MakeBmp(t));
        EXPECT_EQ(c->format(), PixelFormat::Bgrx32);
        EXPECT_EQ(c->Pixel(0, 0), RGB(0x10, 0x20, 0x30)) << info;
    }
}

TEST(BmpReader, PaletteShorterThanTheDepthAllows) {
    BmpLayout s{.Width = 4, .Height = 1, .Bits = 4};
    s.Palette = {kRed, kBlue};
    s.Pixels = {0x01, 0x10, 0, 0};
    auto b = Read(MakeBmp(s));
    EXPECT_EQ(b->format(), PixelFormat::Indexed4);
    EXPECT_EQ(b->Palette().size(), 2u);
    EXPECT_PIXELS(*b, kLegend, {"rbbr"});
}

TEST(BmpReader, Rle8RunsLiteralsDeltaAndLineEnds) {
    BmpLayout s{.Width = 6, .Height = 3, .Bits = 8, .Compression = 1, .Palette = kPalette4};
    s.Pixels = ByteBuilder()
                   .U8s({3, 2, 0, 3, 3, 4, 5, 0}) // bottom: 3 red, literal g b y (padded)
                   .U8s({0, 0})                   // end of line
                   .U8s({0, 2, 4, 1})             // delta: right 4, up 1 (to the top row)
                   .U8s({2, 1})                   // 2 white at x 4..5
                   .U8s({0, 1})                   // end of bitmap
                   .Get();
    auto b = Read(MakeBmp(s));
    EXPECT_PIXELS(*b, kLegend, {"kkkkww", "kkkkkk", "rrrgby"});
}

TEST(BmpReader, Rle4AlternatesNibbles) {
    BmpLayout s{.Width = 5, .Height = 2, .Bits = 4, .Compression = 2, .Palette = kPalette4};
    s.Pixels = ByteBuilder()
                   .U8s({5, 0x23, 0, 0})          // bottom: r g r g r
                   .U8s({0, 3, 0x45, 0x10, 0, 0}) // literal b y w, padded to a word
                   .U8s({0, 1})
                   .Get();
    auto b = Read(MakeBmp(s));
    EXPECT_PIXELS(*b, kLegend, {"bywkk", "rgrgr"});
}

// Writers that encode each row with its padding bytes (5 pixels padded to 8)
// make runs and literals that go past the width; the part past it is dropped.
TEST(BmpReader, RleRunsOverTheRowPaddingAreCutAtTheRowEnd) {
    BmpLayout s{.Width = 5, .Height = 3, .Bits = 8, .Compression = 1, .Palette = kPalette4};
    s.Pixels = ByteBuilder()
                   .U8s({8, 2, 0, 0})                   // bottom: 8 red, 3 past the width
                   .U8s({3, 1, 0, 5, 4, 4, 0, 0, 0, 0}) // 3 white, literal b b + 3 padding
                   .U8s({0, 0})
                   .U8s({4, 3, 4, 0, 0, 0}) // 4 green, 4 black: one cut
                   .U8s({0, 1})
                   .Get();
    auto b = Read(MakeBmp(s));
    EXPECT_PIXELS(*b, kLegend, {"ggggk", "wwwbb", "rrrrr"});
}

TEST(BmpReader, RleWithoutEndOfBitmapAfterTheLastLine) {
    BmpLayout s{.Width = 2, .Height = 1, .Bits = 8, .Compression = 1, .Palette = kPalette4};
    s.Pixels = {2, 2, 0, 0};
    EXPECT_PIXELS(*Read(MakeBmp(s)), kLegend, {"rr"});
}

// ---- Malformed files ----------------------------------------------------------

struct BadCase {
    const char* What;
    PictureErrorKind Kind;
    std::vector<std::uint8_t> File;
};

std::vector<BadCase> BadFiles() {
    std::vector<BadCase> cases;
    auto rle = [](std::vector<std::uint8_t> px, int bits = 8) {
        BmpLayout s{.Width = 4,
                    .Height = 2,
                    .Bits = bits,
                    .Compression = bits == 8 ? 1u : 2u,
                    .Palette = kPalette4,
                    .Pixels = std::move(px)};
        return MakeBmp(s);
    };
    BmpLayout ok{.Width = 3, .Height = 2, .Bits = 24, .Pixels = std::vector<std::uint8_t>(24, 9)};
    auto file = MakeBmp(ok);

    cases.push_back({"empty file", PictureErrorKind::Truncated, {}});
    cases.push_back({"wrong signature", PictureErrorKind::Malformed,
                     ByteBuilder().U8s({'B', 'A'}).Append(file).Get()});
    cases.push_back({"header cut short", PictureErrorKind::Truncated,
                     std::vector<std::uint8_t>(file.begin(), file.begin() + 30)});
    cases.push_back({"pixels cut short", PictureErrorKind::Truncated,
                     std::vector<std::uint8_t>(file.begin(), file.end() - 13)});
    BmpLayout s = ok;
    s.Bits = 7;
    cases.push_back({"seven bits a pixel", PictureErrorKind::Unsupported, MakeBmp(s)});
    s = ok;
    s.InfoSize = 20;
    cases.push_back({"unknown header size", PictureErrorKind::Malformed, MakeBmp(s)});
    s = ok;
    s.Compression = 1;
    cases.push_back({"RLE8 on 24 bits", PictureErrorKind::Unsupported, MakeBmp(s)});
    s = ok;
    s.Width = -3;
    cases.push_back({"negative width", PictureErrorKind::Malformed, MakeBmp(s)});
    s = {.Width = 2, .Height = 1, .Bits = 8, .Palette = {kRed, kBlue}, .Pixels = {1, 2, 0, 0}};
    cases.push_back({"palette index out of range", PictureErrorKind::Malformed, MakeBmp(s)});
    s = {.Width = 2,
         .Height = -1,
         .Bits = 8,
         .Compression = 1,
         .Palette = kPalette4,
         .Pixels = {2, 1, 0, 1}};
    cases.push_back({"top-down RLE", PictureErrorKind::Malformed, MakeBmp(s)});
    s = {.Width = 1,
         .Height = 1,
         .Bits = 16,
         .Compression = 3,
         .Masks = {0xF0F0, 0x0F00, 0x000F},
         .Pixels = {0, 0, 0, 0}};
    cases.push_back({"mask of two runs", PictureErrorKind::Malformed, MakeBmp(s)});
    cases.push_back(
        {"RLE run below the last row", PictureErrorKind::Malformed, rle({0, 0, 0, 0, 8, 1, 0, 1})});
    cases.push_back({"RLE literal below the last row", PictureErrorKind::Malformed,
                     rle({0, 0, 0, 0, 0, 3, 1, 1, 1, 0, 0, 1})});
    cases.push_back({"RLE literal past the data", PictureErrorKind::Truncated, rle({0, 4, 1, 1})});
    cases.push_back(
        {"RLE delta past the picture", PictureErrorKind::Malformed, rle({0, 2, 9, 0, 0, 1})});
    cases.push_back(
        {"RLE past the last line", PictureErrorKind::Malformed, rle({0, 0, 0, 0, 1, 1, 0, 1})});
    cases.push_back({"RLE data ends mid-picture", PictureErrorKind::Truncated, rle({4, 1, 0, 0})});
    cases.push_back({"RLE index out of range", PictureErrorKind::Malformed, rle({2, 9, 0, 1})});
    cases.push_back(
        {"RLE4 index out of range", PictureErrorKind::Malformed, rle({2, 0x19, 0, 1}, 4)});
    return cases;
}

TEST(BmpReader, MalformedFilesAreRefusedAndLeaveTheBitmapAlone) {
    for (const auto& c : BadFiles())
        EXPECT_TRUE(FailsWith(ReadBmp, c.File, c.Kind, "Bitmap image is not valid")) << c.What;
}

TEST(BmpReader, HugeSizeIsRefusedBeforeAllocating) {
    // Both claim about 4 * 10^9 pixels with a few bytes of data.
    BmpLayout s{.Width = 65535,
                .Height = 65535,
                .Bits = 8,
                .Compression = 1,
                .Palette = kPalette4,
                .Pixels = {0, 1}};
    EXPECT_TRUE(FailsWith(ReadBmp, MakeBmp(s), PictureErrorKind::TooLarge, "is too large"));
    s = {.Width = 0x7FFFFFFF, .Height = -0x7FFFFFFF, .Bits = 32, .Pixels = {0, 0, 0, 0}};
    EXPECT_TRUE(FailsWith(ReadBmp, MakeBmp(s), PictureErrorKind::TooLarge, "is too large"));
}

// Run-length codes can leave any area blank: end-of-bitmap right away makes
// a whole picture of index 0 from two bytes. Up to 16 megapixels that is
// taken; beyond, the file must hold a byte per 1024 pixels.
TEST(BmpReader, BlankRunLengthPicturesKeepToTheFileBudget) {
    for (int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        BmpLayout s{.Width = 16384,
                    .Height = 16384,
                    .Bits = bits,
                    .Compression = bits == 8 ? 1u : 2u,
                    .Palette = kPalette4,
                    .Pixels = {0, 1}};
        const auto huge = MakeBmp(s);
        SaveRegress(
            "bmp", bits == 8 ? "rle8-16384-ends-at-once.bmp" : "rle4-16384-ends-at-once.bmp", huge);
        EXPECT_TRUE(FailsWith(ReadBmp, huge, PictureErrorKind::TooLarge,
                              "BMP picture of 16384 x 16384 pixels is too large for a file of " +
                                  std::to_string(huge.size()) + " bytes"));
        s.Width = s.Height = 4096;
        const auto blank = Read(MakeBmp(s));
        EXPECT_EQ(blank->Width(), 4096);
        EXPECT_EQ(blank->Pixel(4095, 4095), kBlack);
    }
}

TEST(BmpReader, EveryTruncationAndRandomDamageIsHandled) {
    Bitmap photo(9, 5, PixelFormat::Indexed8);
    for (int i = 0; i < 6; ++i) photo.Palette().push_back(kPalette4[std::size_t(i)]);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) photo.ScanLine(y)[x] = std::uint8_t((x / 3 + y) % 6);
    BmpLayout rle{.Width = 6, .Height = 3, .Bits = 8, .Compression = 1, .Palette = kPalette4};
    rle.Pixels = {3, 2, 0, 3, 3, 4, 5, 0, 0, 0, 0, 2, 4, 1, 2, 1, 0, 1};
    for (const auto& file : {EncodeBmp(photo), MakeBmp(rle)}) {
        // The last row needs no padding, so prefixes down to that still read.
        for (std::size_t n = 0; n + 3 < file.size(); ++n) {
            std::vector<std::uint8_t> cut(file.begin(), file.begin() + std::ptrdiff_t(n));
            EXPECT_THROW(Read(cut), PictureError) << "prefix of " << n << " bytes";
        }
        std::mt19937 rng(1234);
        for (int round = 0; round < 3000; ++round) {
            auto damaged = file;
            for (int k = 0; k < 3; ++k) damaged[rng() % damaged.size()] = std::uint8_t(rng());
            try {
                Read(damaged);
            } catch (const PictureError&) {
            }
        }
    }
}
