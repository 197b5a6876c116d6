#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/PixelReserve.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace quillon;

TEST(Bitmap, NewBitmapIsEmptyDeviceFormatAndOpaque) {
    Bitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.format(), PixelFormat::Device);
    EXPECT_FALSE(b.Transparent);
}

TEST(Bitmap, ResizeKeepsTopLeftContent) {
    auto b = BitmapFromArt({"RG", "BW"}, {{'R', kRed}, {'G', kLime}, {'B', kBlue}, {'W', kWhite}});
    b->SetSize(3, 3);
    EXPECT_EQ(b->Pixel(0, 0), kRed);
    EXPECT_EQ(b->Pixel(1, 0), kLime);
    EXPECT_EQ(b->Pixel(0, 1), kBlue);
    EXPECT_EQ(b->Pixel(1, 1), kWhite);
    b->SetSize(1, 1);
    EXPECT_EQ(b->Pixel(0, 0), kRed);
    // To no width and back: the rows go, and come back black.
    b->SetSize(0, 3);
    EXPECT_TRUE(b->Empty());
    b->SetSize(2, 3);
    EXPECT_EQ(b->Pixel(0, 0), kBlack);
}

TEST(Bitmap, FormatConversionsKeepColoursAndClearFourthByte) {
    Bitmap b(2, 1, PixelFormat::Bgr24);
    b.SetPixel(0, 0, 0x123456);
    b.SetPixel(1, 0, 0xABCDEF);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.Pixel(0, 0), 0x123456u);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    b.ScanLine(0)[3] = 77;
    b.SetPixelFormat(PixelFormat::Bgr24);
    b.SetPixelFormat(PixelFormat::Device);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
}

TEST(Bitmap, SizeForOverwriteReusesTheBufferAndRefusesImpossibleSizes) {
    Bitmap b(100, 80, PixelFormat::Bgrx32);
    b.SetSizeForOverwrite(104, 84); // grows: a new buffer with room to spare
    EXPECT_EQ(b.Width(), 104);
    EXPECT_EQ(b.Height(), 84);
    EXPECT_EQ(b.Stride(), 104u * 4);
    EXPECT_EQ(b.format(), PixelFormat::Bgrx32);
    const std::uint8_t* bits = b.Bits();
    // Steps back and forth within the room keep the same pixels' memory.
    for (int d : {-2, 2, 0, 1, -40}) {
        b.SetSizeForOverwrite(104 + d, 84 + d);
        EXPECT_EQ(b.Bits(), bits);
        EXPECT_EQ(b.Width(), 104 + d);
        EXPECT_EQ(b.Height(), 84 + d);
    }
    // Every pixel of the new size is writable.
    b.SetSizeForOverwrite(108, 88);
    b.canvas().brush.SetColor(kRed);
    b.canvas().FillRect(Rect(0, 0, 108, 88));
    EXPECT_EQ(b.Pixel(107, 87), kRed);
    EXPECT_THROW(b.SetSizeForOverwrite(70000, 1), PictureError);
    EXPECT_THROW(b.SetSizeForOverwrite(-1, 1), PictureError);
    EXPECT_EQ(b.Width(), 108);
    b.SetSizeForOverwrite(0, 5);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, DeviceAndBgrxSwapClearsOnlyTheFourthByteOfEveryPixel) {
    Bitmap b(5, 3, PixelFormat::Device);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 20; ++x) b.ScanLine(y)[x] = std::uint8_t(1 + x + 20 * y);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(b.ScanLine(y)[x], x % 4 == 3 ? 0 : 1 + x + 20 * y) << x << "," << y;
}

TEST(Bitmap, IndexedConversionMapsToNearestPaletteColour) {
    Bitmap b(2, 1, PixelFormat::Indexed8);
    b.Palette() = {kBlack, kWhite, kRed};
    b.ScanLine(0)[0] = 2;
    b.ScanLine(0)[1] = 1;
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    EXPECT_EQ(b.Pixel(1, 0), kWhite);
}

TEST(Bitmap, AssignMakesIndependentCopy) {
    Bitmap a(2, 2, PixelFormat::Bgrx32);
    a.SetPixel(1, 1, kRed);
    Bitmap b;
    b.Assign(a);
    a.SetPixel(1, 1, kBlue);
    EXPECT_EQ(b.Pixel(1, 1), kRed);
    EXPECT_EQ(b.format(), PixelFormat::Bgrx32);
}

TEST(Bitmap, ImpossibleSizesAreRefusedBeforeAllocating) {
    Bitmap b(4, 4);
    EXPECT_THROW(b.SetSize(70000, 1), PictureError);
    EXPECT_THROW(b.SetSize(-1, 1), PictureError);
    EXPECT_THROW(b.SetSize(65535, 65535), PictureError);
    EXPECT_EQ(b.Width(), 4); // unchanged after the refusal
    EXPECT_NO_THROW(CheckPictureSize(65535, 4096));
    try {
        CheckPictureSize(65536, 1);
        ADD_FAILURE() << "accepted";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.Kind(), PictureErrorKind::TooLarge);
    }
    // A tighter limit than the program's own; never a looser one.
    EXPECT_THROW(CheckPictureSize(5, 5, 4, 100), PictureError);
    EXPECT_THROW(CheckPictureSize(5, 5, 100, 24), PictureError);
    EXPECT_THROW(CheckPictureSize(70000, 1, 100000, kMaxPicturePixels), PictureError);
    EXPECT_NO_THROW(CheckPictureSize(5, 5, 5, 25));
}

// Freed large buffers are kept only when asked, up to the limit, and a
// bitmap made in a kept buffer is as black as one made in a fresh buffer.
TEST(PixelMemory, FreedLargeBuffersAreKeptOnlyWhenAskedAndUpToTheLimit) {
    constexpr std::size_t kEight = std::size_t(8) << 20; // 2048 x 1024 x 4
    auto filled = [] {
        auto b = std::make_unique<Bitmap>(2048, 1024, PixelFormat::Device);
        std::memset(b->Bits(), 0xAB, kEight);
        return b;
    };
    filled().reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);

    pixel_memory::KeepFreedBuffers(20 << 20);
    auto first = filled();
    const std::uint8_t* where = first->Bits();
    first.reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), kEight);
    Bitmap again(2048, 1024, PixelFormat::Device);
    EXPECT_EQ(again.Bits(), where);
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);
    EXPECT_TRUE(
        std::all_of(again.Bits(), again.Bits() + kEight, [](std::uint8_t v) { return v == 0; }));

    // Three freed, room for two: the oldest goes.
    auto a = filled(), b = filled(), c = filled();
    a.reset();
    b.reset();
    c.reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), 2 * kEight);
    pixel_memory::KeepFreedBuffers(0);
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);
}

TEST(Brush, ResetRules) {
    Bitmap pattern(2, 2, PixelFormat::Bgrx32);
    Brush brush;
    brush.SetColor(kRed);
    brush.SetBitmap(&pattern);
    EXPECT_EQ(brush.color(), kWhite);
    EXPECT_EQ(brush.Style(), BrushStyle::Solid);
    ASSERT_NE(brush.pattern(), nullptr);

    brush.SetColor(kRed); // a colour removes the pattern
    EXPECT_EQ(brush.pattern(), nullptr);
    EXPECT_EQ(brush.color(), kRed);

    brush.SetBitmap(&pattern);
    brush.SetStyle(BrushStyle::Clear); // clear removes the pattern and whitens the colour
    EXPECT_EQ(brush.pattern(), nullptr);
    EXPECT_EQ(brush.color(), kWhite);
    brush.SetColor(kBlue); // a colour turns BrushStyle::Clear into BrushStyle::Solid
    EXPECT_EQ(brush.Style(), BrushStyle::Solid);
}
