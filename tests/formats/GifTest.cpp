#include "formats/DominantColors.h"
#include "formats/FileWriting.h"
#include "formats/Formats.h"
#include "formats/GifLzw.h"
#include "formats/Octree.h"
#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

#include <random>
#include <set>
#include <stdexcept>

using namespace quillon;

namespace {

int Append(GifFileType* gif, const GifByteType* bytes, int n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + n);
    return n;
}

ColorMapObject* Map(const std::vector<Color>& colours) {
    std::vector<GifColorType> c;
    for (Color x : colours) c.push_back({GetRValue(x), GetGValue(x), GetBValue(x)});
    return GifMakeMapObject(int(c.size()), c.data());
}

struct GifLayout {
    int ScreenW = 0, ScreenH = 0, Background = 0;
    std::vector<Color> Global = {};
    int Left = 0, Top = 0;
    std::vector<std::string> Rows = {}; // one digit a pixel: its index
    std::vector<Color> Local = {};
    bool Interlace = false;
    int Transparent = -1;
};

// A GIF file written with giflib directly, so that the reader is checked on
// layouts the project's writer never makes.
std::vector<std::uint8_t> MakeGif(const GifLayout& s) {
    std::vector<std::uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, Append, &err);
    ColorMapObject* global = s.Global.empty() ? nullptr : Map(s.Global);
    EGifPutScreenDesc(gif, s.ScreenW, s.ScreenH, 8, s.Background, global);
    if (s.Transparent >= 0) {
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, s.Transparent};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    const int w = int(s.Rows[0].size()), h = int(s.Rows.size());
    ColorMapObject* local = s.Local.empty() ? nullptr : Map(s.Local);
    EGifPutImageDesc(gif, s.Left, s.Top, w, h, s.Interlace, local);
    std::vector<int> order;
    if (s.Interlace) {
        for (int y = 0; y < h; y += 8) order.push_back(y);
        for (int y = 4; y < h; y += 8) order.push_back(y);
        for (int y = 2; y < h; y += 4) order.push_back(y);
        for (int y = 1; y < h; y += 2) order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y) order.push_back(y);
    }
    for (int y : order) {
        std::vector<GifPixelType> line;
        for (char c : s.Rows[std::size_t(y)]) line.push_back(GifPixelType(c - '0'));
        EGifPutLine(gif, line.data(), w);
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return out;
}

std::unique_ptr<Bitmap> Decode(const std::vector<std::uint8_t>& file) {
    auto b = std::make_unique<Bitmap>();
    ReadGif(file, "test.gif", *b);
    return b;
}

const std::map<char, Color> kLegend = {{'k', kBlack}, {'w', kWhite}, {'r', kRed},
                                       {'g', kLime},  {'b', kBlue},  {'y', 0x00FFFF}};
const std::vector<Color> kColours = {kBlack, kWhite, kRed, kLime, kBlue, 0x00FFFF, kGray, kSilver};

std::set<Color> ColoursOf(const Bitmap& b) {
    std::set<Color> s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) s.insert(b.Pixel(x, y));
    return s;
}

// A smooth photo-like picture with a flat rectangle in the middle.
std::unique_ptr<Bitmap> PhotoWithFlatArea(int w, int h, Color flat) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, RGB(x * 255 / w, y * 255 / h, (x * y) % 256));
    for (int y = h / 3; y < 2 * h / 3; ++y)
        for (int x = w / 3; x < 2 * w / 3; ++x) b->SetPixel(x, y, flat);
    return b;
}

} // namespace

// ---- Reading --------------------------------------------------------------------

TEST(GifReader, ImageCoveringTheScreenIsThePicture) {
    auto b =
        Decode(MakeGif({.ScreenW = 3, .ScreenH = 2, .Global = kColours, .Rows = {"123", "450"}}));
    EXPECT_EQ(b->format(), PixelFormat::Indexed8);
    EXPECT_EQ(b->Palette(), kColours);
    EXPECT_PIXELS(*b, kLegend, {"wrg", "byk"});
}

TEST(GifReader, SmallerImageIsPlacedOnTheLogicalScreen) {
    auto b = Decode(MakeGif({.ScreenW = 6,
                             .ScreenH = 4,
                             .Background = 1,
                             .Global = kColours,
                             .Left = 2,
                             .Top = 1,
                             .Rows = {"234", "324"},
                             .Transparent = 3}));
    EXPECT_PIXELS(*b, kLegend,
                  {"wwwwww", //
                   "wwrwbw", // index 3 is transparent: the background shows
                   "wwwrbw", //
                   "wwwwww"});
}

TEST(GifReader, ImagePartlyOffTheScreenIsClipped) {
    auto b = Decode(MakeGif({.ScreenW = 3,
                             .ScreenH = 2,
                             .Global = kColours,
                             .Left = 2,
                             .Top = 1,
                             .Rows = {"22", "22"}}));
    EXPECT_PIXELS(*b, kLegend, {"kkk", "kkr"});
}

TEST(GifReader, LocalColourTableWins) {
    auto b = Decode(MakeGif(
        {.ScreenW = 2, .ScreenH = 1, .Global = kColours, .Rows = {"01"}, .Local = {kBlue, kRed}}));
    EXPECT_PIXELS(*b, kLegend, {"br"});
    EXPECT_EQ(b->Palette(), (std::vector<Color>{kBlue, kRed}));
}

TEST(GifReader, InterlacedRowsComeBackInOrder) {
    std::vector<std::string> rows;
    std::vector<std::string> art;
    for (int y = 0; y < 11; ++y) {
        rows.push_back(std::string(1, char('0' + y % 6)) + "1");
        art.push_back(std::string(1, "kwrgby"[y % 6]) + "w");
    }
    auto b = Decode(MakeGif(
        {.ScreenW = 2, .ScreenH = 11, .Global = kColours, .Rows = rows, .Interlace = true}));
    EXPECT_TRUE(PixelsMatch(*b, art, kLegend));
}

TEST(GifReader, BrokenFilesAreRefused) {
    const auto good = MakeGif({.ScreenW = 8,
                               .ScreenH = 8,
                               .Global = kColours,
                               .Rows = {"01234567", "76543210", "01234567", "76543210", "01234567",
                                        "76543210", "01234567", "76543210"}});
    const std::string invalid = "GIF image is not valid";
    EXPECT_TRUE(FailsWith(ReadGif, {}, PictureErrorKind::Truncated, invalid));
    EXPECT_TRUE(
        FailsWith(ReadGif, {'G', 'I', 'F', '8', '9', 'a'}, PictureErrorKind::Truncated, invalid));
    EXPECT_TRUE(
        FailsWith(ReadGif, {'B', 'M', 0, 0, 0, 0, 0, 0}, PictureErrorKind::Malformed, invalid));
    // Every cut before the image data ends; the trailer byte alone may go.
    for (std::size_t n = 0; n + 2 < good.size(); ++n)
        EXPECT_TRUE(FailsWith(
            ReadGif, std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(n)),
            PictureErrorKind::Truncated, invalid))
            << n;
    std::mt19937 rng(5);
    for (int round = 0; round < 2000; ++round) {
        auto damaged = good;
        for (int k = 0; k < 3; ++k) damaged[rng() % damaged.size()] = std::uint8_t(rng());
        try {
            Decode(damaged);
        } catch (const PictureError&) {
        }
    }
}

TEST(GifReader, HugeImageInATinyFileIsRefused) {
    auto file = MakeGif({.ScreenW = 2, .ScreenH = 1, .Global = kColours, .Rows = {"01"}});
    // Screen and image sizes to 65535 x 65535: over the picture size limit.
    file[6] = file[7] = file[8] = file[9] = 0xFF;
    EXPECT_TRUE(FailsWith(ReadGif, file, PictureErrorKind::TooLarge, "is too large"));
    // Image 16000 x 16000 (under the limit) with a few bytes of data.
    file = MakeGif({.ScreenW = 2, .ScreenH = 1, .Global = kColours, .Rows = {"01"}});
    std::size_t desc = 13 + 8 * 3; // after the header and an 8-entry global table
    ASSERT_EQ(file[desc], ',');
    file[desc + 5] = 0x80;
    file[desc + 6] = 0x3E;
    file[desc + 7] = 0x80;
    file[desc + 8] = 0x3E;
    EXPECT_TRUE(FailsWith(ReadGif, file, PictureErrorKind::Truncated,
                          "GIF image is not valid (data is truncated)"));
    // Screen 13312 x 10547 round a 2 x 1 image: a tiny file asking for a
    // 140-megapixel picture.
    file = MakeGif({.ScreenW = 2, .ScreenH = 1, .Global = kColours, .Rows = {"01"}});
    file[6] = 0x00;
    file[7] = 0x34;
    file[8] = 0x33;
    file[9] = 0x29;
    EXPECT_TRUE(FailsWith(ReadGif, file, PictureErrorKind::TooLarge,
                          "GIF image is not valid (the screen is too large for the file)"));
    // A large blank screen up to 16 megapixels is a valid file: 4096 x 4096.
    file[6] = 0x00;
    file[7] = 0x10;
    file[8] = 0x00;
    file[9] = 0x10;
    EXPECT_EQ(Decode(file)->Width(), 4096);
}

// ---- Writing --------------------------------------------------------------------

TEST(GifWriter, FewColoursRoundTripExactly) {
    std::mt19937 rng(11);
    std::vector<Color> colours;
    for (int i = 0; i < 256; ++i) colours.push_back(rng() & 0xFFFFFF);
    for (PixelFormat pf : {PixelFormat::Bgrx32, PixelFormat::Bgr24, PixelFormat::Device}) {
        Bitmap b(37, 23, pf);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) b.SetPixel(x, y, colours[rng() % colours.size()]);
        auto back = Decode(EncodeGif(b));
        ASSERT_EQ(back->Width(), 37);
        ASSERT_EQ(back->Height(), 23);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) ASSERT_EQ(back->Pixel(x, y), b.Pixel(x, y));
    }
}

TEST(GifWriter, IndexedPicturesKeepTheirPalette) {
    for (auto [pf, n] : {std::pair{PixelFormat::Indexed1, 2},
                         {PixelFormat::Indexed4, 5},
                         {PixelFormat::Indexed8, 256},
                         {PixelFormat::Indexed8, 3}}) {
        Bitmap b(9, 4, pf);
        for (int i = 0; i < n; ++i) b.Palette().push_back(RGB(i, 255 - i, 7 * i));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) b.ScanLine(y)[x] = std::uint8_t((x * 3 + y) % n);
        auto back = Decode(EncodeGif(b));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) {
                ASSERT_EQ(back->ScanLine(y)[x], b.ScanLine(y)[x]);
                ASSERT_EQ(back->Pixel(x, y), b.Pixel(x, y));
            }
        // The table is padded to a power of two; the colours in front stay.
        ASSERT_GE(back->Palette().size(), std::size_t(n));
        EXPECT_TRUE(std::equal(b.Palette().begin(), b.Palette().end(), back->Palette().begin()));
    }
}

TEST(GifWriter, PhotoGetsAtMost256ColoursAndNoDither) {
    auto photo = PhotoWithFlatArea(160, 120, RGB(200, 60, 90));
    auto back = Decode(EncodeGif(*photo));
    EXPECT_LE(ColoursOf(*back).size(), 256u);
    // The flat area maps to one colour, and every pixel to its nearest
    // palette colour: no pattern of two neighbours alternating.
    const Color centre = back->Pixel(80, 60);
    for (int y = 40; y < 80; ++y)
        for (int x = 54; x < 106; ++x) ASSERT_EQ(back->Pixel(x, y), centre) << x << "," << y;
    Bitmap quantized;
    QuantizePicture(*photo, quantized);
    const auto& palette = quantized.Palette(); // without the file's padding
    for (int y = 0; y < 120; y += 7)
        for (int x = 0; x < 160; x += 5)
            ASSERT_EQ(back->Pixel(x, y),
                      palette[std::size_t(NearestPaletteIndex(palette, photo->Pixel(x, y)))]);
}

// The writer assembles the file and codes the pixels itself; giflib, driven
// the plain way, must give the same bytes: colour tables of every size,
// pictures long enough to fill the code table many times over, runs, noise,
// a single pixel and a single row.
TEST(GifWriter, WritesTheBytesGiflibWrites) {
    struct Case {
        int w, h, colours;
        int runs; // average run length of one index
    };
    for (const Case c :
         {Case{1, 1, 2, 1}, Case{1, 1, 256, 1}, Case{300, 1, 3, 1}, Case{1, 200, 7, 3},
          Case{64, 64, 2, 1}, Case{97, 61, 4, 2}, Case{256, 256, 16, 1}, Case{200, 150, 200, 4},
          Case{331, 277, 256, 1}, Case{500, 400, 256, 40}}) {
        for (unsigned seed : {1u, 2u}) {
            SCOPED_TRACE(testing::Message()
                         << c.w << "x" << c.h << ", " << c.colours << " colours, seed " << seed);
            std::mt19937 rng(seed);
            Bitmap b(c.w, c.h, PixelFormat::Indexed8);
            for (int i = 0; i < c.colours; ++i) b.Palette().push_back(rng() & 0xFFFFFF);
            std::uint8_t index = 0;
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    if (rng() % unsigned(c.runs) == 0)
                        index = std::uint8_t(rng() % unsigned(c.colours));
                    b.ScanLine(y)[x] = index;
                }
            const auto fast = EncodeGif(b);
            ASSERT_TRUE(fast == EncodeGifReference(b));
            auto back = Decode(fast);
            for (int y = 0; y < c.h; ++y)
                ASSERT_TRUE(std::equal(b.ScanLine(y), b.ScanLine(y) + c.w, back->ScanLine(y)));
        }
    }
    // A deep picture goes through the quantizer first, by either route.
    auto photo = PhotoWithFlatArea(90, 70, RGB(20, 160, 90));
    EXPECT_TRUE(EncodeGif(*photo) == EncodeGifReference(*photo));
}

// ---- Quantizer ------------------------------------------------------------------

TEST(Octree, KeepsExactColoursUpToTheLimitAndReducesBeyond) {
    for (int colours : {1, 2, 17, 256, 257, 5000}) {
        OctreeQuantizer q(256);
        std::mt19937 rng{unsigned(colours)};
        std::set<Color> added;
        while (int(added.size()) < colours) {
            const Color c = rng() & 0xFFFFFF;
            if (added.insert(c).second) q.AddColor(GetRValue(c), GetGValue(c), GetBValue(c), 3);
        }
        const auto palette = q.Palette();
        EXPECT_LE(palette.size(), 256u) << colours;
        if (colours <= 256)
            EXPECT_EQ(std::set<Color>(palette.begin(), palette.end()), added) << colours;
        else
            EXPECT_GT(palette.size(), 200u) << colours; // folding leaves most of the room used
    }
}

TEST(Octree, FoldedLeafHoldsTheMeanColour) {
    OctreeQuantizer q(2);
    q.AddColor(0, 0, 0, 1);
    q.AddColor(200, 200, 200, 1);
    q.AddColor(202, 200, 200, 3); // three leaves for two places: the near pair folds
    const auto p = q.Palette();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0], kBlack);
    EXPECT_EQ(p[1], RGB(202, 200, 200)); // (200 + 3 * 202) / 4 = 201.5, rounded
}

TEST(Octree, FastMappingAgreesWithThePlainSearch) {
    for (unsigned seed : {1u, 2u, 3u, 77u, 1234u}) {
        std::mt19937 rng(seed);
        const int w = 20 + int(rng() % 60), h = 10 + int(rng() % 40);
        Bitmap b(w, h, seed % 2 ? PixelFormat::Bgr24 : PixelFormat::Bgrx32);
        // Clustered colours: some runs, some noise, some near-duplicates.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int base = int(rng() % 8) * 32;
                b.SetPixel(x, y, RGB(base + int(rng() % 9), (x * 7 + base) & 255, (y * 5) & 255));
            }
        for (int maxColors : {256, 16, 2}) {
            Bitmap fast, plain;
            QuantizePicture(b, fast, maxColors);
            QuantizePictureReference(b, plain, maxColors);
            ASSERT_EQ(fast.Palette(), plain.Palette()) << "seed " << seed;
            EXPECT_LE(int(fast.Palette().size()), maxColors);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(fast.ScanLine(y)[x], plain.ScanLine(y)[x])
                        << "seed " << seed << " colours " << maxColors << " at " << x << "," << y;
        }
    }
}

// Colours that come back after folds have freed their leaves, and leaf
// slots given to other colours meanwhile: the cached octree must build the
// palette the uncached one builds.
TEST(Octree, CachedLeavesGiveThePaletteOfThePlainTree) {
    for (unsigned seed : {5u, 6u, 7u}) {
        std::mt19937 rng(seed);
        std::vector<Color> pool(3000 + seed * 1000);
        for (Color& c : pool) c = rng() & 0xFFFFFF;
        for (int maxColors : {256, 64, 2}) {
            OctreeQuantizer cached(maxColors), plain(maxColors, false);
            for (int i = 0; i < 200000; ++i) {
                // Mostly colours near the start of the pool, so they recur.
                const std::size_t k =
                    std::size_t(rng() % pool.size()) * (rng() % 4) / 3 % pool.size();
                const Color c = pool[k];
                const std::uint64_t n = 1 + rng() % 3;
                cached.AddColor(GetRValue(c), GetGValue(c), GetBValue(c), n);
                plain.AddColor(GetRValue(c), GetGValue(c), GetBValue(c), n);
            }
            ASSERT_EQ(cached.Palette(), plain.Palette()) << "seed " << seed << ", " << maxColors;
        }
    }
}

// A picture large enough to be mapped by two threads maps as the plain
// search does, the rows on both sides of the split too.
TEST(Octree, TwoMappersAgreeWithThePlainSearch) {
    std::mt19937 rng(21);
    Bitmap b(640, 411, PixelFormat::Device);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, RGB((x + int(rng() % 24)) & 255, (y * 3) & 255, int(rng() % 256)));
    Bitmap fast, plain;
    QuantizePicture(b, fast);
    QuantizePictureReference(b, plain);
    ASSERT_EQ(fast.Palette(), plain.Palette());
    for (int y = 0; y < b.Height(); ++y)
        ASSERT_TRUE(std::equal(fast.ScanLine(y), fast.ScanLine(y) + b.Width(), plain.ScanLine(y)))
            << "row " << y;
}

// The file of a picture mapped by two threads and coded band by band is the
// one giflib writes for the plain route's picture.
TEST(GifWriter, PictureCodedWhileMappedGivesTheBytesOfThePlainRoute) {
    std::mt19937 rng(5);
    Bitmap b(700, 390, PixelFormat::Device);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y,
                       RGB((x / 3 + int(rng() % 16)) & 255, (y + x / 7) & 255, int(rng() % 64)));
    EXPECT_TRUE(EncodeGif(b) == EncodeGifReference(b));
}

// Bands come in order, cover every row once, and an exception thrown while
// one is handed over comes out after the second thread has stopped.
TEST(Octree, BandsComeInOrderAndAFailureStopsBothThreads) {
    for (const auto& [w, h] : {std::pair{700, 600}, std::pair{3, 5}, std::pair{30000, 9}}) {
        Bitmap b(w, h, PixelFormat::Device);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x & 255, y & 255, (x * y) & 255));
        const std::vector<Color> palette = OctreePalette(b);
        std::vector<std::uint8_t> indices(std::size_t(w) * std::size_t(h));
        int nextRow = 0;
        MapRowsInOrder(b, palette, indices.data(), [&](int first, int end) {
            EXPECT_EQ(first, nextRow);
            EXPECT_LT(first, end);
            for (int y = first; y < end; ++y)
                for (int x = 0; x < w; x += 37)
                    ASSERT_EQ(indices[std::size_t(y) * std::size_t(w) + std::size_t(x)],
                              NearestPaletteIndex(palette, b.Pixel(x, y)));
            nextRow = end;
        });
        EXPECT_EQ(nextRow, h) << w << " x " << h;
    }
    Bitmap b(900, 900, PixelFormat::Device);
    std::vector<std::uint8_t> indices(900 * 900);
    int handed = 0;
    EXPECT_THROW(MapRowsInOrder(b, {kBlack}, indices.data(),
                                [&](int, int) {
                                    if (++handed == 3) throw std::runtime_error("disk full");
                                }),
                 std::runtime_error);
    EXPECT_EQ(handed, 3);
}

// A picture coded in pieces of every size gives the bytes of the picture
// coded whole.
TEST(GifWriter, CodingInPiecesEqualsCodingWhole) {
    std::mt19937 rng(8);
    std::vector<std::uint8_t> pixels(200000);
    std::uint8_t index = 0;
    for (auto& p : pixels) {
        if (rng() % 3 == 0) index = std::uint8_t(rng() % 200);
        p = index;
    }
    std::vector<std::uint8_t> whole;
    AppendGifImageData(pixels, 8, whole);
    std::vector<std::uint8_t> pieces;
    GifLzwEncoder coder(8, pieces);
    for (std::size_t at = 0; at < pixels.size();) {
        const std::size_t n =
            std::min<std::size_t>(rng() % 5 == 0 ? 0 : rng() % 3000 + 1, pixels.size() - at);
        coder.Add(std::span<const std::uint8_t>(pixels.data() + at, n));
        at += n;
    }
    coder.Finish();
    EXPECT_TRUE(pieces == whole);
}

// The palette built while a JPEG photo is decoded is the one built after;
// a photo turned upright is a new picture, and a file that fails to decode
// gives none (the adding thread stops before its rows go).
TEST(Octree, PaletteBuiltWhileDecodingIsThePaletteOfThePhoto) {
    const std::string dir = TempDir("octree_while_decoding");
    Bitmap photo(500, 333, PixelFormat::Device);
    std::mt19937 rng(3);
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x)
            photo.SetPixel(x, y,
                           RGB((x / 2 + int(rng() % 20)) & 255, (y + x / 5) & 255,
                               (x * y / 97 + int(rng() % 9)) & 255));
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(photo);
    const std::string file = dir + "/photo.jpg";
    WriteFileReplacing(file, jpeg);

    OctreeWhileDecoding octree;
    LoadOptions options;
    options.rows = &octree;
    const auto decoded = LoadPictureFile(file, options);
    const auto palette = octree.PaletteOf(*decoded);
    ASSERT_TRUE(palette.has_value());
    EXPECT_EQ(*palette, OctreePalette(*decoded));
    // Another picture, even of the same pixels, is not the one decoded.
    Bitmap copy;
    copy.Assign(*decoded);
    copy.SetPixel(0, 0, copy.Pixel(0, 0));
    EXPECT_FALSE(octree.PaletteOf(copy).has_value());
    // Rows made anew after decoding are not the rows seen, whatever memory
    // they come to lie in.
    octree.RowsReplaced();
    EXPECT_FALSE(octree.PaletteOf(*decoded).has_value());

    // A photo turned upright, to other sides or the same ones.
    for (const int orientation : {6, 3}) {
        const std::string turnedFile = dir + "/turned.jpg";
        WriteFileReplacing(turnedFile, jpeg);
        if (std::system(("exiftool -q -q -overwrite_original -n -Orientation=" +
                         std::to_string(orientation) + " '" + turnedFile + "' >/dev/null 2>&1")
                            .c_str()) != 0)
            break;
        OctreeWhileDecoding turned;
        options.rows = &turned;
        const auto upright = LoadPictureFile(turnedFile, options);
        EXPECT_EQ(upright->Width(), orientation == 6 ? 333 : 500);
        EXPECT_FALSE(turned.PaletteOf(*upright).has_value());
    }

    const std::string cut = dir + "/cut.jpg";
    WriteFileReplacing(cut,
                       std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    OctreeWhileDecoding broken;
    options.rows = &broken;
    try {
        const auto partial = LoadPictureFile(cut, options);
        EXPECT_FALSE(broken.PaletteOf(*partial).has_value());
    } catch (const PictureError&) {
    }
}

TEST(Octree, MapperBreaksTiesToTheLowestIndexLikeThePlainSearch) {
    const std::vector<Color> palette = {RGB(10, 0, 0), RGB(0, 0, 0), RGB(20, 0, 0), RGB(10, 0, 0)};
    PaletteMapper m(palette);
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(m.Index(std::uint8_t(r), 0, 0), NearestPaletteIndex(palette, RGB(r, 0, 0))) << r;
}

// ---- Dominant colours ------------------------------------------------------------

namespace {

// A picture made of horizontal bands: each colour with its number of rows.
std::unique_ptr<Bitmap> Bands(int width, const std::vector<std::pair<Color, int>>& bands) {
    int height = 0;
    for (const auto& band : bands) height += band.second;
    auto picture = std::make_unique<Bitmap>(width, height);
    Bitmap& b = *picture;
    int y = 0;
    for (const auto& [color, rows] : bands)
        for (int end = y + rows; y < end; ++y)
            for (int x = 0; x < width; ++x) b.SetPixel(x, y, color);
    return picture;
}

} // namespace

TEST(DominantColors, MostCommonFirstAndExact) {
    const Color cream = RGB(240, 232, 216), brown = RGB(107, 68, 35), blue = RGB(40, 70, 160);
    const auto b = Bands(50, {{brown, 30}, {blue, 10}, {cream, 60}});
    EXPECT_EQ(DominantColors(*b, 3), (std::vector<Color>{cream, brown, blue}));
    EXPECT_EQ(DominantColors(*b, 2), (std::vector<Color>{cream, brown}));
    EXPECT_EQ(DominantColors(*b, 8).size(), 3u); // no more colours than the picture has
}

TEST(DominantColors, NearTwinsComeAfterDistinctColours) {
    const Color grey = RGB(200, 200, 200), twin = RGB(204, 200, 198), black = kBlack;
    const auto b = Bands(40, {{grey, 50}, {twin, 30}, {black, 20}});
    EXPECT_EQ(DominantColors(*b, 2), (std::vector<Color>{grey, black}));
    EXPECT_EQ(DominantColors(*b, 3), (std::vector<Color>{grey, black, twin}));
}

TEST(DominantColors, LargePicturesAreSampledAndEveryFormatReads) {
    // Over the sample limit: every few pixels are read, and both halves
    // still count in their proportion.
    const Color red = RGB(200, 30, 30), green = RGB(30, 160, 60);
    const auto big = Bands(1000, {{green, 400}, {red, 600}});
    EXPECT_EQ(DominantColors(*big, 2), (std::vector<Color>{red, green}));
    Bitmap indexed(8, 8, PixelFormat::Indexed8);
    indexed.Palette() = {RGB(1, 2, 3), RGB(250, 240, 230)};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) indexed.ScanLine(y)[x] = std::uint8_t(x < 6);
    EXPECT_EQ(DominantColors(indexed, 2), (std::vector<Color>{RGB(250, 240, 230), RGB(1, 2, 3)}));
}

TEST(DominantColors, NothingToOffer) {
    EXPECT_TRUE(DominantColors(Bitmap(), 4).empty());
    EXPECT_TRUE(DominantColors(*Bands(4, {{kWhite, 4}}), 0).empty());
}
