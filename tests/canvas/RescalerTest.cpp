#include "canvas/Rescaler.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;

TEST(Rescaler, EqualSizesCopyExactly) {
    std::mt19937 rng(11);
    auto src = RandomPicture(17, 9, rng);
    Bitmap dst(17, 9, PixelFormat::Bgrx32);
    EXPECT_TRUE(Rescaler().Rescale(*src, dst, false));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x) ASSERT_EQ(dst.Pixel(x, y), src->Pixel(x, y));
}

TEST(Rescaler, DoublingRepeatsEveryPixel) {
    const std::map<char, Color> legend = {{'A', kRed}, {'B', kBlue}};
    auto src = BitmapFromArt({"AB"}, legend);
    Bitmap dst(4, 2, PixelFormat::Bgrx32);
    Rescaler().Rescale(*src, dst, false);
    EXPECT_PIXELS(dst, legend, ({"AABB", "AABB"}));
}

TEST(Rescaler, ShrinkingKeepsOnlySourceColours) {
    std::mt19937 rng(5);
    for (auto [w, h, dw, dh] : {std::array{40, 30, 20, 15}, std::array{33, 7, 5, 3},
                                std::array{9, 9, 1, 1}, std::array{10, 4, 3, 4}}) {
        auto src = RandomPicture(w, h, rng);
        std::set<Color> colours;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) colours.insert(src->Pixel(x, y));
        Bitmap dst(dw, dh, PixelFormat::Bgrx32);
        Rescaler().DoRescale(*src, dst);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                ASSERT_TRUE(colours.count(dst.Pixel(x, y)))
                    << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(Rescaler, ShrinkingDropsWholeRowsAndColumns) {
    // Each row and column of the source has its own colour component, so a
    // destination pixel names the row and column it came from; a pure
    // row/column drop keeps them consistent along destination rows and columns.
    Bitmap src(12, 10, PixelFormat::Bgrx32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) src.SetPixel(x, y, RGB(x * 10, y * 10, 0));
    Bitmap dst(5, 4, PixelFormat::Bgrx32);
    Rescaler().Rescale(src, dst, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(GetRValue(dst.Pixel(x, y)), GetRValue(dst.Pixel(x, 0)));
            EXPECT_EQ(GetGValue(dst.Pixel(x, y)), GetGValue(dst.Pixel(0, y)));
        }
}

TEST(Rescaler, EmptySourceLeavesDestinationAlone) {
    Bitmap src;
    Bitmap dst(3, 2, PixelFormat::Bgrx32);
    dst.SetPixel(1, 1, kRed);
    EXPECT_TRUE(Rescaler().Rescale(src, dst, false));
    EXPECT_EQ(dst.Pixel(1, 1), kRed);
}
