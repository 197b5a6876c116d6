// PNG reader: every colour type and bit depth, Adam7 interlacing, tRNS
// transparency over white, and damaged files. Fixtures are written with
// libpng's writer from samples given in the test.
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <png.h>
#include <zlib.h>

#include <chrono>
#include <csetjmp>
#include <random>

using namespace quillon;

namespace {

const std::map<char, Color> kLegend = {{'.', kWhite},
                                       {'#', kBlack},
                                       {'r', RGB(255, 0, 0)},
                                       {'g', RGB(0, 255, 0)},
                                       {'b', RGB(0, 0, 255)},
                                       {'m', RGB(128, 128, 128)},
                                       {'p', RGB(255, 128, 128)}};

struct PngLayout {
    int width = 0, height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha; // tRNS of a palette picture
    bool hasKey = false;                // tRNS of a gray or RGB picture
    png_color_16 key{};
    std::vector<std::vector<int>> rows; // samples, channel by channel
};

int Channels(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

// Packs samples into a stored row: below 8 bits most significant first,
// 16 bits big-endian.
std::vector<png_byte> Pack(const std::vector<int>& samples, int depth) {
    std::vector<png_byte> row((samples.size() * std::size_t(depth) + 7) / 8);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (depth == 16) {
            row[2 * i] = png_byte(samples[i] >> 8);
            row[2 * i + 1] = png_byte(samples[i]);
        } else {
            const std::size_t bit = i * std::size_t(depth);
            row[bit / 8] |= png_byte(samples[i] << (8 - depth - int(bit % 8)));
        }
    }
    return row;
}

void Append(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

bool WriteWithLibpng(png_structp png, png_infop info, const PngLayout* s, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, png_uint_32(s->width), png_uint_32(s->height), s->depth, s->colourType,
                 s->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s->palette.empty()) png_set_PLTE(png, info, s->palette.data(), int(s->palette.size()));
    if (!s->paletteAlpha.empty())
        png_set_tRNS(png, info, s->paletteAlpha.data(), int(s->paletteAlpha.size()), nullptr);
    if (s->hasKey) png_set_tRNS(png, info, nullptr, 0, &s->key);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::vector<std::uint8_t> WritePng(PngLayout s) {
    if (s.height == 0) s.height = int(s.rows.size());
    if (s.width == 0) s.width = int(s.rows[0].size()) / Channels(s.colourType);
    std::vector<std::vector<png_byte>> packed;
    for (const auto& r : s.rows) packed.push_back(Pack(r, s.depth));
    std::vector<png_bytep> rows;
    for (auto& r : packed) rows.push_back(r.data());
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    const bool ok = WriteWithLibpng(png, info, &s, rows.data());
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(ok) << "the test's PNG writer failed";
    return out;
}

TEST(PngReader, GrayInEveryDepth) {
    for (int depth : {1, 2, 4, 8, 16}) {
        SCOPED_TRACE(depth);
        const int max = (1 << depth) - 1;
        PngLayout s;
        s.colourType = PNG_COLOR_TYPE_GRAY;
        s.depth = depth;
        s.rows = {{0, max, 0}, {max, 0, max}};
        const auto file = WritePng(s);
        SaveSeed("png", "gray" + std::to_string(depth) + ".png", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPng, file, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Bgr24);
        EXPECT_PIXELS(out, kLegend, {"#.#", ".#."});
    }
}

TEST(PngReader, GraySamplesScaleToEightBits) {
    struct Case {
        int depth, sample, expected;
    } cases[] = {{2, 1, 85}, {2, 2, 170}, {4, 7, 119}, {16, 0x8080, 128}, {16, 0xFE00, 253}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.depth) + " bits, sample " + std::to_string(c.sample));
        PngLayout s;
        s.colourType = PNG_COLOR_TYPE_GRAY;
        s.depth = c.depth;
        s.rows = {{c.sample}};
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPng, WritePng(s), out), "");
        EXPECT_EQ(out.Pixel(0, 0), RGB(c.expected, c.expected, c.expected));
    }
}

TEST(PngReader, PaletteInEveryDepth) {
    for (int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        PngLayout s;
        s.colourType = PNG_COLOR_TYPE_PALETTE;
        s.depth = depth;
        s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        s.palette.resize(std::size_t(std::min(1 << depth, 4)));
        s.rows = depth == 1 ? std::vector<std::vector<int>>{{0, 1}, {1, 0}}
                            : std::vector<std::vector<int>>{{0, 1}, {2, 3}};
        const auto file = WritePng(s);
        SaveSeed("png", "palette" + std::to_string(depth) + ".png", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadPng, file, out), "");
        if (depth == 1)
            EXPECT_PIXELS(out, kLegend, {"rg", "gr"});
        else
            EXPECT_PIXELS(out, kLegend, {"rg", "b."});
    }
}

TEST(PngReader, ColourAndAlphaTypesInEightAndSixteenBits) {
    for (int depth : {8, 16}) {
        const int m = (1 << depth) - 1, h = depth == 8 ? 127 : 0x7F7F; // h: 128/255 white
        struct Case {
            const char* name;
            int colourType;
            std::vector<std::vector<int>> rows;
            std::vector<std::string> art;
        } cases[] = {
            {"rgb", PNG_COLOR_TYPE_RGB, {{m, 0, 0, 0, m, 0, 0, 0, m}}, {"rgb"}},
            {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, {{m, 0, 0, m, 0, 0, m, 0, m, 0, 0, h}}, {"r.p"}},
            {"gray-alpha", PNG_COLOR_TYPE_GRAY_ALPHA, {{0, m, 0, 0, 0, h}}, {"#.m"}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(depth));
            PngLayout s;
            s.colourType = c.colourType;
            s.depth = depth;
            s.rows = c.rows;
            const auto file = WritePng(s);
            SaveSeed("png", std::string(c.name) + std::to_string(depth) + ".png", file);
            Bitmap out;
            ASSERT_EQ(ReadError(ReadPng, file, out), "");
            EXPECT_TRUE(PixelsMatch(out, c.art, kLegend));
        }
    }
}

TEST(PngReader, TransparencyChunkIsCompositedOverWhite) {
    PngLayout pal;
    pal.colourType = PNG_COLOR_TYPE_PALETTE;
    pal.palette = {{255, 0, 0}, {0, 0, 0}, {255, 0, 0}};
    pal.paletteAlpha = {255, 0, 127}; // opaque, clear, half
    pal.rows = {{0, 1, 2}};
    const auto palFile = WritePng(pal);
    SaveSeed("png", "palette-trns.png", palFile);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPng, palFile, out), "");
    EXPECT_PIXELS(out, kLegend, {"r.p"});

    PngLayout gray;
    gray.colourType = PNG_COLOR_TYPE_GRAY;
    gray.depth = 4;
    gray.hasKey = true;
    gray.key.gray = 3;
    gray.rows = {{0, 3, 15}};
    ASSERT_EQ(ReadError(ReadPng, WritePng(gray), out), "");
    EXPECT_PIXELS(out, kLegend, {"#.."});

    PngLayout rgb;
    rgb.depth = 16;
    rgb.hasKey = true;
    rgb.key.red = 0;
    rgb.key.green = 0;
    rgb.key.blue = 0xFFFF;
    rgb.rows = {{0, 0, 0xFFFF, 0xFFFF, 0, 0}};
    ASSERT_EQ(ReadError(ReadPng, WritePng(rgb), out), "");
    EXPECT_PIXELS(out, kLegend, {".r"});
}

TEST(PngReader, InterlacedPicturesMatchTheirPlainTwins) {
    std::mt19937 random(7);
    struct Case {
        int colourType, depth;
    } cases[] = {{PNG_COLOR_TYPE_RGB, 8},
                 {PNG_COLOR_TYPE_GRAY, 1},
                 {PNG_COLOR_TYPE_GRAY, 4},
                 {PNG_COLOR_TYPE_RGB_ALPHA, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.colourType) + " " + std::to_string(c.depth));
        PngLayout s;
        s.colourType = c.colourType;
        s.depth = c.depth;
        const int w = 11, h = 13, n = w * Channels(c.colourType);
        for (int y = 0; y < h; ++y) {
            s.rows.emplace_back();
            for (int i = 0; i < n; ++i) s.rows.back().push_back(int(random() % (1u << c.depth)));
        }
        const auto plainFile = WritePng(s);
        s.interlaced = true;
        const auto interlacedFile = WritePng(s);
        if (c.depth == 8) SaveSeed("png", "interlaced.png", interlacedFile);
        Bitmap plain, interlaced;
        ASSERT_EQ(ReadError(ReadPng, plainFile, plain), "");
        ASSERT_EQ(ReadError(ReadPng, interlacedFile, interlaced), "");
        ASSERT_EQ(interlaced.Width(), w);
        ASSERT_EQ(interlaced.Height(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(interlaced.Pixel(x, y), plain.Pixel(x, y)) << x << "," << y;
    }
}

// The position of a chunk's type in a file, or 0.
std::size_t FindChunk(const std::vector<std::uint8_t>& file, const char* type) {
    for (std::size_t i = 12; i + 4 <= file.size(); ++i)
        if (std::equal(type, type + 4, file.begin() + std::ptrdiff_t(i))) return i;
    return 0;
}

TEST(PngReader, DamagedFilesAreRefusedAndLeaveThePictureAlone) {
    PngLayout s;
    s.rows = {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}};
    const auto good = WritePng(s);

    auto notPng = good;
    notPng[1] = 'X';
    EXPECT_TRUE(
        FailsWith(ReadPng, notPng, PictureErrorKind::Malformed, "PNG file has no PNG signature"));

    EXPECT_TRUE(FailsWith(ReadPng, std::vector<std::uint8_t>(good.begin(), good.begin() + 20),
                          PictureErrorKind::Truncated, "PNG file is truncated"));
    const std::size_t idat = FindChunk(good, "IDAT");
    ASSERT_GT(idat, 0u);
    EXPECT_TRUE(FailsWith(ReadPng, std::vector<std::uint8_t>(good.begin(), good.begin() + idat + 8),
                          PictureErrorKind::Truncated, "PNG file is truncated"));

    auto badCrc = good;
    badCrc[16 + 3] ^= 1; // the width in IHDR, so its CRC no longer matches
    EXPECT_TRUE(FailsWith(ReadPng, badCrc, PictureErrorKind::Malformed,
                          "PNG file is damaged (IHDR: CRC error)"));

    auto badData = good;
    badData[idat + 4] ^= 0xFF; // the zlib header of the deflate stream
    EXPECT_TRUE(FailsWith(ReadPng, badData, PictureErrorKind::Malformed, "PNG file is damaged ("));
}

TEST(PngReader, AHugeHeaderOnATinyFileIsRefusedBeforeAllocating) {
    PngLayout s;
    s.rows = {{1, 2, 3}};
    auto file = WritePng(s);
    // Claim 60000 x 60000 in IHDR and mend its CRC so libpng accepts it.
    for (int i : {0, 4}) {
        file[16 + std::size_t(i)] = 0;
        file[17 + std::size_t(i)] = 0;
        file[18 + std::size_t(i)] = 60000 >> 8;
        file[19 + std::size_t(i)] = 60000 & 0xFF;
    }
    const std::uint32_t crc = std::uint32_t(crc32(0, file.data() + 12, 17));
    for (int i = 0; i < 4; ++i) file[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
    EXPECT_TRUE(FailsWith(ReadPng, file, PictureErrorKind::Truncated, "PNG file is truncated"));
}

// A PNG built chunk by chunk: the signature, IHDR, the given chunks, IEND.
struct PngChunks {
    ByteBuilder file;
    PngChunks(std::uint32_t width, std::uint32_t height, int depth, int colourType) {
        file.U8s({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
        ByteBuilder ihdr;
        ihdr.U32BE(width).U32BE(height).U8(depth).U8(colourType).U8(0).U8(0).U8(0);
        Add("IHDR", ihdr.Get());
    }
    void Add(const char* type, const std::vector<std::uint8_t>& data) {
        ByteBuilder typed;
        typed.Text(type).Append(data);
        file.U32BE(std::uint32_t(data.size())).Append(typed.Get());
        file.U32BE(std::uint32_t(crc32(0, typed.Get().data(), uInt(typed.Size()))));
    }
    std::vector<std::uint8_t> End() {
        Add("IEND", {});
        return file.Get();
    }
};

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

// A 1-bit 16384 x 16384 picture whose rows stop after 16 KB of deflate data
// (the whole would be 33 KB): refused before 16384 x 16384 is allocated.
TEST(PngReader, RowsCutShortAreRefusedBeforeAllocating) {
    const std::vector<std::uint8_t> rows(std::size_t(16384 / 8 + 1) * 16384, 0);
    auto idat = Deflate(rows);
    ASSERT_GT(idat.size(), 30000u);
    idat.resize(16 * 1024);
    PngChunks png(16384, 16384, 1, PNG_COLOR_TYPE_GRAY);
    png.Add("IDAT", idat);
    const auto file = png.End();
    SaveRegress("png", "1bit-16384-cut-short.png", file);
    EXPECT_TRUE(FailsWith(ReadPng, file, PictureErrorKind::Truncated, "PNG file is truncated"));
}

// Compressed text costs seconds and megabytes to unpack and is never shown:
// fifty chunks of 8 MB of text each are skipped unread.
TEST(PngReader, CompressedTextIsSkippedUnread) {
    auto withText = [](int chunks) {
        PngChunks png(2, 1, 8, PNG_COLOR_TYPE_GRAY);
        ByteBuilder text;
        text.Text("Comment").U8(0).U8(0); // keyword, compression method
        text.Append(Deflate(std::vector<std::uint8_t>((8 << 20) - 4096, 'a')));
        for (int i = 0; i < chunks; ++i) png.Add("zTXt", text.Get());
        png.Add("IDAT", Deflate({0, 0, 255}));
        return png.End();
    };
    SaveRegress("png", "ztxt-3-of-8mb.png", withText(3));
    const auto file = withText(50);
    const auto start = std::chrono::steady_clock::now();
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPng, file, out), "");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_PIXELS(out, kLegend, {"#."});
    // Unpacking the text would take 400 MB and a second or more.
    EXPECT_LT(seconds, 0.5);
}

// A real picture over the free size opens when its file keeps to the budget:
// 4200 x 4200 pixels (17.6 million) compress to 2 KB of deflate data, and
// need 17 KB of file, here a private ancillary chunk as metadata would be.
// (At 16000 x 16000 the same rule asks 250 KB of file and 32 KB of deflate
// data for 32 MB of rows: see DecodeLimits.SizeAndFileBudget.)
TEST(PngReader, APictureOverTheFreeSizeOpensWithinTheBudget) {
    const std::vector<std::uint8_t> rows(std::size_t(4200 / 8 + 1) * 4200, 0);
    PngChunks bare(4200, 4200, 1, PNG_COLOR_TYPE_GRAY);
    bare.Add("IDAT", Deflate(rows));
    EXPECT_TRUE(FailsWith(ReadPng, bare.End(), PictureErrorKind::TooLarge,
                          "PNG picture of 4200 x 4200 pixels is too large for a file of"));
    PngChunks padded(4200, 4200, 1, PNG_COLOR_TYPE_GRAY);
    padded.Add("quIl", std::vector<std::uint8_t>(17 * 1024, 1));
    padded.Add("IDAT", Deflate(rows));
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPng, padded.End(), out), "");
    EXPECT_EQ(out.Width(), 4200);
    EXPECT_EQ(out.Pixel(4199, 4199), kBlack);
}

} // namespace
