#include "frames/OvalDiamondFrames.h"
#include "canvas/Canvas.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(OvalFrame, ThickRingsStartFiveBeyondTheBorder) {
    EXPECT_EQ(OvalRingSteps(60, 0), (std::vector<int>{5, 13}));
    EXPECT_EQ(OvalRingSteps(100, 3), (std::vector<int>{8, 16, 24, 32}));
    EXPECT_TRUE(OvalRingSteps(24, 3).empty());
}

TEST(OvalFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = 6;
    a.frameHeight = 4;
    a.frameColor = RGB(240, 240, 220);
    a.borderColor = RGB(90, 20, 20);
    a.borderWidth = 3;
    auto frame = MakeFrame<OvalFrame>(*photo, a);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-oval"));
}

TEST(OvalFrame, PatternFillsTheCornersWhenThereIsABorder) {
    auto photo = MakeTestPhoto(120, 90);
    auto pattern = StripePattern();
    FrameArgs a;
    a.frameWidth = a.frameHeight = 4;
    a.borderWidth = 2;
    a.borderColor = kBlack;
    auto frame = MakeFrame<OvalFrame>(*photo, a);
    frame->PatternPicture->Assign(*pattern);
    frame->PatternName = "stripes";
    frame->DrawPictureCentred();
    frame->Paint();
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-oval-pattern"));
    for (const Point p : {Point{0, 0}, Point{119, 0}, Point{119, 89}, Point{0, 89}})
        EXPECT_EQ(frame->Output->Pixel(p.x, p.y), pattern->Pixel(p.x % 6, p.y % 6));
    // The middle of the opening keeps the photo.
    EXPECT_EQ(frame->Output->Pixel(60, 45), photo->Pixel(60, 45));
}

TEST(OvalFrame, NoBorderMeansNoPatternEvenWhenOneIsChosen) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 4;
    a.borderWidth = 0;
    a.frameColor = kRed;
    auto frame = MakeFrame<OvalFrame>(*photo, a);
    frame->PatternPicture->Assign(*StripePattern());
    frame->PatternName = "stripes";
    frame->DrawPictureCentred();
    frame->Paint();
    EXPECT_EQ(frame->Output->Pixel(0, 0), kRed);
}

TEST(DiamondFrame, CountOfDiamondsIsTheHalfDiagonal) {
    struct {
        int w, h, n;
    } cases[] = {{200, 100, 111}, {2, 2, 1}, {1, 1, 0}, {0, 0, 0}, {4000, 3000, 2500}};
    for (const auto& c : cases) EXPECT_EQ(DiamondCount(c.w, c.h), c.n) << c.w << "x" << c.h;
}

TEST(DiamondFrame, OutlineTouchesTheMiddlesOfTheInsetSides) {
    const auto d0 = DiamondOutline(200, 100, 10, 5, 0);
    const std::array<Point, 5> e0 = {{{100, 5}, {190, 50}, {100, 95}, {10, 50}, {100, 5}}};
    EXPECT_EQ(d0, e0);
    const auto d3 = DiamondOutline(200, 100, 10, 5, 3);
    const std::array<Point, 5> e3 = {{{100, 2}, {193, 50}, {100, 98}, {7, 50}, {100, 2}}};
    EXPECT_EQ(d3, e3);
}

TEST(DiamondFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = a.frameHeight = 1;
    a.expand = true;
    a.borderWidth = 2;
    a.frameColor = RGB(230, 240, 250);
    a.borderColor = RGB(0, 0, 128);
    auto frame = MakeFrame<DiamondFrame>(*photo, a);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-diamond"));
}

TEST(DiamondFrame, PatternNeedsABorderOfAtLeastTwo) {
    auto photo = MakeTestPhoto(80, 60);
    auto pattern = StripePattern();
    for (int bw : {1, 2}) {
        FrameArgs a;
        a.frameWidth = a.frameHeight = 1;
        a.expand = true;
        a.borderWidth = bw;
        a.frameColor = kRed;
        auto frame = MakeFrame<DiamondFrame>(*photo, a);
        frame->PatternPicture->Assign(*pattern);
        frame->PatternName = "stripes";
        frame->DrawPictureCentred();
        frame->Paint();
        const Color expected = bw == 1 ? kRed : pattern->Pixel(0, 0);
        EXPECT_EQ(frame->Output->Pixel(0, 0), expected) << "bw " << bw;
    }
}
