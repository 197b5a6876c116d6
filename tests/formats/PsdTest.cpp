#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// PackBits for one row: repeats for runs of two or more, literals otherwise.
std::vector<std::uint8_t> PackBits(const std::vector<std::uint8_t>& row) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && row[i + run] == row[i] && run < 128) ++run;
        if (run >= 2) {
            out.push_back(std::uint8_t(1 - int(run)));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t lit = 1;
        while (i + lit < row.size() && lit < 128 &&
               !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out.push_back(std::uint8_t(lit - 1));
        out.insert(out.end(), row.begin() + std::ptrdiff_t(i),
                   row.begin() + std::ptrdiff_t(i + lit));
        i += lit;
    }
    return out;
}

struct PsdLayout {
    int mode = 3, depth = 8, width = 0, height = 0;
    bool packBits = false;
    std::vector<std::uint8_t> colorData;
    // One plane per channel: rows of the stored bytes (two per sample at 16 bits).
    std::vector<std::vector<std::vector<std::uint8_t>>> planes;
};

std::vector<std::uint8_t> MakePsd(const PsdLayout& s) {
    ByteBuilder f;
    f.Text("8BPS").U16BE(1).Zeros(6).U16BE(unsigned(s.planes.size()));
    f.U32BE(std::uint32_t(s.height))
        .U32BE(std::uint32_t(s.width))
        .U16BE(unsigned(s.depth))
        .U16BE(unsigned(s.mode));
    f.U32BE(std::uint32_t(s.colorData.size())).Append(s.colorData);
    f.U32BE(12).Text("8BIM").U16BE(1005).Zeros(6); // one image resource, skipped
    f.U32BE(4).U32BE(0);                           // empty layer section
    f.U16BE(s.packBits ? 1 : 0);
    if (!s.packBits) {
        for (auto& plane : s.planes)
            for (auto& row : plane) f.Append(row);
        return f.Get();
    }
    std::vector<std::vector<std::uint8_t>> packed;
    for (auto& plane : s.planes)
        for (auto& row : plane) packed.push_back(PackBits(row));
    for (auto& p : packed) f.U16BE(unsigned(p.size()));
    for (auto& p : packed) f.Append(p);
    return f.Get();
}

// Stored rows of a channel from 8-bit values; at 16 bits the low byte is noise.
std::vector<std::vector<std::uint8_t>> Plane(const std::vector<std::vector<int>>& values,
                                             int depth) {
    std::vector<std::vector<std::uint8_t>> rows;
    for (auto& r : values) {
        std::vector<std::uint8_t> row;
        for (int v : r) {
            row.push_back(std::uint8_t(v));
            if (depth == 16) row.push_back(0xA5);
        }
        rows.push_back(row);
    }
    return rows;
}

const std::vector<std::vector<int>> kRed = {{255, 0, 0}, {10, 10, 10}};
const std::vector<std::vector<int>> kGreen = {{0, 255, 0}, {20, 20, 20}};
const std::vector<std::vector<int>> kBlue = {{0, 0, 255}, {30, 30, 200}};
const std::vector<std::vector<int>> kAlpha = {{0, 0, 0}, {0, 0, 0}};

PsdLayout Rgb(int depth, bool packBits, bool extraAlpha) {
    PsdLayout s;
    s.width = 3;
    s.height = 2;
    s.depth = depth;
    s.packBits = packBits;
    s.planes = {Plane(kRed, depth), Plane(kGreen, depth), Plane(kBlue, depth)};
    if (extraAlpha) s.planes.push_back(Plane(kAlpha, depth));
    return s;
}

const std::vector<Color> kRgbPixels = {RGB(255, 0, 0),  RGB(0, 255, 0),  RGB(0, 0, 255),
                                       RGB(10, 20, 30), RGB(10, 20, 30), RGB(10, 20, 200)};

struct RgbCase {
    int depth;
    bool packBits, extraAlpha;
};

class PsdRgb : public ::testing::TestWithParam<RgbCase> {};

TEST_P(PsdRgb, CompositeDecodesToItsColours) {
    const auto [depth, packBits, extraAlpha] = GetParam();
    const auto file = MakePsd(Rgb(depth, packBits, extraAlpha));
    SaveSeed("psd", "rgb" + std::to_string(depth) + (packBits ? "rle" : "raw"), file);
    Bitmap out;
    ReadPsd(file, "x.psd", out);
    ASSERT_EQ(out.Width(), 3);
    ASSERT_EQ(out.Height(), 2);
    EXPECT_EQ(AllPixels(out), kRgbPixels);
}

INSTANTIATE_TEST_SUITE_P(Psd, PsdRgb,
                         ::testing::Values(RgbCase{8, false, false}, RgbCase{8, true, false},
                                           RgbCase{16, false, false}, RgbCase{16, true, false},
                                           RgbCase{8, true, true}, RgbCase{8, false, true}));

TEST(Psd, GrayAndDuotoneShowTheirLevels) {
    for (int mode : {1, 8}) {
        for (int depth : {8, 16}) {
            PsdLayout s;
            s.mode = mode;
            s.depth = depth;
            s.width = 3;
            s.height = 2;
            s.packBits = depth == 8;
            s.planes = {Plane(kBlue, depth)};
            Bitmap out;
            ReadPsd(MakePsd(s), "", out);
            EXPECT_EQ(AllPixels(out), (std::vector<Color>{0, 0, 0xFFFFFF, RGB(30, 30, 30),
                                                          RGB(30, 30, 30), RGB(200, 200, 200)}))
                << "mode " << mode << " depth " << depth;
        }
    }
}

TEST(Psd, IndexedKeepsItsPlanarPalette) {
    PsdLayout s;
    s.mode = 2;
    s.width = 3;
    s.height = 2;
    s.colorData.assign(768, 0);
    for (int i = 0; i < 256; ++i) {
        s.colorData[std::size_t(i)] = std::uint8_t(i);             // red
        s.colorData[std::size_t(256 + i)] = std::uint8_t(255 - i); // green
        s.colorData[std::size_t(512 + i)] = 7;                     // blue
    }
    s.planes = {Plane({{0, 1, 255}, {128, 128, 3}}, 8)};
    const auto file = MakePsd(s);
    SaveSeed("psd", "indexed", file);
    Bitmap out;
    ReadPsd(file, "", out);
    EXPECT_EQ(out.format(), PixelFormat::Indexed8);
    EXPECT_EQ(AllPixels(out),
              (std::vector<Color>{RGB(0, 255, 7), RGB(1, 254, 7), RGB(255, 0, 7), RGB(128, 127, 7),
                                  RGB(128, 127, 7), RGB(3, 252, 7)}));
}

TEST(Psd, CmykStoresInvertedInk) {
    PsdLayout s;
    s.mode = 4;
    s.width = 4;
    s.height = 1;
    // Stored values are 255 - ink: white, full cyan, full black, half of each.
    s.planes = {Plane({{255, 0, 255, 128}}, 8), Plane({{255, 255, 255, 255}}, 8),
                Plane({{255, 255, 255, 255}}, 8), Plane({{255, 255, 0, 128}}, 8)};
    Bitmap out;
    ReadPsd(MakePsd(s), "", out);
    EXPECT_EQ(AllPixels(out),
              (std::vector<Color>{0xFFFFFF, RGB(0, 255, 255), 0, RGB(64, 128, 128)}));
}

TEST(Psd, BitmapModeSetBitsAreBlackAcrossByteEdges) {
    PsdLayout s;
    s.mode = 0;
    s.depth = 1;
    s.width = 10;
    s.height = 1;
    s.packBits = true;
    s.planes = {{{0b10100000, 0b01000000}}};
    Bitmap out;
    ReadPsd(MakePsd(s), "", out);
    EXPECT_PIXELS(out, (std::map<char, Color>{{'#', kBlack}, {'.', kWhite}}), ({"#.#......#"}));
}

TEST(PsdMalformed, EachFaultHasItsMessage) {
    const auto good = MakePsd(Rgb(8, true, false));
    const auto raw = MakePsd(Rgb(8, false, false));
    const auto with = [](std::vector<std::uint8_t> v, std::size_t at, std::uint8_t b) {
        v.at(at) = b;
        return v;
    };
    EXPECT_TRUE(FailsWith(ReadPsd, with(good, 0, 'X'), PictureErrorKind::Malformed,
                          "Photoshop file is not a Photoshop document"));
    EXPECT_TRUE(FailsWith(ReadPsd, with(good, 5, 2), PictureErrorKind::Unsupported,
                          "unsupported version (2)"));
    EXPECT_TRUE(FailsWith(ReadPsd, with(good, 25, 9), PictureErrorKind::Unsupported,
                          "unsupported colour mode (9)"));
    EXPECT_TRUE(FailsWith(ReadPsd, with(good, 23, 32), PictureErrorKind::Unsupported,
                          "unsupported bit depth (32)"));
    EXPECT_TRUE(
        FailsWith(ReadPsd, with(good, 13, 2), PictureErrorKind::Malformed, "too few channels"));
    EXPECT_TRUE(ReadsAsEmpty(ReadPsd, with(with(good, 21, 0), 17, 0)));
    EXPECT_TRUE(FailsWith(ReadPsd, with(with(good, 16, 0x7F), 20, 0x7F), PictureErrorKind::TooLarge,
                          "too large"));

    // The compression word sits right after the sections.
    const std::size_t compressionAt = 26 + 4 + 4 + 12 + 8;
    EXPECT_TRUE(FailsWith(ReadPsd, with(good, compressionAt + 1, 2), PictureErrorKind::Unsupported,
                          "unsupported compression (2)"));

    auto shortRaw = raw;
    shortRaw.pop_back();
    EXPECT_TRUE(
        FailsWith(ReadPsd, shortRaw, PictureErrorKind::Truncated, "Photoshop file is truncated"));

    auto shortRle = good;
    shortRle.pop_back();
    EXPECT_TRUE(
        FailsWith(ReadPsd, shortRle, PictureErrorKind::Truncated, "Photoshop file is truncated"));

    // First row's first packet: a repeat of 100 bytes in a row of 3.
    auto overrun = good;
    overrun[compressionAt + 2 + 6 * 2] = std::uint8_t(1 - 100);
    EXPECT_TRUE(FailsWith(ReadPsd, overrun, PictureErrorKind::Malformed,
                          "PackBits run past the end of a row"));

    // A section length reaching past the end.
    auto section = good;
    section[26 + 4 + 4 + 12] = 0x7F;
    EXPECT_TRUE(
        FailsWith(ReadPsd, section, PictureErrorKind::Truncated, "Photoshop file is truncated"));

    PsdLayout indexed;
    indexed.mode = 2;
    indexed.width = indexed.height = 1;
    indexed.colorData.assign(100, 0);
    indexed.planes = {{{0}}};
    EXPECT_TRUE(
        FailsWith(ReadPsd, MakePsd(indexed), PictureErrorKind::Malformed, "has no colour table"));
}

} // namespace
