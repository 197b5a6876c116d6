#include "frames/BoxFrame.h"
#include "canvas/Canvas.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {
constexpr Color kMark = RGB(1, 2, 3);

std::unique_ptr<Bitmap> Marked(int w, int h) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, kMark);
    return b;
}

int Grey(const Bitmap& b, int x, int y) {
    return GetRValue(b.Pixel(x, y));
}
} // namespace

TEST(BoxGradient, DepthTenSideFaceGreysOnStraightRows) {
    auto b = Marked(40, 40);
    PaintBoxGradient(*b, 10, 10);
    for (int y : {10, 15, 24}) {
        const int expected[] = {0, 51, 102, 153, 204};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(Grey(*b, 30 + i, y), expected[i]) << "row " << y;
        EXPECT_EQ(b->Pixel(35, y), kMark) << "row " << y;
    }
}

TEST(BoxGradient, DepthTenTopRowIsBlackOverThePhotoAndTopFaceLightensUpward) {
    auto b = Marked(40, 40);
    PaintBoxGradient(*b, 10, 10);
    for (int x = 10; x <= 30; ++x) EXPECT_EQ(b->Pixel(x, 10), kBlack) << x;
    EXPECT_EQ(b->Pixel(9, 10), kMark);
    // Row 9 is one step lighter and shifted one pixel right; the top face's
    // grey covers the first pixel of the side face's slanted row.
    EXPECT_EQ(b->Pixel(10, 9), kMark);
    for (int x = 11; x <= 31; ++x) EXPECT_EQ(Grey(*b, x, 9), 51) << x;
    EXPECT_EQ(Grey(*b, 32, 9), 102);
    EXPECT_EQ(Grey(*b, 34, 9), 204);
    EXPECT_EQ(b->Pixel(35, 9), kMark);
    // The highest face row is hh + 1 = 6, with grey 4 x 51.
    EXPECT_EQ(Grey(*b, 20, 6), 204);
    EXPECT_EQ(b->Pixel(20, 5), kMark);
}

TEST(BoxGradient, DepthTenLowerSlantRowsShrinkByOnePixel) {
    auto b = Marked(40, 40);
    PaintBoxGradient(*b, 10, 10);
    // Rows 25..29 start at x = 30 and end one pixel earlier each row.
    for (int s = 0; s < 5; ++s) {
        const int y = 25 + s;
        EXPECT_EQ(Grey(*b, 30, y), 0);
        EXPECT_EQ(Grey(*b, 34 - s, y), (4 - s) * 51) << "row " << y;
        EXPECT_EQ(b->Pixel(35 - s, y), kMark) << "row " << y;
    }
    EXPECT_EQ(b->Pixel(30, 30), kMark);
}

TEST(BoxGradient, DepthOneGivesBlackSideColumnAndTopRow) {
    auto b = Marked(10, 8);
    PaintBoxGradient(*b, 1, 1);
    const std::map<char, Color> legend = {{'.', kMark}, {'#', kBlack}};
    EXPECT_PIXELS(*b, legend,
                  ({"..........", ".#########", ".........#", ".........#", ".........#",
                    ".........#", ".........#", ".........."}));
}

TEST(BoxGradient, DepthZeroWritesNothing) {
    auto b = Marked(20, 20);
    PaintBoxGradient(*b, 0, 0);
    PaintBoxGradient(*b, 5, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(b->Pixel(x, y), kMark);
}

// On the side face, the grey of a pixel is its distance from the photo's
// right edge times the step, wherever the top face does not cover it.
TEST(BoxGradient, SideFaceGreyGrowsByOneStepPerPixel) {
    for (int d : {2, 6, 10, 30, 34}) {
        const int W = 3 * d + 20, H = 2 * d + 30, step = 510 / d;
        auto b = Marked(W, H);
        PaintBoxGradient(*b, d, d);
        for (int y = d / 2 + 1; y < H - d; ++y)
            for (int x = W - d + 1; x < W - d / 2; ++x) {
                if (b->Pixel(x, y) == kMark) continue;
                const bool topFace = y < d && x <= W - d + (d - y);
                if (topFace) continue;
                ASSERT_EQ(Grey(*b, x, y), (x - (W - d)) * step)
                    << "d " << d << " at " << x << "," << y;
            }
    }
}

TEST(BoxGradient, DepthWiderThanOutputStaysInside) {
    auto b = Marked(6, 5);
    PaintBoxGradient(*b, 30, 3);
    PaintBoxGradient(*b, 3, 30);
    SUCCEED();
}

TEST(BoxFrame, GradientFramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 16;
    a.expand = true;
    auto frame = MakeFrame<BoxFrame>(*photo, a);
    EXPECT_EQ(frame->OutputWidth, 152);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-box-gradient"));
}

TEST(BoxFrame, FlatFacesMatchGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 16;
    a.expand = true;
    a.frameColor = RGB(200, 170, 90);
    a.borderColor = RGB(60, 0, 0);
    a.borderWidth = 2;
    auto frame = MakeFrame<BoxFrame>(*photo, a);
    frame->StretchPicture = false;
    frame->DrawPictureCentred();
    frame->Paint();
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-box-flat"));
}

TEST(BoxFrame, FlatFacesWithBorderOneHaveBackEdgeOnRowHalfDepth) {
    auto photo = MakeTestPhoto(60, 40);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 10;
    a.expand = true;
    a.frameColor = kRed;
    a.borderColor = kBlue;
    a.borderWidth = 1;
    auto frame = MakeFrame<BoxFrame>(*photo, a);
    frame->StretchPicture = false;
    frame->Paint();
    const Bitmap& o = *frame->Output;
    const int W = frame->OutputWidth;
    // hb = 0, hw = hh = 5: the back edge runs along row 5 from x = 15 to W - 5.
    EXPECT_EQ(o.Pixel(15, 5), kBlue);
    EXPECT_EQ(o.Pixel(W / 2, 5), kBlue);
    EXPECT_EQ(o.Pixel(W / 2, 4), kWhite);
    EXPECT_EQ(o.Pixel(W / 2, 7), kRed);
}

TEST(BoxFrame, PatternFillsFacesOnlyWithAnOutline) {
    auto photo = MakeTestPhoto(60, 40);
    auto pattern = StripePattern();
    for (int bw : {0, 2}) {
        FrameArgs a;
        a.frameWidth = a.frameHeight = 16;
        a.expand = true;
        a.frameColor = kRed;
        a.borderWidth = bw;
        auto frame = MakeFrame<BoxFrame>(*photo, a);
        frame->PatternPicture->Assign(*pattern);
        frame->PatternName = "stripes";
        frame->StretchPicture = false;
        frame->DrawPictureCentred();
        frame->Paint();
        // A pixel well inside the top face.
        const int x = frame->OutputWidth / 2, y = 13;
        const Color expected = bw == 0 ? kRed : pattern->Pixel(x % 6, y % 6);
        EXPECT_EQ(frame->Output->Pixel(x, y), expected) << "bw " << bw;
    }
}

TEST(BoxFrame, ABurstOfDepthEditsEndsInTheDirectlyPaintedBox) {
    // The output's buffer is reused from one depth to the next; after a
    // burst of edits the box must be byte for byte the one painted at once.
    auto photo = MakeTestPhoto(60, 40);
    for (bool gradient : {true, false}) {
        BoxFrame direct(*photo, MakeFrameSettings(12, 12, kGray, kBlack, true, 2, kWhite));
        BoxFrame edited(*photo, MakeFrameSettings(8, 8, kGray, kBlack, true, 2, kWhite));
        for (BoxFrame* f : {&direct, &edited}) {
            f->ChangeStretch(gradient);
            f->DrawPictureCentred();
            f->Paint();
        }
        for (int depth : {20, 5, 30, 12}) {
            edited.ChangeFrameHeight(depth);
            edited.DrawPictureCentred();
            edited.Paint();
        }
        EXPECT_TRUE(SameBytes(*edited.Output, *direct.Output)) << "gradient " << gradient;
    }
}
