// TIFF reader: strips and tiles, each compression libtiff offers, gray,
// palette, RGB, CMYK and alpha in 1, 8 and 16 bits, the first page of a
// multi-page file, and damaged files. Fixtures are written with libtiff's
// writer, or byte by byte where the file must be wrong.
#include "formats/Formats.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <tiffio.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace quillon;

namespace {

const std::map<char, Color> kLegend = {{'.', kWhite},
                                       {'#', kBlack},
                                       {'r', RGB(255, 0, 0)},
                                       {'g', RGB(0, 255, 0)},
                                       {'b', RGB(0, 0, 255)},
                                       {'m', RGB(128, 128, 128)},
                                       {'p', RGB(255, 128, 128)}};

struct TiffLayout {
    int width = 0, height = 0;
    int samples = 3, bits = 8;
    int photometric = PHOTOMETRIC_RGB;
    int compression = COMPRESSION_NONE;
    bool tiled = false;
    int extra = -1; // EXTRASAMPLE_* of a fourth (or second) sample, -1: none
    std::vector<std::uint16_t> red, green, blue; // colour map
    std::vector<std::vector<int>> rows;          // samples, interleaved
    std::function<void(TIFF*)> moreTags;
};

// One row packed as libtiff takes it: below 8 bits most significant first,
// 16 bits in the machine's order.
std::vector<std::uint8_t> PackRow(const std::vector<int>& samples, int bits) {
    std::vector<std::uint8_t> row((samples.size() * std::size_t(bits) + 7) / 8);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (bits == 16) {
            const auto v = std::uint16_t(samples[i]);
            std::memcpy(&row[2 * i], &v, 2);
        } else {
            const std::size_t bit = i * std::size_t(bits);
            row[bit / 8] |= std::uint8_t(samples[i] << (8 - bits - int(bit % 8)));
        }
    }
    return row;
}

void WriteDirectory(TIFF* tif, TiffLayout s) {
    if (s.height == 0) s.height = int(s.rows.size());
    if (s.width == 0) s.width = int(s.rows[0].size()) / s.samples;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, s.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, s.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, s.samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, s.bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (s.extra >= 0) {
        const std::uint16_t kind = std::uint16_t(s.extra);
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &kind);
    }
    if (!s.red.empty())
        TIFFSetField(tif, TIFFTAG_COLORMAP, s.red.data(), s.green.data(), s.blue.data());
    if (s.moreTags) s.moreTags(tif);
    if (!s.tiled) {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, s.compression == COMPRESSION_JPEG ? 16 : 1);
        for (int y = 0; y < s.height; ++y) {
            auto row = PackRow(s.rows[std::size_t(y)], s.bits);
            ASSERT_EQ(TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0), 1);
        }
    } else {
        const int tile = 16;
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, tile);
        const int bytesPerPixel = s.samples * s.bits / 8; // tiles are only tested at 8 or 16 bits
        std::vector<std::uint8_t> buf(std::size_t(tile * tile * bytesPerPixel));
        for (int ty = 0; ty < s.height; ty += tile)
            for (int tx = 0; tx < s.width; tx += tile) {
                std::fill(buf.begin(), buf.end(), 0);
                for (int y = ty; y < std::min(ty + tile, s.height); ++y) {
                    const auto row = PackRow(s.rows[std::size_t(y)], s.bits);
                    const int n = std::min(tile, s.width - tx) * bytesPerPixel;
                    std::memcpy(&buf[std::size_t((y - ty) * tile * bytesPerPixel)],
                                &row[std::size_t(tx * bytesPerPixel)], std::size_t(n));
                }
                ASSERT_GE(
                    TIFFWriteTile(tif, buf.data(), std::uint32_t(tx), std::uint32_t(ty), 0, 0), 0);
            }
    }
}

std::vector<std::uint8_t> WriteTiff(const std::vector<TiffLayout>& pages) {
    const std::string path = TempDir("tiff") + "/fixture.tif";
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tif, nullptr);
    if (!tif) return {};
    for (const auto& page : pages) {
        WriteDirectory(tif, page);
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> WriteTiff(const TiffLayout& s) {
    return WriteTiff(std::vector<TiffLayout>{s});
}

// The picture "rg" over "b." as 8-bit RGB samples.
const std::vector<std::vector<int>> kRgbRows = {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}};

TEST(TiffReader, RgbStripsInEveryLosslessCompression) {
    struct Case {
        const char* name;
        int compression;
    } cases[] = {{"none", COMPRESSION_NONE},
                 {"packbits", COMPRESSION_PACKBITS},
                 {"lzw", COMPRESSION_LZW},
                 {"deflate", COMPRESSION_ADOBE_DEFLATE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TiffLayout s;
        s.compression = c.compression;
        s.rows = kRgbRows;
        const auto file = WriteTiff(s);
        SaveSeed("tiff", std::string("rgb-") + c.name + ".tif", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTiff, file, out), "");
        EXPECT_EQ(out.format(), PixelFormat::Bgr24);
        EXPECT_PIXELS(out, kLegend, {"rg", "b."});
    }
}

TEST(TiffReader, TilesCoverPicturesThatAreNotAWholeNumberOfTiles) {
    TiffLayout s;
    s.tiled = true;
    s.compression = COMPRESSION_LZW;
    for (int y = 0; y < 20; ++y) {
        s.rows.emplace_back();
        for (int x = 0; x < 18; ++x) {
            const bool red = (x / 3 + y / 5) % 2;
            for (int v : {red ? 255 : 0, 0, red ? 0 : 255}) s.rows.back().push_back(v);
        }
    }
    const auto file = WriteTiff(s);
    SaveSeed("tiff", "tiled.tif", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTiff, file, out), "");
    ASSERT_EQ(out.Width(), 18);
    ASSERT_EQ(out.Height(), 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 18; ++x)
            ASSERT_EQ(out.Pixel(x, y), (x / 3 + y / 5) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255))
                << x << "," << y;
}

TEST(TiffReader, GrayAndBilevelInOneEightAndSixteenBits) {
    struct Case {
        const char* name;
        int bits, photometric, max;
    } cases[] = {{"black-is-zero-1", 1, PHOTOMETRIC_MINISBLACK, 1},
                 {"white-is-zero-1", 1, PHOTOMETRIC_MINISWHITE, 1},
                 {"gray8", 8, PHOTOMETRIC_MINISBLACK, 255},
                 {"gray16", 16, PHOTOMETRIC_MINISBLACK, 65535}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TiffLayout s;
        s.samples = 1;
        s.bits = c.bits;
        s.photometric = c.photometric;
        s.compression = c.bits == 1 ? COMPRESSION_PACKBITS : COMPRESSION_NONE;
        s.rows = {{0, c.max, 0}, {c.max, c.max, 0}};
        const auto file = WriteTiff(s);
        SaveSeed("tiff", std::string(c.name) + ".tif", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTiff, file, out), "");
        if (c.photometric == PHOTOMETRIC_MINISWHITE)
            EXPECT_PIXELS(out, kLegend, {".#.", "##."});
        else
            EXPECT_PIXELS(out, kLegend, {"#.#", "..#"});
    }
}

TEST(TiffReader, PaletteColoursComeFromTheColourMap) {
    for (int bits : {4, 8}) {
        SCOPED_TRACE(bits);
        TiffLayout s;
        s.samples = 1;
        s.bits = bits;
        s.photometric = PHOTOMETRIC_PALETTE;
        const std::size_t n = std::size_t(1) << bits;
        s.red.assign(n, 0);
        s.green.assign(n, 0);
        s.blue.assign(n, 0);
        s.red[1] = 65535;   // 1 red
        s.green[2] = 65535; // 2 green
        s.blue[n - 1] = 65535;
        s.rows = {{1, 2}, {int(n) - 1, 0}};
        const auto file = WriteTiff(s);
        SaveSeed("tiff", "palette" + std::to_string(bits) + ".tif", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTiff, file, out), "");
        EXPECT_PIXELS(out, kLegend, {"rg", "b#"});
    }
}

TEST(TiffReader, SixteenBitRgbAndCmykInEightAndSixteenBits) {
    TiffLayout rgb16;
    rgb16.bits = 16;
    rgb16.compression = COMPRESSION_ADOBE_DEFLATE;
    rgb16.rows = {{65535, 0, 0, 0, 65535, 0}, {0, 0, 65535, 65535, 65535, 65535}};
    const auto rgbFile = WriteTiff(rgb16);
    SaveSeed("tiff", "rgb16.tif", rgbFile);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTiff, rgbFile, out), "");
    EXPECT_PIXELS(out, kLegend, {"rg", "b."});

    TiffLayout cmyk;
    cmyk.samples = 4;
    cmyk.photometric = PHOTOMETRIC_SEPARATED;
    cmyk.moreTags = [](TIFF* tif) { TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK); };
    // Red is magenta and yellow; green cyan and yellow; blue cyan and magenta.
    cmyk.rows = {{0, 255, 255, 0, 255, 0, 255, 0}, {255, 255, 0, 0, 0, 0, 0, 0}};
    const auto cmykFile = WriteTiff(cmyk);
    SaveSeed("tiff", "cmyk.tif", cmykFile);
    ASSERT_EQ(ReadError(ReadTiff, cmykFile, out), "");
    EXPECT_PIXELS(out, kLegend, {"rg", "b."});

    // Sixteen-bit CMYK takes its own path, in strips and in tiles.
    TiffLayout cmyk16 = cmyk;
    cmyk16.bits = 16;
    for (auto& row : cmyk16.rows)
        for (int& v : row) v *= 257;
    for (bool tiled : {false, true}) {
        SCOPED_TRACE(tiled ? "cmyk16 tiles" : "cmyk16 strips");
        cmyk16.tiled = tiled;
        const auto file = WriteTiff(cmyk16);
        SaveSeed("tiff", tiled ? "cmyk16-tiled.tif" : "cmyk16.tif", file);
        ASSERT_EQ(ReadError(ReadTiff, file, out), "");
        EXPECT_PIXELS(out, kLegend, {"rg", "b."});
    }
}

TEST(TiffReader, AlphaIsCompositedOverWhite) {
    for (int extra : {EXTRASAMPLE_UNASSALPHA, EXTRASAMPLE_ASSOCALPHA}) {
        SCOPED_TRACE(extra);
        TiffLayout s;
        s.samples = 4;
        s.extra = extra;
        // Opaque red, clear, and red at alpha 127 (premultiplied: 127).
        const int half = extra == EXTRASAMPLE_ASSOCALPHA ? 127 : 255;
        s.rows = {{255, 0, 0, 255, 0, 0, 0, 0, half, 0, 0, 127}};
        const auto file = WriteTiff(s);
        SaveSeed("tiff", extra == EXTRASAMPLE_ASSOCALPHA ? "rgba-assoc.tif" : "rgba.tif", file);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTiff, file, out), "");
        EXPECT_PIXELS(out, kLegend, {"r.p"});
    }
}

TEST(TiffReader, JpegCompressedStripsDecodeCloseToTheOriginal) {
    TiffLayout s;
    s.compression = COMPRESSION_JPEG;
    for (int y = 0; y < 16; ++y) {
        s.rows.emplace_back();
        for (int x = 0; x < 16; ++x)
            for (int v : {200, 40, 90}) s.rows.back().push_back(v);
    }
    const auto file = WriteTiff(s);
    // The reader promises JPEG-compressed TIFF: a libtiff without it is a fault.
    ASSERT_FALSE(file.empty()) << "libtiff cannot write JPEG-compressed strips";
    SaveSeed("tiff", "jpeg.tif", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTiff, file, out), "");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Color c = out.Pixel(x, y);
            EXPECT_NEAR(GetRValue(c), 200, 3);
            EXPECT_NEAR(GetGValue(c), 40, 3);
            EXPECT_NEAR(GetBValue(c), 90, 3);
        }
}

TEST(TiffReader, OnlyTheFirstPageIsRead) {
    TiffLayout first, second;
    first.rows = kRgbRows;
    second.samples = 1;
    second.photometric = PHOTOMETRIC_MINISBLACK;
    second.rows = {{0, 0, 0}};
    const auto file = WriteTiff({first, second});
    SaveSeed("tiff", "two-pages.tif", file);
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTiff, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"rg", "b."});
}

// A little-endian TIFF written field by field: an 8-byte header, the pixel
// bytes, then one directory of SHORT or LONG entries.
ByteBuilder HandMadeTiff(std::vector<std::pair<int, std::uint32_t>> tags,
                         const std::vector<std::uint8_t>& pixels) {
    ByteBuilder b;
    b.Text("II").U16LE(42).U32LE(std::uint32_t(8 + pixels.size()));
    b.Append(pixels);
    std::sort(tags.begin(), tags.end());
    b.U16LE(unsigned(tags.size()));
    for (const auto& [tag, value] : tags) b.U16LE(unsigned(tag)).U16LE(4).U32LE(1).U32LE(value);
    b.U32LE(0);
    return b;
}

std::vector<std::pair<int, std::uint32_t>> GrayTags(std::uint32_t width, std::uint32_t height,
                                                    std::uint32_t stripBytes) {
    return {{TIFFTAG_IMAGEWIDTH, width},
            {TIFFTAG_IMAGELENGTH, height},
            {TIFFTAG_BITSPERSAMPLE, 8},
            {TIFFTAG_COMPRESSION, COMPRESSION_NONE},
            {TIFFTAG_PHOTOMETRIC, 1},
            {TIFFTAG_STRIPOFFSETS, 8},
            {TIFFTAG_SAMPLESPERPIXEL, 1},
            {TIFFTAG_ROWSPERSTRIP, height},
            {TIFFTAG_STRIPBYTECOUNTS, stripBytes}};
}

void SetTag(std::vector<std::pair<int, std::uint32_t>>& tags, int tag, std::uint32_t value) {
    for (auto& t : tags)
        if (t.first == tag) {
            t.second = value;
            return;
        }
    tags.push_back({tag, value});
}

TEST(TiffReader, HandMadeFileReadsAsWritten) {
    const auto file = HandMadeTiff(GrayTags(2, 2, 4), {0, 255, 128, 0});
    Bitmap out;
    ASSERT_EQ(ReadError(ReadTiff, file, out), "");
    EXPECT_PIXELS(out, kLegend, {"#.", "m#"});
}

TEST(TiffReader, DamagedFilesAreRefusedAndLeaveThePictureAlone) {
    EXPECT_TRUE(FailsWith(ReadTiff, std::vector<std::uint8_t>({'I', 'I', 43}),
                          PictureErrorKind::Malformed, "TIFF file has no TIFF signature"));
    EXPECT_TRUE(FailsWith(ReadTiff, ByteBuilder().Text("PK").U16LE(42).U32LE(8).Get(),
                          PictureErrorKind::Malformed, "TIFF file has no TIFF signature"));
    EXPECT_TRUE(FailsWith(ReadTiff, HandMadeTiff(GrayTags(16000, 16000, 4), {1, 2, 3, 4}),
                          PictureErrorKind::Truncated, "TIFF file is truncated"));

    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        PictureErrorKind kind;
        const char* prefix;
    };
    auto noLength = GrayTags(2, 2, 4);
    noLength.erase(noLength.begin() + 1); // TIFFTAG_IMAGELENGTH
    auto inkset = GrayTags(2, 1, 8);
    SetTag(inkset, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
    SetTag(inkset, TIFFTAG_SAMPLESPERPIXEL, 4);
    SetTag(inkset, TIFFTAG_INKSET, INKSET_MULTIINK);
    auto stripPastEnd = GrayTags(2, 2, 4);
    SetTag(stripPastEnd, TIFFTAG_STRIPOFFSETS, 10000);
    ByteBuilder directoryPastEnd;
    directoryPastEnd.Text("MM").U16BE(42).U32BE(4000);
    const Case cases[] = {
        {"strip past the end", HandMadeTiff(stripPastEnd, {0, 255, 128, 0}),
         PictureErrorKind::Truncated, "TIFF file is truncated"},
        {"no picture length", HandMadeTiff(noLength, {0, 255, 128, 0}), PictureErrorKind::Malformed,
         "TIFF file is damaged ("},
        {"directory past the end", directoryPastEnd, PictureErrorKind::Truncated,
         "TIFF file is damaged ("},
        {"multi-ink separation", HandMadeTiff(inkset, {0, 0, 0, 0, 0, 0, 0, 0}),
         PictureErrorKind::Unsupported, "TIFF file has an unsupported layout ("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(FailsWith(ReadTiff, c.file, c.kind, c.prefix));
    }
}

// A directory may place its strips past the end of the file. The file's
// size alone would allow 16384 x 16384 pixels here; the strips' bytes
// present do not, and the picture is refused before it is allocated.
TEST(TiffReader, StripsMissingFromTheFileAreRefusedBeforeAllocating) {
    auto tags = GrayTags(16384, 16384, 16384u * 16384u);
    SetTag(tags, TIFFTAG_STRIPOFFSETS, 1u << 20);
    const auto file = HandMadeTiff(tags, std::vector<std::uint8_t>(17000, 0));
    SaveRegress("tiff", "16384-square-strips-missing.tif", file);
    EXPECT_TRUE(FailsWith(ReadTiff, file, PictureErrorKind::Truncated, "TIFF file is truncated"));
    // With its strip in the file the same directory reaches the file budget.
    SetTag(tags, TIFFTAG_STRIPOFFSETS, 8);
    EXPECT_TRUE(FailsWith(ReadTiff, HandMadeTiff(tags, std::vector<std::uint8_t>(17000, 0)),
                          PictureErrorKind::TooLarge,
                          "TIFF picture of 16384 x 16384 pixels is too large for a file of"));
}

} // namespace

// Sixteen-bit samples are rounded to 8 bits, as the PNG reader rounds them:
// v * 255 / 65535 to the nearest, not the high byte.
TEST(TiffReader, SixteenBitSamplesRoundToEightBits) {
    const std::pair<int, int> values[] = {{255, 1},  {65280, 254}, {32767, 127},
                                          {1000, 4}, {65535, 255}, {0, 0}};
    struct Case {
        const char* name;
        int samples, photometric;
        bool tiled;
    } cases[] = {{"rgb16", 3, PHOTOMETRIC_RGB, false},
                 {"rgb16-tiled", 3, PHOTOMETRIC_RGB, true},
                 {"gray16", 1, PHOTOMETRIC_MINISBLACK, false},
                 {"white-is-zero16", 1, PHOTOMETRIC_MINISWHITE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TiffLayout s;
        s.samples = c.samples;
        s.bits = 16;
        s.photometric = c.photometric;
        s.tiled = c.tiled;
        s.rows.resize(1);
        for (auto [v, expected] : values)
            for (int i = 0; i < c.samples; ++i) s.rows[0].push_back(v);
        Bitmap out;
        ASSERT_EQ(ReadError(ReadTiff, WriteTiff(s), out), "");
        for (int x = 0; x < int(std::size(values)); ++x) {
            const int expected =
                c.photometric == PHOTOMETRIC_MINISWHITE ? 255 - values[x].second : values[x].second;
            EXPECT_EQ(GetRValue(out.Pixel(x, 0)), expected) << values[x].first;
            EXPECT_EQ(GetBValue(out.Pixel(x, 0)), expected) << values[x].first;
        }
    }
}

// The Orientation tag is the EXIF one: the reader gives the rows as stored
// and loading turns them upright once, turns included.
TEST(TiffReader, OrientationTagTurnsThePictureOnceWhenLoaded) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {ORIENTATION_TOPLEFT, {"rg", "b."}}, {ORIENTATION_TOPRIGHT, {"gr", ".b"}},
        {ORIENTATION_BOTLEFT, {"b.", "rg"}}, {ORIENTATION_RIGHTTOP, {"br", ".g"}},
        {ORIENTATION_LEFTBOT, {"g.", "rb"}},
    };
    const std::string dir = TempDir("tiff-orientation");
    for (const auto& [orientation, upright] : cases) {
        SCOPED_TRACE(orientation);
        TiffLayout s;
        s.rows = kRgbRows;
        const int o = orientation;
        s.moreTags = [o](TIFF* tif) { TIFFSetField(tif, TIFFTAG_ORIENTATION, o); };
        const auto file = WriteTiff(s);
        Bitmap stored;
        ASSERT_EQ(ReadError(ReadTiff, file, stored), "");
        EXPECT_PIXELS(stored, kLegend, {"rg", "b."});
        const std::string path = dir + "/photo.tif";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        EXPECT_TRUE(PixelsMatch(*LoadPictureFile(path), upright, kLegend));
        EXPECT_TRUE(PixelsMatch(*LoadPictureFile(path, LoadOptions{.autoOrient = false}),
                                {"rg", "b."}, kLegend));
    }
}
