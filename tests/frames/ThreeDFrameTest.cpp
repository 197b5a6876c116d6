#include "frames/ButtonFrame.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {
std::unique_ptr<Bitmap> Uniform(int w, int h, Color c) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, c);
    return b;
}
} // namespace

struct BevelByteCase {
    const char* band;
    int x, y;
    Color expected;
};

// A pixel with blue 200, green 100, red 50 in each band of a 20 x 20 picture
// with depth 3.
TEST(ThreeDBevel, EachBandChangesEveryColourByteBySameRule) {
    const BevelByteCase cases[] = {
        {"top", 10, 0, RGB(110, 160, 255)},    {"left", 0, 10, RGB(125, 175, 255)},
        {"bottom", 10, 19, RGB(0, 30, 130)},   {"right", 19, 10, RGB(0, 20, 120)},
        {"inside", 10, 10, RGB(50, 100, 200)},
    };
    auto b = Uniform(20, 20, RGB(50, 100, 200));
    ApplyBevel(*b, 3, 3);
    for (const auto& c : cases) EXPECT_EQ(b->Pixel(c.x, c.y), c.expected) << c.band;
}

TEST(ThreeDBevel, LighteningSaturatesAtTheThresholdAndFourthByteIsKept) {
    // Blue 195, green 196, red 194 in the top band: 255, 255, 254.
    auto b = Uniform(10, 10, RGB(194, 196, 195));
    b->ScanLine(0)[4 * 5 + 3] = 77;
    ApplyBevel(*b, 2, 2);
    EXPECT_EQ(b->Pixel(5, 0), RGB(254, 255, 255));
    EXPECT_EQ(b->ScanLine(0)[4 * 5 + 3], 77);
}

TEST(ThreeDBevel, CornersAreMitredWithDiagonalsAsStated) {
    auto b = Uniform(9, 7, RGB(100, 100, 100));
    ApplyBevel(*b, 3, 3);
    const std::map<char, Color> legend = {{'T', RGB(160, 160, 160)},
                                          {'L', RGB(175, 175, 175)},
                                          {'B', RGB(30, 30, 30)},
                                          {'R', RGB(20, 20, 20)},
                                          {'.', RGB(100, 100, 100)}};
    // Top-left diagonal belongs to the top band; the other three diagonals
    // are left alone.
    EXPECT_PIXELS(*b, legend,
                  ({"TTTTTTTTT", "LTTTTTTT.", "LLTTTTT.R", "LLL....RR", "LLL.BB.RR", "LL.BBBB.R",
                    "L.BBBBBB."}));
}

TEST(ThreeDBevel, DepthZeroChangesNothing) {
    std::mt19937 rng(7);
    auto b = RandomPicture(13, 11, rng);
    Bitmap before;
    before.Assign(*b);
    ApplyBevel(*b, 0, 0);
    EXPECT_TRUE(SameBytes(*b, before));
}

// Random sizes and depths, depths larger than the picture included (the
// bands overlap and are clipped): the row-span version must match the
// per-pixel one byte for byte.
TEST(ThreeDBevel, RowSpansMatchPerPixelConditions) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        const int w = std::uniform_int_distribution<int>(1, 40)(rng);
        const int h = std::uniform_int_distribution<int>(1, 40)(rng);
        const int fw = std::uniform_int_distribution<int>(0, 50)(rng);
        const int fh = std::uniform_int_distribution<int>(0, 50)(rng);
        auto fast = RandomPicture(w, h, rng);
        Bitmap plain;
        plain.Assign(*fast);
        ApplyBevel(*fast, fw, fh);
        ApplyBevelReference(plain, fw, fh);
        ASSERT_TRUE(SameBytes(*fast, plain))
            << "seed " << seed << ": " << w << "x" << h << " depth " << fw << "," << fh;
    }
}

TEST(ThreeDFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 12;
    auto frame = MakeFrame<ButtonFrame>(*photo, a);
    EXPECT_EQ(frame->OutputWidth, 120);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-3d"));
}
