#include "document/ImageCommands.h"

#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quillon;

TEST(ImageCommands, GrayScaleIsThePlainMeanTruncated) {
    struct Case {
        Color in, out;
    };
    const Case cases[] = {
        {RGB(255, 0, 0), RGB(85, 85, 85)},  {RGB(1, 1, 0), RGB(0, 0, 0)},
        {RGB(0, 0, 255), RGB(85, 85, 85)},  {RGB(255, 255, 255), RGB(255, 255, 255)},
        {RGB(10, 20, 31), RGB(20, 20, 20)}, {RGB(200, 100, 2), RGB(100, 100, 100)},
    };
    for (const Case& c : cases) {
        Bitmap b(1, 1, PixelFormat::Bgr24);
        b.SetPixel(0, 0, c.in);
        GrayScale(b);
        EXPECT_EQ(b.format(), PixelFormat::Bgrx32);
        EXPECT_EQ(b.Pixel(0, 0), c.out) << std::hex << c.in;
    }
}

TEST(ImageCommands, NegativeTwiceRestoresAndLeavesTheFourthByte) {
    auto pic = MakeTestPhoto(37, 23);
    pic->ScanLine(5)[4 * 7 + 3] = 0x5A;
    Bitmap copy;
    copy.Assign(*pic);
    Negative(*pic);
    EXPECT_EQ(pic->Pixel(3, 4),
              RGB(255 - GetRValue(copy.Pixel(3, 4)), 255 - GetGValue(copy.Pixel(3, 4)),
                  255 - GetBValue(copy.Pixel(3, 4))));
    EXPECT_EQ(pic->ScanLine(5)[4 * 7 + 3], 0x5A);
    Negative(*pic);
    for (int y = 0; y < copy.Height(); ++y)
        ASSERT_EQ(std::memcmp(pic->ScanLine(y), copy.ScanLine(y), copy.Stride()), 0) << y;
}

TEST(ImageCommands, GrayScaleLeavesTheFourthByte) {
    Bitmap b(2, 1, PixelFormat::Bgrx32);
    b.SetPixel(0, 0, RGB(30, 60, 90));
    b.ScanLine(0)[3] = 0x77;
    GrayScale(b);
    EXPECT_EQ(b.ScanLine(0)[3], 0x77);
    EXPECT_EQ(b.Pixel(0, 0), RGB(60, 60, 60));
}

TEST(ImageCommands, DocumentFormKeepsFullSizeAndRedrawsAtZoom) {
    auto doc = OpenDocument(*PlainPicture(10, 6, RGB(255, 0, 0)), 3);
    doc->GrayScale();
    EXPECT_EQ(doc->Photo().Width(), 10); // full size kept
    EXPECT_EQ(doc->ShownPhotoWidth(), 5);
    EXPECT_EQ(doc->ShownPhotoHeight(), 3);
    EXPECT_EQ(doc->Preview().Pixel(2, 1), RGB(85, 85, 85));
    EXPECT_EQ(doc->Photo().Pixel(9, 5), RGB(85, 85, 85));
    doc->Negative();
    EXPECT_EQ(doc->Photo().Pixel(0, 0), RGB(170, 170, 170));
    EXPECT_EQ(doc->Preview().Pixel(0, 0), RGB(170, 170, 170));
}
