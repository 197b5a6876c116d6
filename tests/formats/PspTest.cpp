#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace quillon;

namespace {

struct PspChannel {
    int kind = 0;                   // 0 picture, 1 transparency mask
    int channel = 0;                // 0 indices or gray, 1 red, 2 green, 3 blue
    std::vector<std::uint8_t> rows; // uncompressed
    std::uint32_t claimed = 0;      // the uncompressed size to claim, if not rows.size()
};

struct PspLayer {
    int type = 1;
    Rect image, saved;
    std::vector<PspChannel> channels;
};

struct PspLayout {
    int major = 6, width = 4, height = 2, depth = 24, compression = 0;
    std::vector<Color> palette;
    std::vector<PspLayer> layers;
};

std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& raw, int compression) {
    if (compression == 2) {
        uLongf size = compressBound(uLong(raw.size()));
        std::vector<std::uint8_t> out(size);
        compress(out.data(), &size, raw.data(), uLong(raw.size()));
        out.resize(size);
        return out;
    }
    if (compression == 0) return raw;
    // RLE: repeats for runs of two or more (count + 128), literals otherwise.
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < raw.size()) {
        std::size_t run = 1;
        while (i + run < raw.size() && raw[i + run] == raw[i] && run < 127) ++run;
        if (run >= 2) {
            out.push_back(std::uint8_t(128 + run));
            out.push_back(raw[i]);
            i += run;
            continue;
        }
        out.push_back(1);
        out.push_back(raw[i++]);
    }
    return out;
}

class PspWriter {
public:
    explicit PspWriter(int major) : major_(major) {}

    void Block(ByteBuilder& to, int id, const std::vector<std::uint8_t>& data) const {
        to.Text(std::string("~BK\0", 4)).U16LE(unsigned(id));
        if (major_ <= 3) to.U32LE(std::uint32_t(data.size()));
        to.U32LE(std::uint32_t(data.size())).Append(data);
    }
    // Fields in a chunk with its size in front (major 4 and later).
    void Chunk(ByteBuilder& to, const ByteBuilder& fields) const {
        if (major_ >= 4) to.U32LE(std::uint32_t(fields.Size() + 4));
        to.Append(fields.Get());
    }

private:
    int major_;
};

void PutRect(ByteBuilder& f, const Rect& r) {
    f.U32LE(std::uint32_t(r.Left)).U32LE(std::uint32_t(r.Top));
    f.U32LE(std::uint32_t(r.Right)).U32LE(std::uint32_t(r.Bottom));
}

std::vector<std::uint8_t> MakePsp(const PspLayout& s) {
    const PspWriter w(s.major);
    ByteBuilder f;
    f.Text("Paint Shop Pro Image File\n\x1a").PadTo(32).U16LE(unsigned(s.major)).U16LE(0);

    ByteBuilder attr;
    attr.U32LE(std::uint32_t(s.width)).U32LE(std::uint32_t(s.height)).Zeros(8).U8(1);
    attr.U16LE(unsigned(s.compression)).U16LE(unsigned(s.depth)).U16LE(1).U32LE(0).U8(0);
    attr.U32LE(0).U32LE(0).U16LE(unsigned(s.layers.size()));
    if (s.major >= 4) attr.U32LE(1);
    ByteBuilder attrBlock;
    w.Chunk(attrBlock, attr);
    w.Block(f, 0, attrBlock.Get());

    w.Block(f, 1, std::vector<std::uint8_t>(12, 0)); // creator data, skipped

    if (!s.palette.empty()) {
        ByteBuilder pal;
        if (s.major >= 4) pal.U32LE(8);
        pal.U32LE(std::uint32_t(s.palette.size()));
        for (Color c : s.palette) pal.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c)).U8(0);
        w.Block(f, 2, pal.Get());
    }

    ByteBuilder bank;
    for (const auto& layer : s.layers) {
        ByteBuilder info;
        if (s.major >= 4)
            info.U16LE(5).Text("Layer");
        else
            info.Text("Layer").PadTo(256);
        info.U8(unsigned(layer.type));
        PutRect(info, layer.image);
        PutRect(info, layer.saved);
        info.U8(255).U8(0).U8(1).U8(0).U8(0).Zeros(32).Zeros(3).U16LE(5).Zeros(40);
        if (s.major >= 4) info.U8(0).U32LE(0); // newer fields the reader skips
        ByteBuilder counts;
        counts.U16LE(1).U16LE(unsigned(layer.channels.size()));
        ByteBuilder body;
        if (s.major >= 4) {
            w.Chunk(body, info);
            w.Chunk(body, counts);
        } else {
            body.Append(info.Get()).Append(counts.Get());
        }
        for (const auto& c : layer.channels) {
            const auto packed = Compress(c.rows, s.compression);
            ByteBuilder head;
            head.U32LE(std::uint32_t(packed.size()))
                .U32LE(c.claimed ? c.claimed : std::uint32_t(c.rows.size()));
            head.U16LE(unsigned(c.kind)).U16LE(unsigned(c.channel));
            ByteBuilder channel;
            w.Chunk(channel, head);
            channel.Append(packed);
            w.Block(body, 5, channel.Get());
        }
        w.Block(bank, 4, body.Get());
    }
    w.Block(f, 3, bank.Get());
    return f.Get();
}

// A 4 x 2 RGB layer covering the canvas: red, green, blue, gray / ramp.
PspLayer RgbLayer() {
    PspLayer l;
    l.image = l.saved = Rect(0, 0, 4, 2);
    l.channels = {{0, 1, {255, 0, 0, 9, 10, 20, 30, 40}},
                  {0, 2, {0, 255, 0, 9, 11, 21, 31, 41}},
                  {0, 3, {0, 0, 255, 9, 12, 22, 32, 42}}};
    return l;
}

const std::vector<Color> kRgbPixels = {RGB(255, 0, 0),  RGB(0, 255, 0),  RGB(0, 0, 255),
                                       RGB(9, 9, 9),    RGB(10, 11, 12), RGB(20, 21, 22),
                                       RGB(30, 31, 32), RGB(40, 41, 42)};

struct VersionCase {
    int major, compression;
};

class PspVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PspVersions, FirstRasterLayerDecodes) {
    const auto [major, compression] = GetParam();
    PspLayout s;
    s.major = major;
    s.compression = compression;
    s.layers = {RgbLayer()};
    const auto file = MakePsp(s);
    std::string seed = "v";
    seed += std::to_string(major) + "c";
    seed += std::to_string(compression);
    SaveSeed("psp", seed, file);
    Bitmap out;
    ReadPsp(file, "x.psp", out);
    EXPECT_EQ(AllPixels(out), kRgbPixels);
}

INSTANTIATE_TEST_SUITE_P(Psp, PspVersions,
                         ::testing::Values(VersionCase{3, 0}, VersionCase{3, 1}, VersionCase{3, 2},
                                           VersionCase{4, 1}, VersionCase{5, 2}, VersionCase{6, 0},
                                           VersionCase{6, 1}, VersionCase{6, 2}));

TEST(Psp, LayerSitsAtItsRectangleOnWhiteWithItsTransparencyMask) {
    PspLayout s;
    s.width = 5;
    s.height = 3;
    s.compression = 1;
    PspLayer l;
    l.image = Rect(1, 1, 4, 3); // the saved part starts one pixel in
    l.saved = Rect(1, 0, 3, 2);
    l.channels = {{0, 1, {0, 0, 200, 200}},
                  {0, 2, {0, 0, 100, 100}},
                  {0, 3, {0, 0, 50, 50}},
                  {1, 0, {255, 0, 255, 128}}};
    s.layers = {l};
    Bitmap out;
    ReadPsp(MakePsp(s), "", out);
    EXPECT_PIXELS(
        out,
        (std::map<char, Color>{
            {'.', kWhite}, {'k', kBlack}, {'o', RGB(200, 100, 50)}, {'h', RGB(227, 177, 152)}}),
        ({".....", "..k..", "..oh."}));
}

TEST(Psp, PalettePicturesAtEightFourAndOneBits) {
    const std::vector<Color> palette = {kBlack, kWhite, kRed, kLime, kBlue};
    struct Case {
        int depth;
        std::vector<std::uint8_t> rows; // two rows of three pixels
    };
    for (const Case& c :
         {Case{8, {2, 3, 4, 0, 1, 2}}, Case{4, {0x23, 0x40, 0x12, 0x00}}, // tight rows
          Case{4, {0x23, 0x40, 0, 0, 0x12, 0x00, 0, 0}},                  // rows padded to 4
          Case{1, {0b01000000, 0b10100000}}}) {
        PspLayout s;
        s.width = 3;
        s.depth = c.depth;
        s.palette = palette;
        PspLayer l;
        l.image = l.saved = Rect(0, 0, 3, 2);
        l.channels = {{0, 0, c.rows}};
        s.layers = {l};
        const auto file = MakePsp(s);
        SaveSeed("psp", "palette" + std::to_string(c.depth), file);
        Bitmap out;
        ReadPsp(file, "", out);
        const std::vector<Color> expected =
            c.depth == 1 ? std::vector<Color>{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}
            : c.depth == 4 && c.rows[1] == 0x40
                ? std::vector<Color>{kRed, kLime, kBlue, kWhite, kRed, kBlack}
                : std::vector<Color>{kRed, kLime, kBlue, kBlack, kWhite, kRed};
        EXPECT_EQ(AllPixels(out), expected) << c.depth << " bits, " << c.rows.size() << " bytes";
    }
}

TEST(Psp, LayerOutsideTheCanvasLeavesItWhite) {
    for (const Rect& at :
         {Rect(-9, 0, -5, 2), Rect(4, 0, 8, 2), Rect(0, -2, 4, 0), Rect(0, 5, 4, 7)}) {
        PspLayout s;
        s.layers = {RgbLayer()};
        s.layers[0].image = at;
        Bitmap out;
        ReadPsp(MakePsp(s), "", out);
        EXPECT_EQ(AllPixels(out), std::vector<Color>(8, kWhite)) << at.Left << ", " << at.Top;
    }
}

TEST(Psp, ChannelsMayPadTheirRowsDifferently) {
    PspLayout s;
    s.layers = {RgbLayer()};
    auto& red = s.layers[0].channels[0].rows; // rows of 4 padded to 8
    red = {255, 0, 0, 9, 0xEE, 0xEE, 0xEE, 0xEE, 10, 20, 30, 40, 0xEE, 0xEE, 0xEE, 0xEE};
    Bitmap out;
    ReadPsp(MakePsp(s), "", out);
    EXPECT_EQ(AllPixels(out), kRgbPixels);
}

TEST(Psp, LayersThatAreNotRasterAreSkipped) {
    PspLayout s;
    PspLayer vector;
    vector.type = 3;
    vector.image = vector.saved = Rect(0, 0, 4, 2);
    s.layers = {vector, RgbLayer()};
    Bitmap out;
    ReadPsp(MakePsp(s), "", out);
    EXPECT_EQ(AllPixels(out), kRgbPixels);
}

// The canvas is allocated whole however small its layers: a 1 x 1 layer on
// a 16384 x 16384 canvas would cost 768 MB from a file of a few hundred bytes.
TEST(PspReader, AHugeCanvasKeepsToTheFileBudgetWhateverItsLayers) {
    PspLayout s;
    s.width = s.height = 16384;
    PspLayer dot;
    dot.image = dot.saved = Rect(0, 0, 1, 1);
    dot.channels = {{0, 1, {255}}, {0, 2, {0}}, {0, 3, {0}}};
    s.layers = {dot};
    const auto huge = MakePsp(s);
    SaveRegress("psp", "canvas-16384-layer-1x1.psp", huge);
    EXPECT_TRUE(FailsWith(ReadPsp, huge, PictureErrorKind::TooLarge,
                          "Paint Shop Pro picture of 16384 x 16384 pixels is too large for a file "
                          "of " +
                              std::to_string(huge.size()) + " bytes"));
    // Within the free size such a canvas is a valid picture.
    s.width = s.height = 4096;
    Bitmap out;
    ASSERT_EQ(ReadError(ReadPsp, MakePsp(s), out), "");
    EXPECT_EQ(out.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(out.Pixel(4095, 4095), kWhite);
}

// A channel is not unpacked into more than its data can hold: raw data
// byte for byte, RLE at most 127 bytes for two, deflate 1032 for one.
TEST(PspReader, AChannelLargerThanItsDataCanHoldIsRefusedUnpacked) {
    for (int compression : {0, 1, 2}) {
        SCOPED_TRACE(compression);
        PspLayout s;
        s.width = s.height = 4096;
        s.compression = compression;
        PspLayer big;
        big.image = big.saved = Rect(0, 0, 4096, 4096);
        const std::uint32_t plane = 4096 * 4096;
        const std::vector<std::uint8_t> few(100, 7);
        big.channels = {{0, 1, few, plane}, {0, 2, few, plane}, {0, 3, few, plane}};
        s.layers = {big};
        EXPECT_TRUE(FailsWith(ReadPsp, MakePsp(s), PictureErrorKind::Truncated,
                              "Paint Shop Pro file is truncated"));
    }
}

TEST(PspMalformed, EachFaultHasItsMessage) {
    PspLayout s;
    s.compression = 1;
    s.layers = {RgbLayer()};
    const auto good = MakePsp(s);
    const auto with = [](std::vector<std::uint8_t> v, std::size_t at, std::uint8_t b) {
        v.at(at) = b;
        return v;
    };
    const auto make = [](auto change) {
        PspLayout m;
        m.compression = 1;
        m.layers = {RgbLayer()};
        change(m);
        return MakePsp(m);
    };
    EXPECT_TRUE(FailsWith(ReadPsp, with(good, 0, 'X'), PictureErrorKind::Malformed,
                          "Paint Shop Pro file is not a Paint Shop Pro image"));
    EXPECT_TRUE(FailsWith(ReadPsp, with(good, 32, 2), PictureErrorKind::Unsupported,
                          "unsupported version (2)"));
    EXPECT_TRUE(FailsWith(ReadPsp, with(good, 36, '#'), PictureErrorKind::Malformed,
                          "damaged block header"));
    EXPECT_TRUE(FailsWith(ReadPsp, with(good, 45, 0x7F), PictureErrorKind::Truncated,
                          "Paint Shop Pro file is truncated"));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) { m.compression = 3; }),
                          PictureErrorKind::Unsupported, "unsupported compression (3)"));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) { m.depth = 16; }),
                          PictureErrorKind::Unsupported, "unsupported bit depth (16)"));
    EXPECT_TRUE(ReadsAsEmpty(ReadPsp, make([](PspLayout& m) { m.width = 0; })));
    EXPECT_TRUE(ReadsAsEmpty(ReadPsp, make([](PspLayout& m) { m.height = -3; })));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) { m.width = 70000; }),
                          PictureErrorKind::TooLarge, "too large"));
    EXPECT_TRUE(FailsWith(ReadPsp,
                          make([](PspLayout& m) { m.layers[0].channels[1].rows.pop_back(); }),
                          PictureErrorKind::Malformed, "has a channel of the wrong size"));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) { m.layers[0].channels.pop_back(); }),
                          PictureErrorKind::Malformed, "has a layer without its colour channels"));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) { m.layers[0].type = 3; }),
                          PictureErrorKind::Unsupported, "has no raster layer"));
    EXPECT_TRUE(FailsWith(ReadPsp, make([](PspLayout& m) {
                              m.depth = 8;
                              m.palette = {kBlack, kWhite};
                              m.layers[0].channels = {{0, 0, {0, 1, 1, 0, 0, 1, 2, 0}}};
                          }),
                          PictureErrorKind::Malformed, "palette index (2) out of range"));
    auto cut = good;
    cut.resize(cut.size() - 3);
    EXPECT_TRUE(
        FailsWith(ReadPsp, cut, PictureErrorKind::Truncated, "Paint Shop Pro file is truncated"));

    // LZ77 data whose checksum (the file's last bytes) does not match.
    PspLayout z;
    z.compression = 2;
    z.layers = {RgbLayer()};
    auto damaged = MakePsp(z);
    damaged.back() ^= 0xFF;
    EXPECT_TRUE(
        FailsWith(ReadPsp, damaged, PictureErrorKind::Malformed, "has damaged compressed data"));
}

} // namespace
