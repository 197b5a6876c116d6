#include "frames/BubbleFrame.h"
#include "canvas/Canvas.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(BubbleFrame, ChainsOnA100By60OutputWithBubbles20By20) {
    const auto rects = BubbleRects(100, 60, 20, 20);
    ASSERT_EQ(rects.size(), 6u + 6u + 4u + 4u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rects[std::size_t(i)], Rect(-20 + 20 * i, -10, 20 * i, 10)) << "top " << i;
        EXPECT_EQ(rects[std::size_t(6 + i)], Rect(-20 + 20 * i, 70, 20 * i, 50)) << "bottom " << i;
    }
    for (int i = 0; i < 4; ++i) {
        const int y = -10 + 20 * i;
        EXPECT_EQ(rects[std::size_t(12 + i)], Rect(-10, y - 10, 10, y + 10)) << "left " << i;
        EXPECT_EQ(rects[std::size_t(16 + i)], Rect(110, y - 10, 90, y + 10)) << "right " << i;
    }
}

TEST(BubbleFrame, WidthAMultipleOfBubbleWidthEndsExactlyAtTheEdge) {
    const auto rects = BubbleRects(100, 60, 25, 20);
    EXPECT_EQ(rects[4].Right, 100);
    EXPECT_EQ(rects[5].Left, -25);
}

TEST(BubbleFrame, ZeroSizesDrawAsOnePixelBubbles) {
    const auto rects = BubbleRects(3, 2, 0, 0);
    // a = b = 1: top and bottom chains of 4, side chains of 2; halves are 0.
    ASSERT_EQ(rects.size(), 4u + 4u + 2u + 2u);
    EXPECT_EQ(rects[0], Rect(-1, 0, 0, 0));
    EXPECT_EQ(rects[8], Rect(0, 0, 0, 0));
    EXPECT_EQ(rects[11], Rect(3, 1, 3, 1));
}

TEST(BubbleFrame, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    FrameArgs a;
    a.frameWidth = 24;
    a.frameHeight = 18;
    a.frameColor = RGB(250, 230, 120);
    a.borderColor = RGB(120, 40, 0);
    a.borderWidth = 2;
    auto frame = MakeFrame<BubbleFrame>(*photo, a);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-bubble"));
}

TEST(BubbleFrame, PatternNeedsAnOutlineToFill) {
    auto photo = MakeTestPhoto(60, 40);
    auto pattern = StripePattern();
    for (int bw : {0, 1}) {
        FrameArgs a;
        a.frameWidth = a.frameHeight = 20;
        a.frameColor = kRed;
        a.borderWidth = bw;
        auto frame = MakeFrame<BubbleFrame>(*photo, a);
        frame->PatternPicture->Assign(*pattern);
        frame->PatternName = "stripes";
        frame->DrawPictureCentred();
        frame->Paint();
        // (30, 2) lies inside the top chain's bubble centred at x = 30.
        const Color expected = bw == 0 ? kRed : pattern->Pixel(30 % 6, 2 % 6);
        EXPECT_EQ(frame->Output->Pixel(30, 2), expected) << "bw " << bw;
    }
}
