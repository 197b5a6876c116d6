#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "frames/Clipboard.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Bitmap, NewBitmapIsEmptyDeviceFormatAndOpaque) {
    TBitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    EXPECT_FALSE(b.Transparent);
}

TEST(Bitmap, ResizeKeepsTopLeftContent) {
    auto b =
        BitmapFromArt({"RG", "BW"}, {{'R', clRed}, {'G', clLime}, {'B', clBlue}, {'W', clWhite}});
    b->SetSize(3, 3);
    EXPECT_EQ(b->Pixel(0, 0), clRed);
    EXPECT_EQ(b->Pixel(1, 0), clLime);
    EXPECT_EQ(b->Pixel(0, 1), clBlue);
    EXPECT_EQ(b->Pixel(1, 1), clWhite);
    b->SetSize(1, 1);
    EXPECT_EQ(b->Pixel(0, 0), clRed);
}

TEST(Bitmap, FormatConversionsKeepColoursAndClearFourthByte) {
    TBitmap b(2, 1, pf24bit);
    b.SetPixel(0, 0, 0x123456);
    b.SetPixel(1, 0, 0xABCDEF);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.Pixel(0, 0), 0x123456u);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    b.ScanLine(0)[3] = 77;
    b.SetPixelFormat(pf24bit);
    b.SetPixelFormat(pfDevice);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
}

TEST(Bitmap, IndexedConversionMapsToNearestPaletteColour) {
    TBitmap b(2, 1, pf8bit);
    b.Palette() = {clBlack, clWhite, clRed};
    b.ScanLine(0)[0] = 2;
    b.ScanLine(0)[1] = 1;
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);
}

TEST(Bitmap, AssignMakesIndependentCopy) {
    TBitmap a(2, 2, pf32bit);
    a.SetPixel(1, 1, clRed);
    TBitmap b;
    b.Assign(a);
    a.SetPixel(1, 1, clBlue);
    EXPECT_EQ(b.Pixel(1, 1), clRed);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
}

TEST(Bitmap, ImpossibleSizesAreRefusedBeforeAllocating) {
    TBitmap b(4, 4);
    EXPECT_THROW(b.SetSize(70000, 1), EPictureError);
    EXPECT_THROW(b.SetSize(-1, 1), EPictureError);
    EXPECT_THROW(b.SetSize(65535, 65535), EPictureError);
    EXPECT_EQ(b.Width(), 4); // unchanged after the refusal
    EXPECT_NO_THROW(CheckPictureSize(65535, 4096));
}

TEST(Brush, ResetRules) {
    TBitmap pattern(2, 2, pf32bit);
    TBrush brush;
    brush.SetColor(clRed);
    brush.SetBitmap(&pattern);
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(brush.Style(), bsSolid);
    ASSERT_NE(brush.Bitmap(), nullptr);

    brush.SetColor(clRed); // a colour removes the pattern
    EXPECT_EQ(brush.Bitmap(), nullptr);
    EXPECT_EQ(brush.Color(), clRed);

    brush.SetBitmap(&pattern);
    brush.SetStyle(bsClear); // clear removes the pattern and whitens the colour
    EXPECT_EQ(brush.Bitmap(), nullptr);
    EXPECT_EQ(brush.Color(), clWhite);
    brush.SetColor(clBlue); // a colour turns bsClear into bsSolid
    EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(Clipboard, InProcessStoreHandsOverAnIndependentDeviceBitmap) {
    Clipboard().Clear();
    EXPECT_FALSE(Clipboard().HasBitmap());
    TBitmap out(1, 1);
    EXPECT_FALSE(Clipboard().GetBitmap(out));
    EXPECT_EQ(out.Width(), 1);

    TBitmap b(3, 2, pf24bit);
    b.SetPixel(2, 1, clRed);
    Clipboard().SetBitmap(b);
    b.SetPixel(2, 1, clBlue);
    ASSERT_TRUE(Clipboard().GetBitmap(out));
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.PixelFormat(), pfDevice);
    EXPECT_EQ(out.Pixel(2, 1), clRed);
}
