#include "formats/Readers.h"
#include "tests/formats/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Run-length data of one channel row: repeats for runs of two or more,
// literals otherwise.
std::vector<std::uint8_t> EncodeRla(const std::vector<std::uint8_t>& row) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && row[i + run] == row[i] && run < 128) ++run;
        if (run >= 2) {
            out.push_back(std::uint8_t(run - 1));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t lit = 1;
        while (i + lit < row.size() && lit < 128 &&
               !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out.push_back(std::uint8_t(-int(lit)));
        out.insert(out.end(), row.begin() + std::ptrdiff_t(i),
                   row.begin() + std::ptrdiff_t(i + lit));
        i += lit;
    }
    return out;
}

// An RLA file of a picture given top row first, as one 8-bit value per
// channel per pixel; at 16 bits each value is stored high byte first with a
// noise low byte. One matte channel of 0x77 follows the colour channels.
std::vector<std::uint8_t>
MakeRla(const std::vector<std::vector<std::vector<std::uint8_t>>>& channels, int bits) {
    const int h = int(channels[0].size()), w = int(channels[0][0].size());
    ByteBuilder f;
    f.U16BE(0).U16BE(unsigned(w + 19)).U16BE(0).U16BE(unsigned(h + 4));          // window
    f.U16BE(10).U16BE(unsigned(10 + w - 1)).U16BE(5).U16BE(unsigned(5 + h - 1)); // active
    f.U16BE(1).U16BE(0).U16BE(unsigned(channels.size())).U16BE(1).U16BE(0).U16BE(0xFFFE);
    f.PadTo(658).U16BE(unsigned(bits)).U16BE(0).U16BE(8).PadTo(740);
    const std::size_t tableAt = f.Size();
    f.Zeros(std::size_t(h) * 4);
    for (int i = 0; i < h; ++i) { // bottom row first
        f.PokeU32BE(tableAt + std::size_t(i) * 4, std::uint32_t(f.Size()));
        const std::size_t y = std::size_t(h - 1 - i);
        for (auto& c : channels) {
            std::vector<std::uint8_t> row;
            for (auto v : c[y]) {
                row.push_back(v);
                if (bits == 16) row.push_back(0x3C);
            }
            const auto packed = EncodeRla(row);
            f.U16BE(unsigned(packed.size())).Append(packed);
        }
        const auto matte = EncodeRla(std::vector<std::uint8_t>(std::size_t(w), 0x77));
        f.U16BE(unsigned(matte.size())).Append(matte);
    }
    return f.Get();
}

const std::vector<std::vector<std::uint8_t>> kR = {{255, 255, 255, 0}, {1, 2, 3, 4}};
const std::vector<std::vector<std::uint8_t>> kG = {{0, 0, 0, 0}, {5, 5, 5, 5}};
const std::vector<std::vector<std::uint8_t>> kB = {{0, 0, 0, 255}, {9, 8, 7, 6}};

TEST(Rla, RgbRowsComeBottomUpAndMatteIsIgnored) {
    for (int bits : {8, 16}) {
        const auto file = MakeRla({kR, kG, kB}, bits);
        SaveSeed("rla", "rgb" + std::to_string(bits), file);
        Bitmap out;
        ReadRla(file, "x.rla", out);
        EXPECT_EQ(AllPixels(out), (std::vector<Color>{RGB(255, 0, 0), RGB(255, 0, 0),
                                                      RGB(255, 0, 0), RGB(0, 0, 255), RGB(1, 5, 9),
                                                      RGB(2, 5, 8), RGB(3, 5, 7), RGB(4, 5, 6)}))
            << bits << " bits";
    }
}

TEST(Rla, SingleChannelIsGray) {
    const auto file = MakeRla({kB}, 8);
    SaveSeed("rla", "gray", file);
    Bitmap out;
    ReadRla(file, "", out);
    EXPECT_EQ(out.Pixel(3, 0), kWhite);
    EXPECT_EQ(out.Pixel(1, 1), RGB(8, 8, 8));
}

TEST(Rla, LongRowsSpanSeveralPackets) {
    std::vector<std::uint8_t> row(300);
    for (std::size_t x = 0; x < 300; ++x) row[x] = x < 200 ? 50 : std::uint8_t(x);
    Bitmap out;
    ReadRla(MakeRla({{row}}, 8), "", out);
    EXPECT_EQ(out.Pixel(199, 0), RGB(50, 50, 50));
    EXPECT_EQ(out.Pixel(299, 0), RGB(299 & 0xFF, 299 & 0xFF, 299 & 0xFF));
}

TEST(RlaMalformed, EachFaultHasItsMessage) {
    const auto good = MakeRla({kR, kG, kB}, 8);
    auto shortHeader = good;
    shortHeader.resize(700);
    EXPECT_TRUE(
        FailsWith(ReadRla, shortHeader, PictureErrorKind::Truncated, "RLA file is truncated"));

    auto channels = good;
    channels[21] = 2;
    EXPECT_TRUE(FailsWith(ReadRla, channels, PictureErrorKind::Unsupported,
                          "unsupported channel count (2)"));

    auto bits = good;
    bits[659] = 12;
    EXPECT_TRUE(FailsWith(ReadRla, bits, PictureErrorKind::Unsupported,
                          "unsupported channel size (12 bits)"));

    auto inverted = good; // right edge left of the left edge
    inverted[10] = 0;
    inverted[11] = 2;
    EXPECT_TRUE(ReadsAsEmpty(ReadRla, inverted));

    ByteBuilder offset{good};
    offset.PokeU32BE(740, std::uint32_t(good.size() + 1));
    EXPECT_TRUE(
        FailsWith(ReadRla, offset.Get(), PictureErrorKind::Truncated, "RLA file is truncated"));

    auto shortData = good;
    shortData.resize(shortData.size() - 6);
    EXPECT_TRUE(
        FailsWith(ReadRla, shortData, PictureErrorKind::Truncated, "RLA file is truncated"));

    // The first channel of the bottom row starts with a repeat of 100.
    ByteBuilder overrun{good};
    const std::size_t row =
        std::size_t(good[740] << 24 | good[741] << 16 | good[742] << 8 | good[743]);
    overrun[row + 2] = 99;
    EXPECT_TRUE(FailsWith(ReadRla, overrun.Get(), PictureErrorKind::Malformed,
                          "has a run past the end of a row"));

    // A channel whose length covers too little data for its row.
    ByteBuilder shortRun{good};
    shortRun.PokeU16BE(row, 1);
    EXPECT_TRUE(
        FailsWith(ReadRla, shortRun.Get(), PictureErrorKind::Truncated, "RLA file is truncated"));

    auto tall = good; // 30000 rows with no offset table behind them
    tall[14] = 0x75;
    tall[15] = 0x30;
    EXPECT_TRUE(FailsWith(ReadRla, tall, PictureErrorKind::Truncated, "RLA file is truncated"));
}

// Every row's offset may point at the same stored row, so a 10 KB file can
// describe 65535 x 2048 pixels (400 MB as a picture): the file budget holds.
TEST(RlaReader, RowsSharingOneStoredRowKeepToTheFileBudget) {
    ByteBuilder f;
    f.PadTo(8).U16BE(0x8000).U16BE(0x7FFE).U16BE(0).U16BE(2047); // x -32768..32766, y 0..2047
    f.PadTo(20).U16BE(1).PadTo(658).U16BE(8).PadTo(740);         // gray, 8 bits
    const std::uint32_t row = 740 + 2048 * 4;
    for (int y = 0; y < 2048; ++y) f.U32BE(row);
    ByteBuilder runs; // 65535 gray pixels in runs of up to 128
    for (int left = 65535; left > 0; left -= 128) runs.U8(std::min(left, 128) - 1).U8(0x80);
    f.U16BE(unsigned(runs.Size())).Append(runs.Get());
    SaveRegress("rla", "65535x2048-one-stored-row.rla", f);
    EXPECT_TRUE(FailsWith(ReadRla, f, PictureErrorKind::TooLarge,
                          "RLA picture of 65535 x 2048 pixels is too large for a file of"));
}

} // namespace
