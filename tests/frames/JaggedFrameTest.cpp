#include "frames/JaggedFrame.h"
#include "canvas/Canvas.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(JaggedRandom, SequenceForAGivenSeed) {
    JaggedRandom r;
    r.Seed(12345);
    const int expected[] = {24996, 10921, 23577, 19316, 10386, 21959, 16484, 32360};
    for (int v : expected) EXPECT_EQ(r.Next(), v);
    r.Seed(0);
    EXPECT_EQ(r.Next(), 346);
    EXPECT_EQ(r.Next(), 130);
}

namespace {
void ExpectClosedEdges(const std::vector<std::vector<Point>>& p, int W, int H, int fw, int fh) {
    ASSERT_EQ(p.size(), 4u);
    const Point starts[] = {{0, 0}, {0, H}, {0, 0}, {W, 0}};
    const Point closes[4][2] = {
        {{W, 0}, {0, 0}}, {{W, H}, {0, H}}, {{0, H}, {0, 0}}, {{W, H}, {W, 0}}};
    for (int e = 0; e < 4; ++e) {
        const auto& poly = p[std::size_t(e)];
        ASSERT_GE(poly.size(), 4u) << "edge " << e;
        EXPECT_EQ(poly.front(), starts[e]) << "edge " << e;
        EXPECT_EQ(poly[poly.size() - 2], closes[e][0]) << "edge " << e;
        EXPECT_EQ(poly.back(), closes[e][1]) << "edge " << e;
        const bool horizontal = e < 2;
        int along = 0;
        for (std::size_t i = 1; i + 2 < poly.size(); ++i) {
            const Point q = poly[i];
            const int a = horizontal ? q.x : q.y;
            const int depth = e == 0 ? q.y : e == 1 ? H - q.y : e == 2 ? q.x : W - q.x;
            const int stepLimit = horizontal ? fw : fh;
            const int depthLimit = horizontal ? fh : fw;
            ASSERT_GE(a - along, 0);
            ASSERT_LT(a - along, stepLimit);
            ASSERT_GE(depth, 0);
            ASSERT_LT(depth, depthLimit);
            // Every point but the last lies before the far corner.
            if (i + 3 < poly.size()) {
                ASSERT_LT(a, horizontal ? W : H);
            }
            along = a;
        }
        EXPECT_GE(along, horizontal ? W : H) << "edge " << e << " stops short";
    }
}
} // namespace

TEST(JaggedEdges, PolygonsRunFromCornerToCornerAndClose) {
    JaggedRandom r;
    r.Seed(99);
    const auto p = JaggedEdgePolygons(120, 90, 8, 6, r);
    ExpectClosedEdges(p, 120, 90, 8, 6);
}

TEST(JaggedEdges, FirstPointsFollowTheDrawOrderAcrossThenDown) {
    JaggedRandom r;
    r.Seed(12345);
    const auto p = JaggedEdgePolygons(100, 100, 10, 7, r);
    // Draws 24996, 10921, 23577, 19316: a = 24996 % 10 = 6, b = 10921 % 7 = 1,
    // then a = 7, b = 19316 % 7 = 3.
    EXPECT_EQ(p[0][1], (Point{6, 1}));
    EXPECT_EQ(p[0][2], (Point{13, 3}));
}

// With the smallest steps a large photo needs far more points than a fixed
// list of 1000 could hold; every polygon must still reach its far corner.
TEST(JaggedEdges, SmallStepsOnALargePhotoStillGiveCompletePolygons) {
    JaggedRandom r;
    r.Seed(4);
    const auto p = JaggedEdgePolygons(4000, 3000, 2, 2, r);
    EXPECT_GT(p[0].size(), 1000u);
    ExpectClosedEdges(p, 4000, 3000, 2, 2);
}

TEST(JaggedFrame, SameSeedGivesSameEdges) {
    auto photo = MakeTestPhoto(80, 60);
    FrameArgs a;
    a.seed = 777;
    a.frameWidth = 8;
    a.frameHeight = 6;
    auto frame = MakeFrame<JaggedFrame>(*photo, a);
    Bitmap first;
    first.Assign(*frame->Output);
    frame->DrawPictureCentred();
    frame->Paint();
    EXPECT_TRUE(SameBytes(*frame->Output, first));
}

TEST(JaggedFrame, ThicknessBelowTwoIsRaisedAndKept) {
    auto photo = MakeTestPhoto(40, 30);
    FrameArgs a;
    a.seed = 1;
    a.frameWidth = 1;
    a.frameHeight = 0;
    auto frame = MakeFrame<JaggedFrame>(*photo, a);
    EXPECT_EQ(frame->FrameWidth, 2);
    EXPECT_EQ(frame->FrameHeight, 2);
}

TEST(JaggedFrame, ZeroThicknessDrawsNothing) {
    auto photo = MakeTestPhoto(40, 30);
    FrameArgs a;
    a.borderWidth = 0;
    a.frameWidth = 1;
    auto frame = MakeFrame<JaggedFrame>(*photo, a);
    EXPECT_EQ(frame->FrameWidth, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(frame->Output->Pixel(x, y), photo->Pixel(x, y));
}

TEST(JaggedFrame, OuterEdgeLinesTakeTheFrameColourOnlyWithoutPattern) {
    auto photo = MakeTestPhoto(60, 40);
    FrameArgs a;
    a.seed = 5;
    a.frameWidth = a.frameHeight = 6;
    a.frameColor = kRed;
    a.borderColor = kBlue;
    a.borderWidth = 1;
    auto plain = MakeFrame<JaggedFrame>(*photo, a);
    for (int x = 0; x < 60; ++x) ASSERT_EQ(plain->Output->Pixel(x, 0), kRed) << x;
    for (int y = 0; y < 40; ++y) ASSERT_EQ(plain->Output->Pixel(0, y), kRed) << y;

    auto patterned = MakeFrame<JaggedFrame>(*photo, a);
    patterned->PatternPicture->Assign(*StripePattern());
    patterned->PatternName = "stripes";
    patterned->DrawPictureCentred();
    patterned->Paint();
    EXPECT_EQ(patterned->Output->Pixel(0, 20), kBlue);
    EXPECT_EQ(patterned->Output->Pixel(30, 0), kBlue);
}

TEST(JaggedFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.seed = 20261208;
    a.frameWidth = 8;
    a.frameHeight = 6;
    a.frameColor = RGB(250, 250, 240);
    a.borderColor = RGB(80, 60, 40);
    a.borderWidth = 1;
    auto frame = MakeFrame<JaggedFrame>(*photo, a);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-jagged"));
}
