// The decoration library's run-length bitmaps read back through the
// program's own bitmap reader, index for index.
#include "tools/Rle8Bmp.h"

#include "canvas/Bitmap.h"
#include "formats/Formats.h"
#include "formats/Readers.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace quillon;

namespace {

std::unique_ptr<Bitmap> Indexed(int w, int h) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Indexed8);
    b->Palette().clear();
    for (int i = 0; i < 256; ++i) b->Palette().push_back(RGB(i, 255 - i, i / 2));
    return b;
}

void ExpectSameAfterReading(const Bitmap& picture) {
    const std::vector<std::uint8_t> bytes = EncodeRle8Bmp(picture);
    Bitmap read;
    ReadBmp(bytes, "rle.bmp", read, DecodeLimits());
    ASSERT_EQ(read.Width(), picture.Width());
    ASSERT_EQ(read.Height(), picture.Height());
    ASSERT_EQ(read.format(), PixelFormat::Indexed8);
    EXPECT_EQ(read.Palette(), picture.Palette());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            ASSERT_EQ(read.ScanLine(y)[x], picture.ScanLine(y)[x]) << x << "," << y;
}

TEST(Rle8Bmp, EveryKindOfStretchReadsBackExactly) {
    // Rows of runs longer than a code holds, literal stretches of one, two,
    // three and an odd number of pixels (padded), and a stretch longer than
    // a literal run holds, each also at the row's end.
    const int w = 700;
    const auto picture = Indexed(w, 6);
    Bitmap& b = *picture;
    for (int x = 0; x < w; ++x) {
        b.ScanLine(0)[x] = 7;                                   // one run over 255
        b.ScanLine(1)[x] = std::uint8_t(x % 251);               // all literal
        b.ScanLine(2)[x] = std::uint8_t((x / 3) % 2 ? 9 : 4);   // runs of three
        b.ScanLine(3)[x] = std::uint8_t(x % 5 == 0 ? x : 1);    // single pixels in runs
        b.ScanLine(4)[x] = std::uint8_t(x % 7 < 2 ? x % 7 : 3); // pairs then runs
        b.ScanLine(5)[x] = std::uint8_t(x < w - 2 ? 200 : x);   // two odd ones at the end
    }
    ExpectSameAfterReading(b);
    // The smallest pictures.
    for (int width : {1, 2, 3}) {
        const auto small = Indexed(width, 2);
        for (int x = 0; x < width; ++x) small->ScanLine(0)[x] = std::uint8_t(x + 1);
        ExpectSameAfterReading(*small);
    }
}

TEST(Rle8Bmp, LargelyUniformPictureIsSmall) {
    const auto b = Indexed(4000, 3000);
    for (int y = 0; y < 3000; ++y)
        for (int x = 0; x < 4000; ++x) b->ScanLine(y)[x] = x < 100 ? std::uint8_t(x) : 255;
    EXPECT_LT(EncodeRle8Bmp(*b).size(), 3000u * 200);
    ExpectSameAfterReading(*b);
}

TEST(Rle8Bmp, OnlyIndexedPicturesWithAPalette) {
    EXPECT_THROW(EncodeRle8Bmp(Bitmap(4, 4, PixelFormat::Bgr24)), std::invalid_argument);
    Bitmap noPalette(4, 4, PixelFormat::Indexed8);
    noPalette.Palette().clear();
    EXPECT_THROW(EncodeRle8Bmp(noPalette), std::invalid_argument);
}

} // namespace
