#include "frames/GrayscaleFrame.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillon;

struct GreyCase {
    int blue, green, red, grey;
};

TEST(GrayscaleFrame, GreyIsTheTruncatedMeanOfTheThreeBytes) {
    const GreyCase cases[] = {
        {10, 20, 31, 20}, {255, 255, 254, 254}, {255, 255, 255, 255}, {0, 0, 2, 0}, {1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        Bitmap b(1, 1, PixelFormat::Bgrx32);
        b.SetPixel(0, 0, RGB(c.red, c.green, c.blue));
        b.ScanLine(0)[3] = 9;
        GreyInnerArea(b, 0, 0);
        EXPECT_EQ(b.Pixel(0, 0), RGB(c.grey, c.grey, c.grey))
            << c.blue << "," << c.green << "," << c.red;
        EXPECT_EQ(b.ScanLine(0)[3], 9);
    }
}

TEST(GrayscaleFrame, EverySumOfTheThreeBytesDividesExactly) {
    // One pixel per possible sum 0..765, so the division trick of the row
    // loop is checked against plain integer division for every input.
    Bitmap b(766, 1, PixelFormat::Bgrx32);
    for (int s = 0; s < 766; ++s) {
        const int blue = std::min(s, 255), green = std::min(s - blue, 255);
        b.SetPixel(s, 0, RGB(s - blue - green, green, blue));
    }
    GreyInnerArea(b, 0, 0);
    for (int s = 0; s < 766; ++s) ASSERT_EQ(b.Pixel(s, 0), RGB(s / 3, s / 3, s / 3)) << s;
}

TEST(GrayscaleFrame, ColourBandsStayAroundTheGreyedArea) {
    const std::map<char, Color> legend = {{'C', RGB(90, 30, 0)}, {'g', RGB(40, 40, 40)}};
    auto b = BitmapFromArt({"CCCCCC", "CCCCCC", "CCCCCC", "CCCCCC", "CCCCCC"}, legend);
    GreyInnerArea(*b, 1, 2);
    EXPECT_PIXELS(*b, legend, ({"CCCCCC", "CCCCCC", "CggggC", "CCCCCC", "CCCCCC"}));
}

TEST(GrayscaleFrame, BandsCoveringThePictureGreyNothing) {
    struct {
        int fw, fh;
    } cases[] = {{3, 0}, {4, 0}, {0, 2}, {0, 9}, {100, 100}};
    for (const auto& c : cases) {
        std::mt19937 rng(3);
        auto b = RandomPicture(6, 4, rng);
        Bitmap before;
        before.Assign(*b);
        GreyInnerArea(*b, c.fw, c.fh);
        EXPECT_TRUE(SameBytes(*b, before)) << c.fw << "," << c.fh;
    }
}

TEST(GrayscaleFrame, RowLoopMatchesPerPixelVersion) {
    for (unsigned seed = 1; seed <= 100; ++seed) {
        std::mt19937 rng(seed);
        const int w = std::uniform_int_distribution<int>(1, 30)(rng);
        const int h = std::uniform_int_distribution<int>(1, 30)(rng);
        const int fw = std::uniform_int_distribution<int>(0, 20)(rng);
        const int fh = std::uniform_int_distribution<int>(0, 20)(rng);
        auto fast = RandomPicture(w, h, rng);
        Bitmap plain;
        plain.Assign(*fast);
        GreyInnerArea(*fast, fw, fh);
        GreyInnerAreaReference(plain, fw, fh);
        ASSERT_TRUE(SameBytes(*fast, plain)) << "seed " << seed;
    }
}

TEST(GrayscaleFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = 15;
    a.frameHeight = 10;
    auto frame = MakeFrame<GrayscaleFrame>(*photo, a);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-grayscale"));
}
