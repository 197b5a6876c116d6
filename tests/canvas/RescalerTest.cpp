#include "canvas/Rescaler.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

TEST(Rescaler, EqualSizesCopyExactly) {
    std::mt19937 rng(11);
    auto src = RandomPicture(17, 9, rng);
    TBitmap dst(17, 9, pf32bit);
    EXPECT_TRUE(TRescaler().Rescale(*src, dst, false));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x) ASSERT_EQ(dst.Pixel(x, y), src->Pixel(x, y));
}

TEST(Rescaler, DoublingRepeatsEveryPixel) {
    const std::map<char, TColor> legend = {{'A', clRed}, {'B', clBlue}};
    auto src = BitmapFromArt({"AB"}, legend);
    TBitmap dst(4, 2, pf32bit);
    TRescaler().Rescale(*src, dst, false);
    EXPECT_PIXELS(dst, legend, ({"AABB", "AABB"}));
}

TEST(Rescaler, ShrinkingKeepsOnlySourceColours) {
    std::mt19937 rng(5);
    for (auto [w, h, dw, dh] : {std::array{40, 30, 20, 15}, std::array{33, 7, 5, 3},
                                std::array{9, 9, 1, 1}, std::array{10, 4, 3, 4}}) {
        auto src = RandomPicture(w, h, rng);
        std::set<TColor> colours;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) colours.insert(src->Pixel(x, y));
        TBitmap dst(dw, dh, pf32bit);
        TRescaler().DoRescale(*src, dst);
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
    TBitmap src(12, 10, pf32bit);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) src.SetPixel(x, y, RGB(x * 10, y * 10, 0));
    TBitmap dst(5, 4, pf32bit);
    TRescaler().Rescale(src, dst, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(GetRValue(dst.Pixel(x, y)), GetRValue(dst.Pixel(x, 0)));
            EXPECT_EQ(GetGValue(dst.Pixel(x, y)), GetGValue(dst.Pixel(0, y)));
        }
}

TEST(Rescaler, EmptySourceLeavesDestinationAlone) {
    TBitmap src;
    TBitmap dst(3, 2, pf32bit);
    dst.SetPixel(1, 1, clRed);
    EXPECT_TRUE(TRescaler().Rescale(src, dst, false));
    EXPECT_EQ(dst.Pixel(1, 1), clRed);
}
